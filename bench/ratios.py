#!/usr/bin/env python3
"""Turns tunelore-bench's JSON output into the tables of docs/benchmarks.md: the median CPU
time of each benchmark and the ratios and differences that the goals are stated in.

    ratios.py RESULTS.json
"""
import json
import sys

# (what, a, "-" or "/", b, goal): a - b in ns or a / b, and at most how much it should be.
MEASURES = [
    ("hook, sent", "hook/send/hooked", "-", "hook/send/player", 5),
    ("hook, called", "hook/call/hook", "-", "hook/call/player", 5),
    ("playlist hook, sent", "hook/send/playlist-hooked", "-", "hook/send/playlist-player", 5),
    ("the model's SendMessageW", "hook/send/player", "-", "hook/call/player", None),
    ("hook, ANSI windows, sent", "hook/send/ansi-hooked", "-", "hook/send/ansi-player", 5),
    ("hook, ANSI windows, called", "hook/call/ansi-hook", "-", "hook/call/ansi-player", 5),
] + [(f"new track, {size}", f"update/new/{size}", "/", f"bare/{size}", 1.15)
     for size in ("small", "5MB", "100MB", "picture3MB")] + [
    ("audio size", "update/new/100MB", "/", "update/new/5MB", 1.2),
    ("audio size, id3lib alone", "bare/100MB", "/", "bare/5MB", None),
    ("repeat", "update/repeat/small", "/", "bare/small", None),
    ("repeat", "update/repeat/small", "/", "update/new/small", None),
    ("repeat, audio size", "update/repeat/100MB", "/", "update/repeat/small", None),
    ("gathering", "update/gather/small", "/", "bare/small", None),
    ("cover picture, id3lib alone", "bare/picture3MB", "/", "bare/small", None),
    ("cover picture", "update/new/picture3MB", "/", "update/new/small", None),
    ("the player's reading", "update/new/player-info", "/", "update/new/small", None),
    ("one track change", "change/next/small", "/", "update/new/small", None),
    ("one track change", "change/next/picture3MB", "/", "update/new/picture3MB", None),
]

def medians(results):
    """Per benchmark, in the order registered: the median CPU ns (a run's own without
    repetitions), its spread and its median of the updates counter (a track change's)."""
    times, spread, updates = {}, {}, {}
    for run in sorted(results["benchmarks"], key=lambda run: run["family_index"]):
        if run.get("error_occurred"):
            sys.exit(f"ratios.py: {run['run_name']} failed: {run.get('error_message')}")
        name = run["run_name"].split("/iterations:")[0]
        kind = run.get("aggregate_name") if run["run_type"] == "aggregate" else "run"
        if kind == "cv":
            spread[name] = run["cpu_time"]
        elif kind == "median" or (kind == "run" and name not in times):
            scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[run["time_unit"]]
            times[name] = run["cpu_time"] * scale
            if "updates" in run:
                updates[name] = run["updates"]
    return times, spread, updates


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1]) as file:
        times, spread, updates = medians(json.load(file))

    print("| benchmark | median CPU ns/op | spread (CV) |")
    print("|---|---:|---:|")
    for name, value in times.items():
        cv = f"{spread[name] * 100:.1f} %" if name in spread else ""
        print(f"| `{name}` | {value:,.{1 if value < 1000 else 0}f} | {cv} |")

    print("\n| measure | value | goal | |")
    print("|---|---:|---:|---|")
    for what, a, op, b, goal in MEASURES:
        if a in times and b in times:
            value = times[a] - times[b] if op == "-" else times[a] / times[b]
            unit = " ns" if op == "-" else "x"
            shown = f"{value:+.1f}" if op == "-" else f"{value:.3f}"
            target = "" if goal is None else f"<= {goal}{unit}"
            met = "" if goal is None else "met" if value <= goal else "missed"
            print(f"| {what}: `{a}` {op} `{b}` | {shown}{unit} | {target} | {met} |")
    for name, count in updates.items():
        print(f"| updates per track change: `{name}` | {count:.2f} |  |  |")


if __name__ == "__main__":
    main()
