#!/usr/bin/env bash
# Checks that the README's set-up survives a package archive caught mid-sync: a local package
# source whose index fails its hash check stands in for the mirror. With it in place, a fresh
# clone of this repository installs what the tests need (wine32 and NSIS taken away first, so
# they must be installed again), plays under wine64 and plays the shipped 32-bit DLL.
#
#   check-mirror-mid-sync.sh        (root; changes the machine's package sources while it
#                                    runs and removes its source again whatever happens)
#
# Not part of the test command: it changes the machine.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root" >&2; exit 1; }
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
source_list=/etc/apt/sources.list.d/tunelore-mid-sync-check.list
cleanup() {
  rm -f "$source_list"
  rm -rf "$work"
  apt-get update -qq >/dev/null 2>&1 || true
}
trap cleanup EXIT

# A flat repository whose Release file names the wrong SHA256 for its index.
mirror=$work/mirror
mkdir -p "$mirror"
printf 'Package: tunelore-placeholder\nVersion: 1\nArchitecture: all\n\n' >"$mirror/Packages"
xz -k "$mirror/Packages"
{
  echo "Origin: tunelore-check"
  echo "Date: $(date -Ru)"
  echo "SHA256:"
  for index in Packages Packages.xz; do
    echo " $(printf '0%.0s' {1..64}) $(stat -c %s "$mirror/$index") $index"
  done
} >"$mirror/Release"
echo "deb [trusted=yes] file:$mirror ./" >"$source_list"

echo "== the stand-in source fails its check:"
update_log=$(apt-get update -qq 2>&1 || true)
grep -m1 "Failed to fetch file:$mirror" <<<"$update_log" ||
  { echo "$0: the stand-in source did not fail" >&2; exit 1; }

echo "== removing wine32 and NSIS, so the set-up must install them again"
apt-get remove -y -qq nsis 'wine32:i386' >/dev/null

git clone -q "$root" "$work/clone"
cd "$work/clone"
echo "== tools/install-deps.sh windows"
time tools/install-deps.sh windows
echo "== tools/play.sh"
time tools/play.sh | grep -E '^(#|track|  open)'
echo "== tools/play.sh --win32"
time tools/play.sh --win32 | grep -E '^(#|track|  open)'
echo "== all three worked with the stand-in source in place"
