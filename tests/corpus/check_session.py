#!/usr/bin/python3
"""Plays the corpus (make_corpus.py) through the session program and checks, track by track,
either what the player read from each file (--check reads) or the page the plug-in opened
for it (--check pages), against the corpus's expected.txt.

    check_session.py --check reads|pages CORPUS SESSION PAGE_ADDRESS [--wine RUNNER --plugin DLL]

The expected pages are composed from the expected fields by PAGE_ADDRESS, a program built
from the plug-in's own page composition.

With --wine, SESSION is the Windows program: it runs through RUNNER (tools/wine-run.sh)
with the plug-in DLL copied into the Plugins folder beside it, as the player loads it.
"""
import argparse
import os
import shutil
import subprocess
import sys

# The session prints in UTF-8 what the player and the plug-in hold in code page 1252; the
# expected texts are written in that code page.
OUTPUT_ENCODING = "utf-8"
ENCODING = "cp1252"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_session(args):
    playlist = os.path.join(args.corpus, "corpus.m3u")
    command = [args.session, playlist]
    if args.wine:
        plugins = os.path.join(os.path.dirname(args.session), "Plugins")
        os.makedirs(plugins, exist_ok=True)
        shutil.copyfile(args.plugin, os.path.join(plugins, "gen_tunelore.dll"))
        command = [args.wine, args.session, windows_path(playlist)]
    return run(command, encoding=OUTPUT_ENCODING)


def run(command, text="", encoding=ENCODING):
    done = subprocess.run(command, input=text.encode(ENCODING), stdout=subprocess.PIPE,
                          check=True, timeout=600)
    return done.stdout.decode(encoding).replace("\r\n", "\n")


def pages_for(args, fields):
    """The addresses the plug-in composes for each track's expected fields."""
    command = [args.wine, args.page_address] if args.wine else [args.page_address]
    return run(command, "".join("\t".join(f) + "\n" for f in fields)).splitlines()


def tracks_in(output):
    """Each track's display title, what the player read, and the addresses opened for it."""
    tracks = []
    for line in output.splitlines():
        if line.startswith("track "):
            tracks.append({"reads": None, "pages": []})
        elif tracks and line.startswith("  the player reads: "):
            tracks[-1]["reads"] = line[len("  the player reads: "):]
        elif tracks and line.startswith(("  open ", "  web browser ")):
            tracks[-1]["pages"].append(line.split(" ", 3)[-1])
    return tracks


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", choices=["reads", "pages"], required=True)
    parser.add_argument("--wine")
    parser.add_argument("--plugin")
    parser.add_argument("corpus")
    parser.add_argument("session")
    parser.add_argument("page_address")
    args = parser.parse_args()
    with open(os.path.join(args.corpus, "expected.txt"), encoding=ENCODING) as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    pages = pages_for(args, [row[2:] for row in rows]) if args.check == "pages" else []
    expected = [(row[0], row[1], page) for row, page in zip(rows, pages or [None] * len(rows))]
    output = run_session(args)
    tracks = tracks_in(output)
    failed = 0
    if len(tracks) != len(expected):
        print(output)
        print(f"{len(tracks)} tracks played, {len(expected)} expected")
        failed = len(expected)
    for (name, reads, page), track in zip(expected, tracks):
        want, got = (reads, track["reads"]) if args.check == "reads" else ([page], track["pages"])
        if want != got:
            failed += 1
            print(f"{name}: expected {want!r}, got {got!r}")
    print(f"{len(expected) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
