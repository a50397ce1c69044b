#!/usr/bin/env bash
# Cross-builds TagLib 1.13 as a static MinGW-w64 library from Debian's source package
# `taglib`, with Debian's patches, for the session program (the plug-in keeps id3lib).
#
#   build-taglib-mingw.sh <triplet> <flavour>
#     triplet  i686-w64-mingw32 or x86_64-w64-mingw32
#     flavour  the thread model (posix), part of the cache folder's name
#   Prints the folder holding lib/libtag.a and include/taglib/*.h.
#
# Consumers define TAGLIB_STATIC and link the MinGW libz.a after libtag.a. Debian's patches
# take utf8-cpp from the system (package libutfcpp-dev, headers only).
#
# Built once per machine into the cache of tools/deps-cache.sh, keyed by this script, the
# source version and the compiler.
# TUNELORE_MINGW_CXX and TUNELORE_MINGW_CC name the compilers (default <triplet>-g++-posix
# and -gcc-posix); the library must come from the thread model of the program it goes into.
# Needs: the MinGW-w64 compilers, libz-mingw-w64-dev, libutfcpp-dev, cmake, ninja-build,
# dpkg-dev and a deb-src entry for Debian (tools/install-deps.sh windows sets all of them up).
set -euo pipefail

usage() { echo "usage: $0 <i686-w64-mingw32|x86_64-w64-mingw32> <flavour>" >&2; exit 2; }
[ $# -eq 2 ] || usage
triplet=$1
case "$triplet" in
  i686-w64-mingw32|x86_64-w64-mingw32) ;;
  *) usage ;;
esac
flavour=$2
case "$flavour" in */*|*' '*|'') usage ;; esac

cxx=${TUNELORE_MINGW_CXX:-$triplet-g++-posix}
cc=${TUNELORE_MINGW_CC:-${cxx/g++/gcc}}
utf8cpp=/usr/include/utf8cpp
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

for tool in "$cxx" "$cc" cmake ninja; do
  command -v "$tool" >/dev/null || { echo "$0: $tool not found" >&2; exit 1; }
done
[ -f "/usr/$triplet/include/zlib.h" ] && [ -f "/usr/$triplet/lib/libz.a" ] ||
  { echo "$0: MinGW zlib missing for $triplet (package libz-mingw-w64-dev)" >&2; exit 1; }
[ -f "$utf8cpp/utf8/checked.h" ] || { echo "$0: $utf8cpp missing (package libutfcpp-dev)" >&2; exit 1; }

# shellcheck source=deps-cache.sh
. "$here/deps-cache.sh"
version=$(deps_source_version taglib)
[ -n "$version" ] || { echo "$0: no source package taglib known to apt (deb-src entry?)" >&2; exit 1; }

# Anything that changes the produced library goes into the stamp.
stamp=$( { cat "${BASH_SOURCE[0]}" "$here/deps-cache.sh"; echo "$version|$triplet"
           "$cxx" --version | head -n1; } | deps_stamp)

build() {
  local work=$1 stage=$2 src=$1/src
  deps_unpack taglib "$version" "$work" || return 1
  echo "Compiling TagLib for $triplet..." >&2
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
    -DCMAKE_INSTALL_PREFIX="$stage" >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; echo "$0: configuring TagLib failed" >&2; return 1; }
  grep -q 'HAVE_ZLIB 1' "$work/build/config.h" ||
    { echo "$0: TagLib was configured without zlib" >&2; return 1; }
  cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 ||
    { tail -n 50 "$work/build.log" >&2; echo "$0: compiling TagLib failed" >&2; return 1; }
  cmake --install "$work/build" >/dev/null
  mkdir -p "$stage/share/doc/taglib"
  cp "$src/COPYING.LGPL" "$src/COPYING.MPL" "$src/debian/copyright" "$stage/share/doc/taglib/"
}

deps_build "taglib-$triplet-$flavour" "$stamp" build
