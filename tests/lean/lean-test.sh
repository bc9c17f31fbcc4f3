#!/bin/sh
# The programs stay lean: they import nothing that allocates memory, throws
# or unwinds, works with threads or looks up translated messages, and their
# code stays near its present size. One call that can throw, such as
# std::string_view::substr with a position the compiler cannot bound, links
# in the C++ run-time's exception code, and with it imports of all of these
# from the C library and seven times the code; where the run-time is a
# shared library (the Debian package's), the throw itself is imported.
#
#   lean-test.sh PROGRAM...
#
# Reads the programs' dynamic symbols and sections with nm and size
# (binutils); without them it skips (77).
set -u
. "$(dirname "$0")/../lib.sh"

# About 16 KiB of code each today (GCC 12, optimised; 31 KiB unoptimised):
# twice that leaves room for growth and for another compiler, and the
# exception code alone is several times more. An unoptimised build names
# its own ceiling.
max_text=${DPREP_MAX_TEXT:-32768}

for tool in nm size; do
    command -v $tool >/dev/null 2>&1 ||
        skip "$tool (binutils) is not installed: the programs' imports and size are not checked"
done

for prog; do
    begin "${prog##*/}"
    # Every program imports __cxa_finalize, and may __cxa_atexit: neither
    # throws nor allocates on the program's behalf.
    banned=$(nm -D --undefined-only "$prog" | awk '{ sub(/@.*/, "", $NF); print $NF }' |
        grep -E '^(malloc|calloc|realloc|reallocarray|free|aligned_alloc|posix_memalign|memalign|valloc|pvalloc|strn?dup|_Zn[wa].*|_Zd[la].*|__cxa_.*|__gxx_personality.*|_Unwind_.*|.*__throw_.*|pthread_.*|__pthread_.*|.*gettext|textdomain|bindtextdomain|bind_textdomain_codeset|catopen|catgets|catclose)$' |
        grep -vx -e __cxa_finalize -e __cxa_atexit)
    [ -z "$banned" ] || fail "imports $(echo "$banned" | paste -sd ' ' -)"
    text=$(size -A "$prog" | awk '$1 == ".text" { print $2 }')
    [ "${text:-0}" -gt 0 ] && [ "$text" -le $max_text ] ||
        fail ".text of ${text:-unknown size} bytes, more than $max_text"
done
finish
