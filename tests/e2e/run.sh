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
# fconfig.dat afterwards. DPREP_EMULATOR, when set, is the command that runs
# the executable (a 32-bit build on a kernel that runs no 32-bit program).
#
# With DPREP_REGENERATE=1 (tests/regenerate) each case's expected output is
# rewritten from the run instead: stdout always, stderr and status only when
# not empty and not 0, after.dat only when the run leaves a file other than
# before.dat (or the case pinned one already); every file changed is named.
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cases=$(cd "$2" && pwd)
failed=0
count=0
changed=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    [ "$case_failed" = 1 ] || echo "FAIL $name: $(cat "$case/about" 2>/dev/null)"
    echo "  $*"
    case_failed=1
}

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
    put "$case/stdout" "$scratch/out"
    if [ -s "$scratch/err" ]; then put "$case/stderr" "$scratch/err"; else drop "$case/stderr"; fi
    echo "$status" >"$scratch/status"
    if [ "$status" != 0 ]; then put "$case/status" "$scratch/status"; else drop "$case/status"; fi
    if [ -f "$work/fconfig.dat" ] &&
        { [ -f "$case/after.dat" ] || ! cmp -s "$work/fconfig.dat" "$case/before.dat"; }; then
        put "$case/after.dat" "$work/fconfig.dat"
    else
        drop "$case/after.dat"
    fi
}

differs() {  # expected, got, what
    cmp -s "$1" "$2" && return 1
    fail "$3 differs"
    diff "$1" "$2" | head -20
}

for case in "$cases"/*/; do
    case=${case%/}
    name=$(basename "$case")
    count=$((count + 1))
    case_failed=0
    work=$scratch/$name
    mkdir "$work"
    [ -e "$case/before.dat" ] && cp -R "$case/before.dat" "$work/fconfig.dat"
    (cd "$work" && timeout 10 ${DPREP_EMULATOR-} "$exe" <"$case/stdin" >"$scratch/out" 2>"$scratch/err")
    status=$?
    if [ "${DPREP_REGENERATE-}" = 1 ]; then
        regenerate
        continue
    fi
    want_status=0
    [ -f "$case/status" ] && want_status=$(cat "$case/status")
    [ "$status" = "$want_status" ] || fail "status $status, expected $want_status"
    differs "$case/stdout" "$scratch/out" "standard output"
    if [ -f "$case/stderr" ]; then
        differs "$case/stderr" "$scratch/err" "standard error"
    elif [ -s "$scratch/err" ]; then
        fail "unexpected standard error: $(head -c 300 "$scratch/err")"
    fi
    want_file=
    if [ -f "$case/after.dat" ]; then want_file=$case/after.dat
    elif [ -e "$case/before.dat" ]; then want_file=$case/before.dat
    fi
    if [ -n "$want_file" ]; then
        diff -r "$want_file" "$work/fconfig.dat" >/dev/null 2>&1 ||
            fail "fconfig.dat differs from $(basename "$want_file")"
    elif [ -e "$work/fconfig.dat" ]; then
        fail "fconfig.dat written although nothing was to be saved"
    fi
    if [ -f "$case/after.dat" ]; then
        mode=$(stat -c %a "$work/fconfig.dat" 2>/dev/null)
        [ "$mode" = 600 ] || fail "fconfig.dat has mode $mode, expected 600"
    fi
    others=$(ls -A "$work" | grep -v -x fconfig.dat)
    [ -z "$others" ] || fail "left behind: $others"
    failed=$((failed + case_failed))
done

if [ "${DPREP_REGENERATE-}" = 1 ]; then
    echo "$count cases, $changed files changed"
    exit 0
fi
echo "$count cases, $failed failed"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
