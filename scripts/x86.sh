# Sourced: whether this machine runs 32-bit Windows programs. They need a kernel that executes i386
# code (not every kernel is built or booted to) and Debian's 32-bit Wine (wine32:i386) beside the
# 64-bit one. A tiny i386 program is run to find out, rather than guessing from the kernel's version.

# Prints why the kernel cannot run i386 programs, or nothing when it can.
zev_x86_kernel_reason() {
  local dir status
  command -v as >/dev/null && command -v ld >/dev/null || { echo "no assembler to build the i386 check with"; return; }
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/t.s"
  if ! as --32 -o "$dir/t.o" "$dir/t.s" 2>/dev/null || ! ld -m elf_i386 -o "$dir/t" "$dir/t.o" 2>/dev/null; then
    rm -rf "$dir"
    echo "the i386 check program could not be built"
    return
  fi
  "$dir/t" 2>/dev/null
  status=$?
  rm -rf "$dir"
  [ "$status" = 42 ] || echo "this kernel does not run 32-bit (i386) programs (the check program ended with status $status)"
}

# Prints why 32-bit Windows programs cannot run here, or nothing when they can.
zev_x86_reason() {
  local kernel
  kernel=$(zev_x86_kernel_reason)
  if [ -n "$kernel" ]; then echo "$kernel"; return; fi
  [ -x /usr/lib/wine/wine ] || echo "32-bit Wine (wine32:i386) is not installed"
}
