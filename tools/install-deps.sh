#!/usr/bin/env bash
# Installs what a command needs on a Debian 12 machine, only what is missing.
#   install-deps.sh native   compilers, CMake, TagLib, GoogleTest, Google Benchmark, valgrind,
#                            sox with mutagen for the session's audio corpus, Pillow, which
#                            draws the dialog's banner (tools/make_banner.py), and id3lib's
#                            sources (every build links the same patched id3lib)
#   install-deps.sh win64    the default play: MinGW-w64 for x86-64, zlib, id3lib's and
#                            TagLib's sources, wine64 and Xvfb; nothing of the i386 architecture
#   install-deps.sh wine32   the 32-bit run alone: wine32 from the i386 architecture, and
#                            qemu-user registered for 32-bit programs where the kernel cannot
#                            start them
#   install-deps.sh win32    play --win32: as win64 but the i686 compilers, NSIS and wine32
#                            instead of the x86-64 compiler and wine64
#   install-deps.sh tests    what the tests build with: native, win64, win32 but wine32, and
#                            pefile for the checks of the shipped files
#   install-deps.sh windows  tests and wine32
#   install-deps.sh render   windows plus ImageMagick, to turn the dialog's picture into PNG,
#                            and Wine's own fonts (Marlett draws the caption's close box)
#   install-deps.sh --missing SET   lists the packages of SET not installed, installs nothing
# A second run changes nothing. The archive is taken as it is: an index that fails to
# download is a warning, and i386 packages whose amd64 halves' updates are not yet published
# for i386 come, both halves, from the release's main suite.
set -euo pipefail
list_only=0
if [ "${1:-}" = --missing ]; then
  list_only=1
  shift
fi
want=${1:-native}

native_pkgs=(cmake g++ clang libclang-rt-14-dev libtag1-dev libgtest-dev googletest
             libbenchmark-dev valgrind pkg-config ninja-build python3 python3-mutagen sox
             libsox-fmt-mp3 dpkg-dev zlib1g-dev python3-pil)
# Both plays: the Windows builds, with id3lib and TagLib from Debian's sources (GoogleTest's
# are added to every Windows build, tests or not), and an X server for Wine.
play_pkgs=(cmake ninja-build pkg-config dpkg-dev googletest libz-mingw-w64-dev libutfcpp-dev
           xvfb xauth)
win64_pkgs=("${play_pkgs[@]}" g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64)
# The shipped 32-bit DLL is built with the win32 thread model: the posix one links
# winpthread, which imports functions Windows XP lacks. Its build finds NSIS for the setup program.
win32_build_pkgs=(g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                  nsis)
wine32_pkgs=(wine32:i386)
# Everything the builds and tests compile and check with.
build_pkgs=("${native_pkgs[@]}" "${win64_pkgs[@]}" "${win32_build_pkgs[@]}" python3-pefile)

with_wine32=0
case "$want" in
  native) pkgs=("${native_pkgs[@]}") ;;
  win64) pkgs=("${win64_pkgs[@]}") ;;
  wine32) pkgs=(xvfb xauth); with_wine32=1 ;;
  win32) pkgs=("${play_pkgs[@]}" "${win32_build_pkgs[@]}"); with_wine32=1 ;;
  tests) pkgs=("${build_pkgs[@]}") ;;
  windows) pkgs=("${build_pkgs[@]}"); with_wine32=1 ;;
  render) pkgs=("${build_pkgs[@]}" imagemagick fonts-wine); with_wine32=1 ;;
  *) echo "usage: $0 [--missing] [native|win64|wine32|win32|tests|windows|render]" >&2; exit 2 ;;
esac
[ $with_wine32 -eq 1 ] && pkgs+=("${wine32_pkgs[@]}")

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
apt_options=(-o DPkg::Lock::Timeout=900)
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

# An index that fails (a mirror mid-sync) is named and left out; whether the packages can
# still be installed decides the outcome.
apt_update() {
  local log
  log=$(mktemp)
  if ! $sudo apt-get update -qq "${apt_options[@]}" >"$log" 2>&1; then
    grep -o 'Failed to fetch [^ ]*' "$log" | sed 's/^Failed to fetch /warning: package index not downloaded, going on without it: /' >&2 ||
      echo "warning: apt-get update failed, going on with the indexes there are: $(tail -n1 "$log")" >&2
  fi
  rm -f "$log"
}

apt_install_from() {
  local log=$1
  shift
  $sudo apt-get install -y -qq --no-install-recommends "${apt_options[@]}" "$@" >"$log" 2>&1
}

# "name:amd64=version name:i386=version" for each i386 package the install would take whose
# installed amd64 half is at another version than the main suite's.
main_suite_pairs() {
  local preferences name version have
  preferences=$(mktemp)
  printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n' "$release" >"$preferences"
  apt-get install -s --no-install-recommends -o Dir::Etc::Preferences="$preferences" \
      -o Dir::Etc::PreferencesParts=/nonexistent "$@" 2>/dev/null |
    sed -nE 's/^Inst ([^ ]+):i386 .*\(([^ ]+) .*/\1 \2/p' |
    while read -r name version; do
      have=$(dpkg-query -W -f='${Version}' "$name:amd64" 2>/dev/null) || continue
      [ "$have" = "$version" ] || echo "$name:amd64=$version $name:i386=$version"
    done
  rm -f "$preferences"
}

# Multi-Arch "same" pairs must be at one version. A mirror's security suite can carry amd64
# updates whose i386 halves it does not publish yet (or an amd64 half is already installed
# from it): then both halves come from the main suite, the amd64 one moved to that version.
apt_install() {
  local log status=0 pairs
  log=$(mktemp)
  apt_install_from "$log" "$@" || status=$?
  if [ $status -ne 0 ] && [[ " $* " == *:i386\ * ]] &&
     grep -qsE 'held (broken )?packages|unmet dependencies' "$log"; then
    echo "i386 packages lag their amd64 halves in $release's updates: installing both halves from $release's main suite" >&2
    read -ra pairs <<<"$(main_suite_pairs "$@" | tr '\n' ' ')"
    status=0
    apt_install_from "$log" -t "$release" --allow-downgrades "$@" "${pairs[@]}" || status=$?
  fi
  if [ $status -ne 0 ]; then
    echo "$0: cannot install: $*" >&2
    # apt's own reasons: the packages it cannot install and what they wait for.
    grep -E '^ [^ ].* : |^E: ' "$log" | sed 's/^/  /' >&2 || tail -n5 "$log" >&2
  fi
  rm -f "$log"
  return $status
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

has_source_entries() {
  grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ || grep -qs '^deb-src' /etc/apt/sources.list
}

# id3lib (every build) and TagLib (the Windows player program) are built from Debian's own
# source packages.
add_source_entries() {
  $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $release $release-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
}

install_missing() {
  local missing=() p changed=0
  for p in "${pkgs[@]}"; do
    [[ "$p" == *:i386 ]] && continue  # install_wine32's, after the architecture is added
    installed "$p" || [[ " ${missing[*]-} " == *" $p "* ]] || missing+=("$p")
  done
  if [[ " ${pkgs[*]} " == *" dpkg-dev "* ]] && ! has_source_entries; then
    add_source_entries
    changed=1
  fi
  [ ${#missing[@]} -eq 0 ] && [ $changed -eq 0 ] && return 0
  echo "Installing: ${missing[*]:-(package indexes only)}" >&2
  apt_update
  [ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
}

wine32=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc
# The emulator: qemu-user from 9.1 on (static). Bookworm's own 7.2 ignores MAP_FIXED_NOREPLACE,
# so each Wine process reserves its address space 64 KB at a time: about a minute per process
# start, against about a second with the qemu of bookworm-backports.
qemu=/usr/bin/qemu-i386
qemu_min_version=1:9.1
# 32-bit x86 ELF programs, executables and shared objects (qemu's own magic and mask), shared
# with emulate-32bit.sh.
# shellcheck source=tools/i386-binfmt.sh
. "$(dirname "${BASH_SOURCE[0]}")/i386-binfmt.sh"

install_wine32() {
  installed wine32:i386 && return 0
  # wine32 is a package of the i386 architecture.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  echo "Installing: ${wine32_pkgs[*]}" >&2
  apt_update
  apt_install "${wine32_pkgs[@]}"
}

qemu_installed() {
  local version
  version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null) &&
    dpkg --compare-versions "$version" ge "$qemu_min_version"
}

install_qemu() {
  qemu_installed && return 0
  local target=()
  if [ "$release" = bookworm ]; then
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
    [[ "$(apt-cache madison qemu-user)" == *bookworm-backports* ]] || apt_update
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

if [ $list_only -eq 1 ]; then
  for p in "${pkgs[@]}"; do installed "$p" || echo "$p"; done | sort -u
  exit 0
fi
install_missing
if [ $with_wine32 -eq 1 ]; then
  install_wine32
  setup_32bit_start
fi
exit 0
