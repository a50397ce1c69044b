# The binfmt_misc entry that sends 32-bit x86 ELF programs, executables and shared objects,
# to qemu (qemu's own magic and mask); sourced by install-deps.sh and emulate-32bit.sh.
# shellcheck shell=bash disable=SC2034
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
