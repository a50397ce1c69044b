#!/usr/bin/env bash
# Runs a 64-bit Windows program under wine64 (or, through tools/wine32-run.sh, a 32-bit
# one under wine32) and passes its exit code through.
#
#   wine-run.sh <program.exe> [args...]
#   wine-run.sh --prepare      only sets the prefix up, when it is new
#
# Used as CMAKE_CROSSCOMPILING_EMULATOR by the MinGW toolchains, so CTest runs
# cross-built test programs through it; also usable by hand.
#
# Environment:
#   TUNELORE_WINE_ARCH   win64 (default) or win32
#   TUNELORE_WINEPREFIX  the win64 prefix (default ${TMPDIR:-/tmp}/tunelore-wineprefix)
#   TUNELORE_WINE32PREFIX  the win32 prefix (default ${TMPDIR:-/tmp}/tunelore-wine32prefix);
#                        each is created on first use.
#   TUNELORE_WINEDEBUG   WINEDEBUG for the program (default -all).
#   DISPLAY              when set, that X display is used; otherwise each call
#                        runs inside its own `xvfb-run -a`.
#
# Calls on one prefix are serialised with a lock: every call ends with
# `wineserver -w`, so the next call never meets a server still bound to a
# display that has gone away, and the prefix is never created twice at once.
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <program.exe | --prepare> [args...]" >&2
  exit 2
fi

wineserver=/usr/lib/wine/wineserver
export TUNELORE_WINE_ARCH=${TUNELORE_WINE_ARCH:-win64}
if [ "$TUNELORE_WINE_ARCH" = win32 ]; then
  # A prefix of its own, made by wine32: one made by wine64 alone has no 32-bit half.
  wine=/usr/lib/wine/wine
  package=wine32:i386
  WINEPREFIX=${TUNELORE_WINE32PREFIX:-${TMPDIR:-/tmp}/tunelore-wine32prefix}
else
  wine=/usr/lib/wine/wine64
  package=wine64
  WINEPREFIX=${TUNELORE_WINEPREFIX:-${TMPDIR:-/tmp}/tunelore-wineprefix}
fi
WINEPREFIX=${WINEPREFIX%/}
case "$WINEPREFIX" in /*) ;; *) WINEPREFIX=$PWD/$WINEPREFIX ;; esac
export WINEPREFIX
export WINEARCH=$TUNELORE_WINE_ARCH
export WINEDEBUG=${TUNELORE_WINEDEBUG:--all}
# No Mono/Gecko here and no network: keep wineboot from offering to install them; and no
# menu entries in the user's desktop for a throwaway prefix. For every call: the first
# program a fresh wineserver starts runs wineboot itself, with the caller's environment.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A server that does not end (a hung wineboot was seen under the emulator) must not hang
# the caller for ever.
SERVER_WAIT_LIMIT=${TUNELORE_WINESERVER_WAIT:-900}
wait_for_server() {
  timeout "$SERVER_WAIT_LIMIT" "$wineserver" -w && return 0
  echo "$0: the Wine server did not end within $SERVER_WAIT_LIMIT s; killing it" >&2
  "$wineserver" -k
  return 1
}

if [ -z "${TUNELORE_WINE_RUN_LOCKED:-}" ]; then
  [ -x "$wine" ] || { echo "$0: $wine not found (package $package)" >&2; exit 127; }
  mkdir -p "$(dirname "$WINEPREFIX")"
  export TUNELORE_WINE_RUN_LOCKED=1
  self=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")
  cmd=("$self" "$@")
  if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null || { echo "$0: xvfb-run not found (package xvfb)" >&2; exit 127; }
    # One X server for prefix creation and the program alike: a prefix first
    # started without a display never gets a display driver.
    cmd=(xvfb-run -a -s "-screen 0 1280x1024x24" "${cmd[@]}")
  fi
  # -o: the lock stays with flock itself, not with Xvfb or a lingering wineserver.
  exec flock -o "$WINEPREFIX.lock" "${cmd[@]}"
fi
unset TUNELORE_WINE_RUN_LOCKED

# A new prefix is set up in the same run as the program and marked ready only after the
# server has ended and written the registry, so an interrupted set-up is done again.
new_prefix=0
if [ ! -f "$WINEPREFIX/.tunelore-ready" ]; then
  new_prefix=1
  "$wine" wineboot --init >/dev/null 2>&1
  # A crash must end the test program, not hang it in winedbg's dialog.
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
  if ! "$wine" reg query 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog 2>/dev/null |
       grep -q '0x0'; then
    echo "$0: could not set up the Wine prefix $WINEPREFIX" >&2
    wait_for_server
    exit 125
  fi
fi

rc=0
if [ "$1" != --prepare ]; then
  "$wine" "$@"
  rc=$?
fi
wait_for_server
[ $new_prefix = 1 ] && touch "$WINEPREFIX/.tunelore-ready"
exit $rc
