#!/usr/bin/env bash
# Exit status 0 when this machine's kernel runs 32-bit x86 programs (and so 32-bit Wine);
# some virtual machines' kernels are built without that, and answer "Exec format error".
[ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
