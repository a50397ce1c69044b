#!/usr/bin/env bash
# Installs what the builds need on a Debian 12 machine, only when something is missing.
#   install-deps.sh native   compilers, CMake, id3lib, TagLib, GoogleTest, Google Benchmark,
#                            valgrind, and sox with mutagen for the session's audio corpus
#   install-deps.sh wine32   the 32-bit run alone: wine32 from the i386 architecture, and
#                            qemu-user-static registered for 32-bit programs where the kernel
#                            cannot start them
#   install-deps.sh windows  native and wine32, plus MinGW-w64, zlib for MinGW, wine64, Xvfb,
#                            id3lib's and TagLib's sources (and utf8-cpp for TagLib), NSIS for the
#                            setup program and pefile for the checks of the shipped files
#   install-deps.sh render   windows plus ImageMagick, to turn the dialog's picture into PNG
# A second run changes nothing.
set -euo pipefail
want=${1:-native}

native_pkgs=(cmake g++ clang libclang-rt-14-dev libid3-3.8.3-dev libtag1-dev libgtest-dev
             googletest libbenchmark-dev valgrind pkg-config ninja-build python3 python3-mutagen
             sox libsox-fmt-mp3)
wine32_pkgs=(wine32:i386 xvfb xauth)
# The shipped 32-bit DLL is built with the win32 thread model: the posix one links
# winpthread, which imports functions Windows XP lacks.
windows_pkgs=(g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
              binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev wine64
              dpkg-dev libutfcpp-dev nsis python3-pefile "${wine32_pkgs[@]}")

case "$want" in
  native) pkgs=("${native_pkgs[@]}") ;;
  wine32) pkgs=("${wine32_pkgs[@]}") ;;
  windows) pkgs=("${native_pkgs[@]}" "${windows_pkgs[@]}") ;;
  render) pkgs=("${native_pkgs[@]}" "${windows_pkgs[@]}" imagemagick) ;;
  *) echo "usage: $0 [native|wine32|windows|render]" >&2; exit 2 ;;
esac
with_wine32=0
[ "$want" != native ] && with_wine32=1

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
apt_install() {
  $sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=900 "$@" >&2
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

install_missing() {
  local missing=() p need_src=0 need_arch=0
  for p in "${pkgs[@]}"; do
    installed "$p" || missing+=("$p")
  done
  if [ "$want" = windows ] || [ "$want" = render ]; then
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
       ! grep -qs '^deb-src' /etc/apt/sources.list; then
      need_src=1
    fi
  fi
  if [ $with_wine32 -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_arch=1
  fi
  [ ${#missing[@]} -eq 0 ] && [ $need_src -eq 0 ] && [ $need_arch -eq 0 ] && return 0

  if [ $need_src -eq 1 ]; then
    # id3lib and TagLib are cross-built for Windows from Debian's own source packages.
    $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  fi
  # wine32 is a package of the i386 architecture.
  [ $need_arch -eq 1 ] && $sudo dpkg --add-architecture i386
  echo "Installing: ${missing[*]:-(package indexes only)}" >&2
  $sudo apt-get update -qq -o DPkg::Lock::Timeout=900
  [ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
}

wine32=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc
# The emulator: qemu-user from 9.1 on (static). Bookworm's own 7.2 ignores MAP_FIXED_NOREPLACE,
# so each Wine process reserves its address space 64 KB at a time: about a minute per process
# start, against about a second with the qemu of bookworm-backports.
qemu=/usr/bin/qemu-i386
qemu_min_version=1:9.1
# 32-bit x86 ELF programs, executables and shared objects (qemu's own magic and mask).
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

qemu_installed() {
  local version
  version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null) &&
    dpkg --compare-versions "$version" ge "$qemu_min_version"
}

install_qemu() {
  qemu_installed && return 0
  local target=()
  if [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ]; then
    target=(-t bookworm-backports)
    if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
      # Backports install only what is asked for from them, here qemu-user.
      $sudo tee /etc/apt/sources.list.d/debian-backports.sources >/dev/null <<'SRC'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    fi
    # Its package index, unless an earlier run fetched it.
    [[ "$(apt-cache madison qemu-user)" == *bookworm-backports* ]] ||
      $sudo apt-get update -qq -o DPkg::Lock::Timeout=900
  fi
  apt_install "${target[@]}" qemu-user
}

qemu_registered() {
  grep -qsx enabled "$binfmt/qemu-i386" && grep -qsx "interpreter $qemu" "$binfmt/qemu-i386"
}

# Through binfmt-support, which keeps the entry and registers it again at each boot; F: the
# kernel opens the emulator now, so it is found in any mount namespace later. By hand only
# where update-binfmts cannot register it.
register_qemu() {
  installed binfmt-support || apt_install binfmt-support
  [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
  # An entry of that name for another emulator (an earlier set-up's) makes way.
  [ -e "$binfmt/qemu-i386" ] && echo -1 | $sudo tee "$binfmt/qemu-i386" >/dev/null
  if [[ "$(update-binfmts --display qemu-i386 2>/dev/null)" == *"interpreter = $qemu"* ]]; then
    $sudo update-binfmts --enable qemu-i386 || true
  else
    $sudo update-binfmts --install qemu-i386 "$qemu" --magic "$i386_magic" --mask "$i386_mask" \
      --credentials no --fix-binary yes || true
  fi
  qemu_registered ||
    printf ':qemu-i386:M::%s:%s:%s:F\n' "$i386_magic" "$i386_mask" "$qemu" |
    $sudo tee "$binfmt/register" >/dev/null
}

# Most kernels start 32-bit programs themselves; some (built or booted without 32-bit
# emulation) refuse, and there qemu runs them, registered with binfmt_misc.
setup_32bit_start() {
  if "$wine32" --version >/dev/null 2>&1 && { [ ! -e "$binfmt/qemu-i386" ] || qemu_registered; }; then
    return 0
  fi
  echo "This kernel does not start 32-bit programs: registering qemu-i386 for them" >&2
  install_qemu
  register_qemu
  if ! "$wine32" --version >/dev/null 2>&1; then
    echo "$0: $wine32 still does not start; see $binfmt/qemu-i386" >&2
    exit 1
  fi
}

install_missing
[ $with_wine32 -eq 1 ] && setup_32bit_start
exit 0
