#!/usr/bin/env bash
# Runs a 32-bit Windows program under wine32 in the project's own 32-bit prefix and passes
# its exit code through; tools/wine-run.sh describes the environment it reads.
#
#   wine32-run.sh <program.exe> [args...]
#
# CMAKE_CROSSCOMPILING_EMULATOR of the i686 toolchain. Where the kernel cannot start 32-bit
# programs, each start goes through qemu (tools/install-deps.sh wine32 sets that up): about a
# second more per process, and a new Wine server starts the prefix's services, several more.
TUNELORE_WINE_ARCH=win32 exec "$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" "$@"
