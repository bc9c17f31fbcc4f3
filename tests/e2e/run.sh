#!/bin/sh
# Runs an executable on every case under a directory and compares what it
# leaves with what the case expects, byte for byte.
#
# A case is a directory holding:
#   stdin       the operator's input, fed on standard input
#   stdout      the exact standard output expected
#   stderr      the exact standard error expected (none: must be empty)
#   status      the exit status expected (none: 0)
#   before.dat  fconfig.dat as it lies before the run (none: no file)
#   after.dat   fconfig.dat expected after the run (none: as before)
# The run happens in an empty scratch directory, which must hold nothing but
# fconfig.dat afterwards.
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cases=$(cd "$2" && pwd)
failed=0
count=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL $name: $*"
    case_failed=1
}

for case in "$cases"/*/; do
    name=$(basename "$case")
    count=$((count + 1))
    case_failed=0
    work=$scratch/$name
    mkdir "$work"
    [ -f "$case/before.dat" ] && cp "$case/before.dat" "$work/fconfig.dat"
    (cd "$work" && timeout 10 "$exe" <"$case/stdin" >"$scratch/out" 2>"$scratch/err")
    status=$?
    want_status=0
    [ -f "$case/status" ] && want_status=$(cat "$case/status")
    [ "$status" = "$want_status" ] || fail "status $status, expected $want_status"
    cmp -s "$scratch/out" "$case/stdout" || {
        fail "standard output differs"
        diff "$case/stdout" "$scratch/out" | head -20
    }
    if [ -f "$case/stderr" ]; then
        cmp -s "$scratch/err" "$case/stderr" || fail "standard error differs"
    elif [ -s "$scratch/err" ]; then
        fail "unexpected standard error: $(head -c 300 "$scratch/err")"
    fi
    want_file=
    if [ -f "$case/after.dat" ]; then want_file=$case/after.dat
    elif [ -f "$case/before.dat" ]; then want_file=$case/before.dat
    fi
    if [ -n "$want_file" ]; then
        cmp -s "$work/fconfig.dat" "$want_file" || fail "fconfig.dat differs from $(basename "$want_file")"
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

echo "$count cases, $failed failed"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
