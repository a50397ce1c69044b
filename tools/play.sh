#!/usr/bin/env bash
# Builds the plug-in and plays a playlist through it, printing every mini-browser request,
# the plug-in's description and its settings file. Without arguments it plays a built-in
# sample playlist; name audio files (MP3, FLAC, Ogg Vorbis) or .m3u playlists to play those,
# and --disable-plugin, --disable-startup or --disable-autoopen to set the switches for the
# run. The player reads each file's tag (TagLib) and prints what it read.
#
# The real 64-bit gen_tunelore.dll plays inside the Win32 player program under wine64; where
# Wine is missing (or TUNELORE_PLAY_MODEL=1), the plug-in's code plays inside the model
# player on Linux instead. --win32 plays the 32-bit DLL as shipped inside the 32-bit player
# program under wine32 instead; where the kernel runs no 32-bit programs they are emulated
# (tools/install-deps.sh sets that up), a few seconds more.
#
# Its builds (presets play and play-win32, in build/play and build/play-win32) have no tests,
# so it installs nothing the tests need, and tools/test.sh's builds keep their own settings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Files named on the command line are handed over as Wine sees them (drive Z:).
bits=64
args=()
for a in "$@"; do
  case "$a" in
    --win32) bits=32 ;;
    --*) args+=("$a") ;;
    *) args+=("Z:$(readlink -m "$a" | tr / '\\')") ;;
  esac
done

# A new Wine prefix takes a quarter of a minute to set up: that happens while building.
prepare_prefix() {
  "$@" --prepare >/dev/null 2>&1 &
}

if [ $bits = 32 ]; then
  tools/install-deps.sh win32 >&2
  prepare_prefix tools/wine32-run.sh
  # The player program, and the DLL as shipped, built beside it by the shipped toolchain.
  cmake --preset play-win32 >/dev/null
  cmake --build --preset play-win32 >/dev/null
  player=build/play-win32/tools/session
  mkdir -p "$player/Plugins"
  cp build/play-win32/shipped-dll/gen_tunelore.dll "$player/Plugins/"
  exec tools/wine32-run.sh "$player/tunelore-session.exe" "${args[@]}"
fi

if [ "${TUNELORE_PLAY_MODEL:-}" != 1 ] && tools/install-deps.sh win64 >&2; then
  prepare_prefix tools/wine-run.sh
  cmake --preset play >/dev/null
  cmake --build --preset play >/dev/null
  player=build/play/tools/session
  mkdir -p "$player/Plugins"
  cp build/play/gen_tunelore.dll "$player/Plugins/"
  exec tools/wine-run.sh "$player/tunelore-session.exe" "${args[@]}"
fi

if [ "${TUNELORE_PLAY_MODEL:-}" = 1 ]; then
  echo "(playing on the Linux model of the player, as TUNELORE_PLAY_MODEL=1 asks)" >&2
else
  missing=$(tools/install-deps.sh --missing win64 | paste -sd' ' -)
  echo "(${missing:-a package source} could not be installed: playing on the Linux model of the player instead)" >&2
fi
tools/install-deps.sh native >&2
cmake --preset native >/dev/null
cmake --build --preset native --target tunelore-session >/dev/null
exec build/native/tools/session/tunelore-session "$@"
