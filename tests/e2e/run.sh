#!/bin/sh
# Runs an executable on every case under a directory and compares what it
# leaves with what the case expects, byte for byte.
#
# A case is a directory holding:
#   about       one line: what the case pins, shown when it fails
#   stdin       the operator's input, fed on standard input
#   stdout      the exact standard output expected
#   stderr      the exact standard error expected (none: must be empty)
#   status      the exit status expected (none: 0)
#   before.dat  fconfig.dat as it lies before the run (none: no file); a
#               directory stands for a fconfig.dat that no save can replace
#   after.dat   fconfig.dat expected after the run (none: as before)
# The run happens in an empty scratch directory, which must hold nothing but
# fconfig.dat afterwards. The executable runs as run_prog (tests/lib.sh)
# runs it: under the runner and through the emulator that the environment
# names, if any.
#
# Usage: run.sh EXECUTABLE CASES [CASE...]: every case in CASES, or the
# cases named.
#
# With DPREP_REGENERATE=1 (tests/regenerate) each case's expected output is
# rewritten from the run instead: stdout always, stderr and status only when
# not empty and not 0, after.dat only when the run leaves a file other than
# before.dat (or the case pinned one already); every file changed is named.
set -u
. "$(dirname "$0")/../lib.sh"
exe=$(cd "$(dirname "$1")" && pwd)/${1##*/}
cases=$(cd "$2" && pwd)
shift 2
failed=0
count=0
changed=0
new_scratch
got=$scratch/got want=$scratch/want

# put FILE CONTENT-FILE, drop FILE: regenerating, said when it changes.
put() {
    cmp -s "$2" "$1" 2>/dev/null && return
    cp "$2" "$1"
    echo "changed: $1"
    changed=$((changed + 1))
}
drop() {
    [ -e "$1" ] || return
    rm "$1"
    echo "removed: $1"
    changed=$((changed + 1))
}

regenerate() {
    put "$case/stdout" "$got/stdout"
    if [ -s "$got/stderr" ]; then put "$case/stderr" "$got/stderr"; else drop "$case/stderr"; fi
    if [ "$(cat "$got/status")" != 0 ]; then put "$case/status" "$got/status"; else drop "$case/status"; fi
    if [ -f "$work/fconfig.dat" ] &&
        { [ -f "$case/after.dat" ] || ! cmp -s "$work/fconfig.dat" "$case/before.dat"; }; then
        put "$case/after.dat" "$work/fconfig.dat"
    else
        drop "$case/after.dat"
    fi
}

[ $# -gt 0 ] || set -- $(ls "$cases")
# Each case runs in a folder of its own: all made at once, with got and want.
(cd "$scratch" && mkdir got want "$@") || exit 2
for name; do
    case=$cases/$name
    begin "$name"
    count=$((count + 1))
    work=$scratch/$name
    [ -e "$case/before.dat" ] && cp -R "$case/before.dat" "$work/fconfig.dat"
    session "$work" "$case/stdin" "$got" "$exe"
    if [ "${DPREP_REGENERATE-}" = 1 ]; then
        regenerate
        continue
    fi
    # In the C locale the case itself is what is expected.
    if [ -n "${DPREP_UTF8-}" ]; then
        expect "$case" "$want"
        same "$want" "$got"
    else
        same "$case" "$got"
    fi
    want_file=
    if [ -f "$case/after.dat" ]; then want_file=$case/after.dat
    elif [ -e "$case/before.dat" ]; then want_file=$case/before.dat
    fi
    if [ -n "$want_file" ]; then
        diff -r "$want_file" "$work/fconfig.dat" >/dev/null 2>&1 ||
            fail "fconfig.dat differs from ${want_file##*/}"
    elif [ -e "$work/fconfig.dat" ]; then
        fail "fconfig.dat written although nothing was to be saved"
    fi
    if [ -f "$case/after.dat" ]; then
        mode=$(stat -c %a "$work/fconfig.dat" 2>/dev/null)
        [ "$mode" = 600 ] || fail "fconfig.dat has mode $mode, expected 600"
    fi
    entries "$work"
    case $entries in "" | "fconfig.dat ") ;; *) fail "left behind: $entries" ;; esac
    ok || { failed=$((failed + 1)) && echo "  $name pins: $(cat "$case/about")"; }
done

if [ "${DPREP_REGENERATE-}" = 1 ]; then
    echo "$count cases, $changed files changed"
    exit 0
fi
echo "$count cases, $failed failed"
[ "$count" -gt 0 ] || fail "no case in $cases"
finish
