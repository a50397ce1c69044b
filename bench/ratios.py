#!/usr/bin/env python3
"""Turns tunelore-bench's JSON output into the tables of docs/benchmarks.md: the median CPU
time of each benchmark and the ratios and differences that the goals are stated in.

    ratios.py RESULTS.json
"""
import json
import re
import sys


def medians(results):
    """Median CPU ns per benchmark, its spread, and the median of its updates counter (the
    updates a track change ran); the plain run when there were no repetitions."""
    times, spread, plain, updates = {}, {}, {}, {}
    for run in results["benchmarks"]:
        if run.get("error_occurred"):
            sys.exit(f"ratios.py: {run['run_name']} failed: {run.get('error_message')}")
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[run.get("time_unit", "ns")]
        name = re.sub(r"/iterations:\d+$", "", run["run_name"])
        if run.get("run_type") == "aggregate":
            if run["aggregate_name"] == "median":
                times[name] = run["cpu_time"] * scale
                if "updates" in run:
                    updates[name] = run["updates"]
            elif run["aggregate_name"] == "cv":
                spread[name] = run["cpu_time"]
        else:
            plain.setdefault(name, run["cpu_time"] * scale)
            if "updates" in run:
                updates.setdefault(name, run["updates"])
    for name, value in plain.items():
        times.setdefault(name, value)
    return times, spread, updates


HOOKS = ("hook/send/player", "hook/send/hooked", "hook/call/player", "hook/call/hook",
         "hook/send/playlist-player", "hook/send/playlist-hooked", "hook/send/ansi-player",
         "hook/send/ansi-hooked", "hook/call/ansi-player", "hook/call/ansi-hook")
GROUPS = ("hook/", "update/new/", "update/repeat/", "update/gather/", "update/compose",
          "change/", "bare/", "bare-v1v2/", "bare-memory/", "bare-mapped/")
SIZES = ("small", "5MB", "100MB", "picture3MB", "player-info")


def order(name):
    """Registration order: by group, then by file size."""
    if name in HOOKS:
        return (0, HOOKS.index(name), "")
    group = next((i for i, prefix in enumerate(GROUPS) if name.startswith(prefix)), len(GROUPS))
    size = next((i for i, size in enumerate(SIZES) if name.endswith("/" + size)), 0)
    return (group, size, name)


def ns(value):
    return f"{value:,.1f}" if value < 1000 else f"{value:,.0f}"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1]) as file:
        times, spread, updates = medians(json.load(file))

    print("| benchmark | median CPU ns/op | spread (CV) |")
    print("|---|---:|---:|")
    for name, value in sorted(times.items(), key=lambda item: order(item[0])):
        cv = f"{spread[name] * 100:.1f} %" if name in spread else ""
        print(f"| `{name}` | {ns(value)} | {cv} |")
    print()

    rows = []

    def diff(label, a, b, goal=None):
        if a in times and b in times:
            value = times[a] - times[b]
            rows.append((label, f"{value:+.1f} ns", goal and f"<= {goal} ns",
                         goal and ("met" if value <= goal else "missed")))

    def ratio(label, a, b, goal=None):
        if a in times and b in times:
            value = times[a] / times[b]
            rows.append((label, f"{value:.3f}x", goal and f"<= {goal}x",
                         goal and ("met" if value <= goal else "missed")))

    diff("hook, sent: `hook/send/hooked` - `hook/send/player`", "hook/send/hooked",
         "hook/send/player", 5)
    diff("hook, called: `hook/call/hook` - `hook/call/player`", "hook/call/hook",
         "hook/call/player", 5)
    diff("playlist hook, sent: `hook/send/playlist-hooked` - `hook/send/playlist-player`",
         "hook/send/playlist-hooked", "hook/send/playlist-player", 5)
    diff("the model's SendMessageW: `hook/send/player` - `hook/call/player`",
         "hook/send/player", "hook/call/player")
    diff("hook, ANSI windows, sent: `hook/send/ansi-hooked` - `hook/send/ansi-player`",
         "hook/send/ansi-hooked", "hook/send/ansi-player", 5)
    diff("hook, ANSI windows, called: `hook/call/ansi-hook` - `hook/call/ansi-player`",
         "hook/call/ansi-hook", "hook/call/ansi-player", 5)
    for size in ("small", "5MB", "100MB", "picture3MB"):
        ratio(f"new track, {size}: `update/new/{size}` / `bare/{size}`", f"update/new/{size}",
              f"bare/{size}", 1.15)
    ratio("audio size: `update/new/100MB` / `update/new/5MB`", "update/new/100MB",
          "update/new/5MB", 1.2)
    ratio("audio size, id3lib alone: `bare/100MB` / `bare/5MB`", "bare/100MB", "bare/5MB")
    ratio("repeat: `update/repeat/small` / `bare/small`", "update/repeat/small", "bare/small")
    ratio("repeat: `update/repeat/small` / `update/new/small`", "update/repeat/small",
          "update/new/small")
    ratio("repeat, audio size: `update/repeat/100MB` / `update/repeat/small`",
          "update/repeat/100MB", "update/repeat/small")
    ratio("gathering: `update/gather/small` / `bare/small`", "update/gather/small", "bare/small")
    ratio("cover picture, id3lib alone: `bare/picture3MB` / `bare/small`", "bare/picture3MB",
          "bare/small")
    ratio("cover picture: `update/new/picture3MB` / `update/new/small`", "update/new/picture3MB",
          "update/new/small")
    ratio("the player's reading: `update/new/player-info` / `update/new/small`",
          "update/new/player-info", "update/new/small")
    for size in ("small", "picture3MB"):
        name = f"change/next/{size}"
        if name in updates:
            rows.append((f"updates per track change: `{name}`", f"{updates[name]:.2f}", None,
                         None))
        ratio(f"one track change: `{name}` / `update/new/{size}`", name, f"update/new/{size}")
    for way in ("v1v2", "memory", "mapped"):
        for size in ("small", "5MB", "100MB", "picture3MB"):
            ratio(f"id3lib another way: `bare-{way}/{size}` / `bare/{size}`",
                  f"bare-{way}/{size}", f"bare/{size}")

    print("| measure | value | goal | |")
    print("|---|---:|---:|---|")
    for label, value, goal, met in rows:
        print(f"| {label} | {value} | {goal or ''} | {met or ''} |")


if __name__ == "__main__":
    main()
