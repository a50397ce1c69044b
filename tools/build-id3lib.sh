#!/usr/bin/env bash
# Builds id3lib 3.8.3 as a static library from Debian's source package, with Debian's patches
# and ours (cmake/id3lib-patches/) applied, for every build of the project: the host's (native,
# sanitize, fuzz, memcheck, bench) and the MinGW-w64 ones. Built once per machine into the
# cache of tools/deps-cache.sh.
#
#   build-id3lib.sh <target> <flavour>
#     target   the compiler's triplet (x86_64-linux-gnu, i686-w64-mingw32, ...)
#     flavour  a name for the compiler and flags, part of the cache folder's name
#   Environment:
#     TUNELORE_DEPS_CXX       the compiler (the build's own; default <target>-g++-posix)
#     TUNELORE_DEPS_AR        the archiver (default <target>-ar, or ar)
#     TUNELORE_DEPS_CXXFLAGS  the flags, the build's own (sanitizers, coverage); default the
#                             shipped DLL's: for size, a section per function and datum
#   Prints the folder holding lib/libid3.a, include/id3.h and include/id3/*.h.
#
# id3lib's own configure is too old for MinGW-w64, so src/*.cpp are compiled directly against
# cmake/id3lib-config/config.h, on every target alike. Consumers define ID3LIB_LINKOPTION=1
# and link zlib after libid3.a.
# Needs: the compiler, zlib for the target, dpkg-dev and a deb-src entry for Debian
# (tools/install-deps.sh sets them up).
set -euo pipefail

usage() { echo "usage: $0 <target> <flavour>" >&2; exit 2; }
[ $# -eq 2 ] || usage
target=$1
flavour=$2
case "$target$flavour" in */*|*' '*) usage ;; esac

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
confdir=$(cd "$here/../cmake/id3lib-config" && pwd)
patches=$(cd "$here/../cmake/id3lib-patches" && pwd)
cxx=${TUNELORE_DEPS_CXX:-$target-g++-posix}
if [ -n "${TUNELORE_DEPS_AR:-}" ]; then
  ar=$TUNELORE_DEPS_AR
elif command -v "$target-ar" >/dev/null; then
  ar=$target-ar
else
  ar=ar
fi
flags=${TUNELORE_DEPS_CXXFLAGS--Os -ffunction-sections -fdata-sections}
command -v "$cxx" >/dev/null || { echo "$0: $cxx not found" >&2; exit 1; }
# shellcheck source=deps-cache.sh
. "$here/deps-cache.sh"

version=$(deps_source_version id3lib3.8.3)
[ -n "$version" ] || { echo "$0: no source package id3lib3.8.3 known to apt (deb-src entry?)" >&2; exit 1; }

# Anything that changes the produced library goes into the stamp.
stamp=$( { cat "${BASH_SOURCE[0]}" "$here/deps-cache.sh" "$confdir/config.h" "$patches"/*.patch
           echo "$version|$target|$flags"; "$cxx" --version | head -n1; } | deps_stamp)

build() {
  local work=$1 stage=$2 src=$1/src
  deps_unpack id3lib3.8.3 "$version" "$work" || return 1
  # Our own changes on top of Debian's, in name order.
  local fix
  for fix in "$patches"/*.patch; do
    patch -s -p1 -d "$src" <"$fix" || { echo "$0: $(basename "$fix") does not apply" >&2; return 1; }
  done
  echo "Compiling id3lib for $target ($flavour)..." >&2
  mkdir -p "$work/obj"
  # Old third-party code: warnings are silenced (-w), errors still stop the build.
  # shellcheck disable=SC2206
  local compile=("$cxx" -std=gnu++17 $flags -w -DHAVE_CONFIG_H -DID3LIB_LINKOPTION=1
                 -I"$confdir" -I"$src/include" -I"$src/include/id3" -I"$src/src")
  # Objects land in the current folder, named after their sources.
  (cd "$work/obj" && printf '%s\0' "$src"/src/*.cpp | xargs -0 -P2 -n1 "${compile[@]}" -c) ||
    { echo "$0: compiling id3lib failed" >&2; return 1; }
  mkdir -p "$stage/lib" "$stage/include/id3" "$stage/share/doc/id3lib"
  "$ar" rcs "$stage/lib/libid3.a" "$work"/obj/*.o
  cp "$src/include/id3.h" "$stage/include/"
  cp "$src"/include/id3/*.h "$stage/include/id3/"
  cp "$src/COPYING" "$src/debian/copyright" "$stage/share/doc/id3lib/"
}

deps_build "id3lib-$target-$flavour" "$stamp" build
