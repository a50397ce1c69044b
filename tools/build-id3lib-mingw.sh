#!/usr/bin/env bash
# Cross-builds id3lib 3.8.3 as a static MinGW-w64 library from Debian's source
# package, with Debian's patches and ours (cmake/id3lib-patches/) applied.
#
#   build-id3lib-mingw.sh <triplet> <outdir>
#     triplet  i686-w64-mingw32 or x86_64-w64-mingw32
#     outdir   receives lib/libid3.a, include/id3.h, include/id3/*.h
#
# id3lib's own configure is too old for MinGW-w64, so src/*.cpp are compiled
# directly against cmake/id3lib-config/config.h. Consumers define
# ID3LIB_LINKOPTION=1 and link the MinGW libz.a after libid3.a.
#
# A finished build is reused: when <outdir>/lib/libid3.a exists and the stamp
# beside it matches this script, its config header and the compiler, nothing
# is done. Concurrent calls for one outdir wait for each other.
# TUNELORE_MINGW_CXX names the compiler (default <triplet>-g++-posix); the library must
# come from the same thread model as the program it is linked into.
# Needs: the MinGW-w64 compilers, libz-mingw-w64-dev, dpkg-dev and a
# deb-src entry for Debian (tools/install-deps.sh windows sets all of them up).
set -euo pipefail

usage() { echo "usage: $0 <i686-w64-mingw32|x86_64-w64-mingw32> <outdir>" >&2; exit 2; }
[ $# -eq 2 ] || usage
triplet=$1
case "$triplet" in
  i686-w64-mingw32|x86_64-w64-mingw32) ;;
  *) usage ;;
esac

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
confdir=$(cd "$here/../cmake/id3lib-config" && pwd)
cxx=${TUNELORE_MINGW_CXX:-$triplet-g++-posix}
ar=$triplet-ar
mkdir -p "$2"
outdir=$(cd "$2" && pwd)

command -v "$cxx" >/dev/null || { echo "$0: $cxx not found (packages g++-mingw-w64-*)" >&2; exit 1; }
[ -f "/usr/$triplet/include/zlib.h" ] && [ -f "/usr/$triplet/lib/libz.a" ] ||
  { echo "$0: MinGW zlib missing for $triplet (package libz-mingw-w64-dev)" >&2; exit 1; }

# Anything that changes the produced library goes into the stamp.
patches=$(cd "$confdir/../id3lib-patches" && pwd)
stamp=$( { cat "${BASH_SOURCE[0]}" "$confdir/config.h" "$patches"/*.patch; "$cxx" --version | head -n1; } |
         sha256sum | cut -d' ' -f1)

# Serialises parallel configures sharing one cache folder.
exec 9>"$outdir/.build.lock"
flock 9

if [ -f "$outdir/lib/libid3.a" ] && [ -f "$outdir/include/id3.h" ] &&
   [ "$(cat "$outdir/.stamp" 2>/dev/null)" = "$stamp" ]; then
  echo "id3lib for $triplet is up to date in $outdir"
  exit 0
fi

start=$(date +%s)
work=$(mktemp -d "${TMPDIR:-/tmp}/id3lib-mingw.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Fetching id3lib sources (apt-get source id3lib3.8.3)..."
if ! (cd "$work" && apt-get source -q id3lib3.8.3) >"$work/fetch.log" 2>&1; then
  cat "$work/fetch.log" >&2
  echo "$0: apt-get source failed; is a deb-src entry present (tools/install-deps.sh windows)?" >&2
  exit 1
fi
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'id3lib3.8.3-*' | head -n1)
[ -n "$src" ] && [ -f "$src/src/c_wrapper.cpp" ] || { cat "$work/fetch.log" >&2; echo "$0: unpacked sources not found" >&2; exit 1; }

# Our own fixes on top of Debian's, for faults a tag in a user's file can reach.
for fix in "$patches"/*.patch; do
  patch -s -p1 -d "$src" <"$fix" || { echo "$0: $(basename "$fix") does not apply" >&2; exit 1; }
done

echo "Compiling id3lib for $triplet..."
mkdir -p "$work/obj"
# Built for size, as the DLL links it in, each function and datum in a section of its own
# for a linker run with --gc-sections. Old third-party code: warnings are silenced (-w),
# errors still stop the build.
compile=("$cxx" -std=gnu++17 -Os -ffunction-sections -fdata-sections -w
         -DHAVE_CONFIG_H -DID3LIB_LINKOPTION=1
         -I"$confdir" -I"$src/include" -I"$src/include/id3" -I"$src/src")
# Objects land in the current folder, named after their sources.
(cd "$work/obj" && printf '%s\0' "$src"/src/*.cpp | xargs -0 -P2 -n1 "${compile[@]}" -c)

# Stage the result and swap it in, so an interrupted build leaves no half library.
stage="$work/stage"
mkdir -p "$stage/lib" "$stage/include/id3" "$stage/share/doc/id3lib"
"$ar" rcs "$stage/lib/libid3.a" "$work"/obj/*.o
cp "$src/include/id3.h" "$stage/include/"
cp "$src"/include/id3/*.h "$stage/include/id3/"
cp "$src/COPYING" "$src/debian/copyright" "$stage/share/doc/id3lib/"

rm -rf "$outdir/lib" "$outdir/include" "$outdir/share" "$outdir/.stamp"
mv "$stage/lib" "$stage/include" "$stage/share" "$outdir/"
echo "$stamp" >"$outdir/.stamp"
echo "id3lib for $triplet built into $outdir in $(( $(date +%s) - start )) s"
