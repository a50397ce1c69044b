#!/usr/bin/env bash
# Cross-builds TagLib 1.13 as a static MinGW-w64 library from Debian's source package
# `taglib`, with Debian's patches, for the session program (the plug-in keeps id3lib).
#
#   build-taglib-mingw.sh <triplet> <outdir>
#     triplet  i686-w64-mingw32 or x86_64-w64-mingw32
#     outdir   receives lib/libtag.a and include/taglib/*.h
#
# Consumers define TAGLIB_STATIC and link the MinGW libz.a after libtag.a. Debian's patches
# take utf8-cpp from the system (package libutfcpp-dev, headers only).
#
# A finished build is reused: when <outdir>/lib/libtag.a exists and the stamp beside it
# matches this script and the compiler, nothing is done. Concurrent calls for one outdir
# wait for each other.
# TUNELORE_MINGW_CXX and TUNELORE_MINGW_CC name the compilers (default <triplet>-g++-posix
# and -gcc-posix); the library must come from the thread model of the program it goes into.
# Needs: the MinGW-w64 compilers, libz-mingw-w64-dev, libutfcpp-dev, cmake, ninja-build,
# dpkg-dev and a deb-src entry for Debian (tools/install-deps.sh windows sets all of them up).
set -euo pipefail

usage() { echo "usage: $0 <i686-w64-mingw32|x86_64-w64-mingw32> <outdir>" >&2; exit 2; }
[ $# -eq 2 ] || usage
triplet=$1
case "$triplet" in
  i686-w64-mingw32|x86_64-w64-mingw32) ;;
  *) usage ;;
esac

cxx=${TUNELORE_MINGW_CXX:-$triplet-g++-posix}
cc=${TUNELORE_MINGW_CC:-${cxx/g++/gcc}}
utf8cpp=/usr/include/utf8cpp
mkdir -p "$2"
outdir=$(cd "$2" && pwd)

for tool in "$cxx" "$cc" cmake ninja; do
  command -v "$tool" >/dev/null || { echo "$0: $tool not found" >&2; exit 1; }
done
[ -f "/usr/$triplet/include/zlib.h" ] && [ -f "/usr/$triplet/lib/libz.a" ] ||
  { echo "$0: MinGW zlib missing for $triplet (package libz-mingw-w64-dev)" >&2; exit 1; }
[ -f "$utf8cpp/utf8/checked.h" ] || { echo "$0: $utf8cpp missing (package libutfcpp-dev)" >&2; exit 1; }

# Anything that changes the produced library goes into the stamp.
stamp=$( { cat "${BASH_SOURCE[0]}"; "$cxx" --version | head -n1; } | sha256sum | cut -d' ' -f1)

# Serialises parallel configures sharing one cache folder.
exec 9>"$outdir/.build.lock"
flock 9

if [ -f "$outdir/lib/libtag.a" ] && [ -f "$outdir/include/taglib/fileref.h" ] &&
   [ "$(cat "$outdir/.stamp" 2>/dev/null)" = "$stamp" ]; then
  echo "TagLib for $triplet is up to date in $outdir"
  exit 0
fi

start=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/tmp}/taglib-mingw.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Fetching TagLib sources (apt-get source taglib)..."
if ! (cd "$work" && apt-get source -q taglib) >"$work/fetch.log" 2>&1; then
  cat "$work/fetch.log" >&2
  echo "$0: apt-get source failed; is a deb-src entry present (tools/install-deps.sh windows)?" >&2
  exit 1
fi
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'taglib-1.*' | head -n1)
[ -n "$src" ] && [ -f "$src/taglib/fileref.cpp" ] || { cat "$work/fetch.log" >&2; echo "$0: unpacked sources not found" >&2; exit 1; }

echo "Compiling TagLib for $triplet..."
# Only the library: no C bindings, tests or examples. Third-party code: its warnings are
# not ours to fix, errors still stop the build.
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR="${triplet%%-*}" \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_FIND_ROOT_PATH="/usr/$triplet" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-w -isystem $utf8cpp" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_BINDINGS=OFF -DBUILD_TESTING=OFF -DBUILD_EXAMPLES=OFF \
  -DWITH_ZLIB=ON -DZLIB_INCLUDE_DIR="/usr/$triplet/include" -DZLIB_LIBRARY="/usr/$triplet/lib/libz.a" \
  -DCMAKE_INSTALL_PREFIX="$work/stage" >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log" >&2; echo "$0: configuring TagLib failed" >&2; exit 1; }
grep -q 'HAVE_ZLIB 1' "$work/build/config.h" ||
  { echo "$0: TagLib was configured without zlib" >&2; exit 1; }
cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 ||
  { tail -n 50 "$work/build.log" >&2; echo "$0: compiling TagLib failed" >&2; exit 1; }
cmake --install "$work/build" >/dev/null

# Stage the result and swap it in, so an interrupted build leaves no half library.
stage="$work/stage"
mkdir -p "$stage/share/doc/taglib"
cp "$src/COPYING.LGPL" "$src/COPYING.MPL" "$src/debian/copyright" "$stage/share/doc/taglib/"
rm -rf "$outdir/lib" "$outdir/include" "$outdir/share" "$outdir/.stamp"
mv "$stage/lib" "$stage/include" "$stage/share" "$outdir/"
echo "$stamp" >"$outdir/.stamp"
echo "TagLib for $triplet built into $outdir in $(( $(date +%s) - start )) s"
