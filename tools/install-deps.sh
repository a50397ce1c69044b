#!/usr/bin/env bash
# Installs what the builds need on a Debian 12 machine, only when something is missing.
#   install-deps.sh native   compilers, CMake, id3lib, GoogleTest, Google Benchmark, valgrind
#   install-deps.sh windows  the above plus MinGW-w64, zlib for MinGW, wine64, Xvfb, id3lib's sources,
#                            NSIS for the setup program and pefile for its checks
#   install-deps.sh render   the above plus ImageMagick, to turn the dialog's picture into PNG
set -euo pipefail
want=${1:-native}

native_pkgs=(cmake g++ clang libclang-rt-14-dev libid3-3.8.3-dev libgtest-dev googletest
             libbenchmark-dev valgrind pkg-config ninja-build python3)
windows_pkgs=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
              binutils-mingw-w64-x86-64 libz-mingw-w64-dev wine64 xvfb xauth dpkg-dev nsis
              python3-pefile)

pkgs=("${native_pkgs[@]}")
[ "$want" != native ] && pkgs+=("${windows_pkgs[@]}")
[ "$want" = render ] && pkgs+=(imagemagick)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_src=0
if [ "$want" != native ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
   ! grep -qs '^deb-src' /etc/apt/sources.list; then
  need_src=1
fi

[ ${#missing[@]} -eq 0 ] && [ $need_src -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
if [ $need_src -eq 1 ]; then
  # id3lib is cross-built for Windows from Debian's own source package.
  $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi
echo "Installing: ${missing[*]:-(source index only)}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
[ ${#missing[@]} -eq 0 ] || $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
