#!/usr/bin/env bash
# Builds the plug-in and plays a playlist through it inside the model player, printing every
# mini-browser request. Arguments (MP3 files, .m3u playlists, --disable-* switches) go to
# the session; without any it plays its built-in sample playlist.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/install-deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native --target tunelore-session >/dev/null
exec build/native/tools/session/tunelore-session "$@"
