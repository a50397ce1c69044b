#!/usr/bin/env bash
# Runs a command as on a machine whose kernel starts no 32-bit programs: inside it, every
# 32-bit x86 program (wine32 and the Windows programs it runs) goes through qemu. The
# registration lives in a binfmt_misc of the command's own user namespace (Linux 6.7 and
# later), so the machine's own registrations and everyone else's programs stay as they are.
#
#   emulate-32bit.sh <command> [args...]       e.g. emulate-32bit.sh ctest --preset wine32
#
# Needs root (user ids are mapped one to one, so apt and file ownership keep working) and the
# emulator tools/install-deps.sh installs where it is needed (TUNELORE_QEMU_I386 names another).
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <command> [args...]" >&2
  exit 2
fi
qemu=${TUNELORE_QEMU_I386:-/usr/bin/qemu-i386}
[ -x "$qemu" ] || { echo "$0: $qemu not found (package qemu-user, from bookworm-backports)" >&2; exit 127; }
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root" >&2; exit 1; }
# The same entry as tools/install-deps.sh registers.
. "$(dirname "${BASH_SOURCE[0]}")/i386-binfmt.sh"
entry=":qemu-i386:M::$i386_magic:$i386_mask:$qemu:F"

ready=$(mktemp -u)
mkfifo "$ready"
trap 'rm -f "$ready"' EXIT
# The namespace's first process waits until its ids are mapped.
unshare --user --mount bash -c '
  read -r _ <"$0"
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc ||
    { echo "emulate-32bit.sh: no binfmt_misc of its own here (Linux 6.7 or later needed)" >&2; exit 1; }
  printf "%s\n" "$1" >/proc/sys/fs/binfmt_misc/register
  shift
  exec "$@"' "$ready" "$entry" "$@" &
inside=$!
while [ "$(readlink /proc/$inside/ns/user)" = "$(readlink /proc/self/ns/user)" ]; do sleep 0.05; done
echo "0 0 4294967295" >/proc/$inside/uid_map
echo "0 0 4294967295" >/proc/$inside/gid_map
echo ready >"$ready"
wait $inside
