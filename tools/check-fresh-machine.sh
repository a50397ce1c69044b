#!/usr/bin/env bash
# Runs commands as on a new machine: each in a pristine Debian root of its own, on a fresh
# clone, and prints each one's time, exit status and the packages it installed.
#
#   check-fresh-machine.sh [--commit REV] [COMMAND...]
#
# COMMAND is a shell command run in the clone, e.g. 'tools/play.sh --win32'; by default
# tools/play.sh, tools/play.sh --win32 and tools/test.sh, one after the other. REV is the
# commit cloned, by default HEAD of the checkout this script is in (uncommitted changes are
# not in it). The exit status is nonzero when any command failed.
#
# The root is Debian's minbase with git and ca-certificates, as debootstrap makes it, with
# the package sources of this machine's own apt configuration (its release's suites only),
# built once and kept in TUNELORE_FRESH_ROOT (default /var/cache/tunelore-fresh-root). Each
# command gets an overlay over it, so it starts pristine, with /proc, /sys, /dev and a tmpfs
# /tmp mounted and the machine's cache of downloaded packages shared (TUNELORE_FRESH_ARCHIVES,
# default /var/cache/apt/archives: an empty folder there makes the command download all).
# Every mount is undone whatever happens. The kernel's binfmt_misc is the machine's: the
# output says whether the root found the 32-bit emulator registered or registered it, and
# an entry a command changed is put back as it was.
#
# Needs root and the package archive, so the test command does not run it.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root" >&2; exit 1; }
repo=$(cd "$(dirname "$0")/.." && pwd)
rev=HEAD
if [ "${1:-}" = --commit ]; then
  rev=${2:?"usage: $0 [--commit REV] [COMMAND...]"}
  shift 2
fi
commands=("$@")
[ ${#commands[@]} -gt 0 ] || commands=("tools/play.sh" "tools/play.sh --win32" "tools/test.sh")
commit=$(git -C "$repo" rev-parse --verify "$rev^{commit}")

release=$(. /etc/os-release && echo "$VERSION_CODENAME")
cache=${TUNELORE_FRESH_ROOT:-/var/cache/tunelore-fresh-root}
fresh_root=$cache/$release
archives=${TUNELORE_FRESH_ARCHIVES:-/var/cache/apt/archives}
binfmt=/proc/sys/fs/binfmt_misc
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
logs=$(mktemp -d "${TMPDIR:-/tmp}/tunelore-fresh-machine.XXXXXX")
mkdir -p "$archives/partial" "$cache"

# "URI SUITE COMPONENT" for each of this machine's Debian package indexes of its release's
# suites: no backports, no source entries, no other vendors' archives.
release_indexes() {
  apt-get indextargets --format '$(REPO_URI)|$(CODENAME)|$(COMPONENT)|$(ORIGIN)' \
      'Identifier: Packages' "Architecture: $(dpkg --print-architecture)" |
    awk -F'|' -v r="$release" \
      '$4 == "Debian" && ($2 == r || $2 == r "-updates" || $2 == r "-security") { print $1, $2, $3 }' |
    sort -u
}

# The same indexes as package sources, one entry per archive and suite.
write_sources() {
  release_indexes | awk -v key="$keyring" '
    { comps[$1 " " $2] = comps[$1 " " $2] (comps[$1 " " $2] ? " " : "") $3 }
    END {
      for (entry in comps) {
        split(entry, f, " ")
        printf "Types: deb\nURIs: %s\nSuites: %s\nComponents: %s\nSigned-By: %s\n\n", \
          f[1], f[2], comps[entry], key
      }
    }'
}

# How this machine reaches its archive (proxies, checks of the index dates), for the root.
write_acquire_settings() {
  apt-config dump Acquire | grep -E '^Acquire::([a-z]+::Proxy|Check-Valid-Until|Check-Date) ' || true
}

build_root() {
  [ -e "$fresh_root/.made" ] && return 0
  command -v debootstrap >/dev/null ||
    apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=900 debootstrap \
      >"$logs/debootstrap-install.log" 2>&1
  local mirror new=$fresh_root.new
  mirror=$(release_indexes | awk -v r="$release" '$2 == r { print $1; exit }')
  [ -n "$mirror" ] || { echo "$0: no $release package index in this machine's apt configuration" >&2; exit 1; }
  echo "== building the fresh root: debootstrap minbase $release from $mirror"
  rm -rf "$new"
  debootstrap --variant=minbase --include=git,ca-certificates --cache-dir="$archives" \
    "$release" "$new" "$mirror" >"$logs/debootstrap.log" 2>&1 ||
    { tail -n 20 "$logs/debootstrap.log" >&2; exit 1; }
  rm -f "$new/etc/apt/sources.list"
  write_sources >"$new/etc/apt/sources.list.d/debian.sources"
  write_acquire_settings >"$new/etc/apt/apt.conf.d/50machine-acquire"
  echo "$release from $mirror, $(date -u +%Y-%m-%d)" >"$new/.made"
  mv "$new" "$fresh_root"
}

# The kernel's entry for 32-bit programs, one line; "absent" when there is none.
emulator_entry() {
  if [ -e "$binfmt/qemu-i386" ]; then paste -sd' ' "$binfmt/qemu-i386"; else echo absent; fi
}

# Puts back the entry saved as emulator_entry printed it.
restore_emulator_entry() {
  local saved=$1 interpreter flags offset magic mask
  [ -e "$binfmt/qemu-i386" ] && echo -1 >"$binfmt/qemu-i386"
  [ "$saved" = absent ] && return 0
  read -r interpreter flags offset magic mask < <(sed -E \
    's/.*interpreter ([^ ]+) flags: ([^ ]*) offset ([0-9]+) magic ([0-9a-f]+) mask ([0-9a-f]+).*/\1 \2 \3 \4 \5/' \
    <<<"$saved")
  printf ':qemu-i386:M:%s:%s:%s:%s:%s\n' "$offset" "$(sed 's/../\\x&/g' <<<"$magic")" \
    "$(sed 's/../\\x&/g' <<<"$mask")" "$interpreter" "$flags" >"$binfmt/register"
  [[ "$saved" == disabled* ]] && echo 0 >"$binfmt/qemu-i386"
  return 0
}

# The run in progress, for the clean-up.
run_dir=""
merged=""
entry_before=""

# Ends what the command left running in its root, so that every mount can be undone.
end_root_processes() {
  local signal pid
  for signal in TERM KILL; do
    for pid in $(root_processes); do kill -s "$signal" "$pid" 2>/dev/null || true; done
    [ -z "$(root_processes)" ] && return 0
    sleep 2
  done
}

root_processes() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$merged" ] && echo "${p#/proc/}"
  done
  return 0
}

undo_run() {
  [ -n "$run_dir" ] || return 0
  end_root_processes
  if [ -n "$entry_before" ] && [ "$(emulator_entry)" != "$entry_before" ]; then
    restore_emulator_entry "$entry_before"
  fi
  if mountpoint -q "$merged"; then
    umount -R "$merged" || { sleep 5; umount -R "$merged"; } || umount -R -l "$merged"
  fi
  rm -rf "$run_dir"
  run_dir=""
  entry_before=""
}

cleanup() {
  undo_run
  rm -rf "$fresh_root.new"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# A pristine copy of the root with what a booted machine has mounted, and a fresh clone.
mount_root() {
  run_dir=$(mktemp -d "$cache/run.XXXXXX")
  merged=$run_dir/merged
  mkdir -p "$run_dir/upper" "$run_dir/work" "$merged"
  mount -t overlay overlay \
    -o "lowerdir=$fresh_root,upperdir=$run_dir/upper,workdir=$run_dir/work" "$merged"
  mount -t proc proc "$merged/proc"
  mount -t binfmt_misc binfmt_misc "$merged$binfmt"
  local shared
  for shared in sys dev; do
    mount --rbind "/$shared" "$merged/$shared"
    mount --make-rslave "$merged/$shared"  # unmounting here must not reach the machine's
  done
  mount -t tmpfs tmpfs "$merged/tmp"
  mount --bind "$archives" "$merged/var/cache/apt/archives"
  cp -L /etc/resolv.conf "$merged/etc/resolv.conf"
  git clone -q --no-checkout "$repo" "$merged/root/tunelore"
  git -C "$merged/root/tunelore" checkout -q --detach "$commit"
}

in_root() {
  chroot "$merged" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

installed_packages() {
  in_root dpkg-query -W -f '${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort
}

# What the command did to the kernel's entry for 32-bit programs, from the machine's view.
emulator_report() {
  local log=$1 after
  after=$(emulator_entry)
  if [ "$after" != "$entry_before" ] || grep -q 'registering qemu-i386' "$log"; then
    echo "the root registered the emulator (qemu-i386 before: $(entry_brief "$entry_before");" \
      "after: $(entry_brief "$after")), put back as it was"
  elif [ "$entry_before" = absent ]; then
    echo "no emulator registered, before or after: the kernel starts 32-bit programs itself"
  else
    echo "the root found the emulator registered (qemu-i386: $(entry_brief "$entry_before"))" \
      "and registered none"
  fi
}

entry_brief() { sed -E 's/^(\S+) interpreter (\S+) flags: (\S*) .*/\1, \2, flags \3/' <<<"$1"; }

duration() { printf '%d min %02d s' $(($1 / 60)) $(($1 % 60)); }

# cpu_seconds: CPU seconds, user and system, of the processes this shell has waited for so
# far. On a machine shared with other work, a command's time says less than what it used.
cpu_seconds=0
count_cpu_seconds() {
  times >"$logs/times"  # in this shell: a subshell's children would be its own
  cpu_seconds=$(tail -n1 "$logs/times" |
    awk '{ for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] } }
         END { printf "%d\n", s }')
}

load_average() { cut -d' ' -f1 /proc/loadavg; }

summary=()
failures=0

# run_command N COMMAND: the command in a pristine root, and what it did.
run_command() {
  local n=$1 command=$2 log=$logs/$1.log status=0 start seconds before manual_before
  echo "== [$n/${#commands[@]}] $command (log: $log)"
  mount_root
  before=$(installed_packages)
  manual_before=$(in_root apt-mark showmanual | sort)
  entry_before=$(emulator_entry)
  local cpu load
  count_cpu_seconds
  cpu=$cpu_seconds
  load=$(load_average)
  start=$SECONDS
  in_root /bin/bash -c "cd /root/tunelore && $command" >"$log" 2>&1 </dev/null || status=$?
  seconds=$((SECONDS - start))
  count_cpu_seconds
  cpu=$((cpu_seconds - cpu))
  local added asked
  added=$(comm -13 <(echo "$before") <(installed_packages))
  asked=$(comm -13 <(echo "$manual_before") <(in_root apt-mark showmanual | sort) | paste -sd' ' -)
  echo "   exit status $status after $(duration "$seconds"), CPU $(duration "$cpu")" \
    "(load average $load at the start, $(load_average) at the end, $(nproc) cores)"
  echo "   installed $(grep -c . <<<"$added" || true) packages; asked for by name: ${asked:-none}"
  paste -sd' ' - <<<"$added" | fold -s -w 96 | sed 's/^/     /'
  echo "   32-bit programs: $(emulator_report "$log")"
  if [ $status -ne 0 ]; then
    failures=$((failures + 1))
    echo "   last lines of its output:"
    tail -n 15 "$log" | sed 's/^/     | /'
  fi
  summary+=("$(printf '%3d  %14s  CPU %14s  %4d packages  %s' "$status" "$(duration "$seconds")" \
    "$(duration "$cpu")" "$(grep -c . <<<"$added" || true)" "$command")")
  undo_run
}

build_root
echo "== root: $(cat "$fresh_root/.made"); commit $(git -C "$repo" log -1 --format='%h %s' "$commit")"
for i in "${!commands[@]}"; do
  run_command $((i + 1)) "${commands[$i]}"
done
echo "== summary (exit status, time, CPU time, packages installed, command):"
printf '%s\n' "${summary[@]}"
echo "== $failures of ${#commands[@]} failed; logs in $logs"
[ $failures -eq 0 ]
