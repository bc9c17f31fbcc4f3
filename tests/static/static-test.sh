#!/bin/sh
# A fully static program needs nothing from the machine it runs on: no
# loader, no shared library. Checks the ELF headers, then runs a whole
# session inside an otherwise empty root directory, where nothing but the
# program itself exists.
#
#   static-test.sh <dprep-en or dprep-sv> <case directory>
#
# The case directory holds stdin, stdout and after.dat of a whole run. The
# empty-root run needs chroot and root's rights; without them the session
# runs in a scratch directory instead.
set -u
exe=$1
case=$2

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

if command -v readelf >/dev/null 2>&1; then
    readelf -lW "$exe" | grep -q 'INTERP' && fail "$exe asks for a program interpreter"
    readelf -dW "$exe" | grep -q 'NEEDED' && fail "$exe needs shared libraries: $(readelf -dW "$exe" | grep NEEDED)"
else
    echo "note: readelf is not installed; ELF headers not checked"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/root"
cp "$exe" "$scratch/root/dprep"
chroot=$(command -v chroot 2>/dev/null)
if [ "$(id -u)" = 0 ] && [ -n "$chroot" ]; then
    # A build that this kernel cannot run takes its emulator in with it,
    # which must then be as self-contained as the program.
    emulator=
    if [ -n "${DPREP_EMULATOR-}" ]; then
        if readelf -lW "$DPREP_EMULATOR" | grep -q 'INTERP'; then
            echo "SKIP: $DPREP_EMULATOR is not statically linked; it cannot run in an empty root"
            exit 77
        fi
        cp "$DPREP_EMULATOR" "$scratch/root/emulator"
        emulator=/emulator
    fi
    echo "running in an empty root"
    env -i "$chroot" "$scratch/root" $emulator /dprep <"$case/stdin" >"$scratch/out" 2>"$scratch/err"
else
    echo "note: not root or no chroot; running in a scratch directory"
    (cd "$scratch/root" && env -i ${DPREP_EMULATOR-} ./dprep <"$case/stdin" >"$scratch/out" 2>"$scratch/err")
fi
status=$?
[ "$status" = 0 ] || fail "exit status $status"
[ -s "$scratch/err" ] && fail "standard error: $(cat "$scratch/err")"
cmp -s "$scratch/out" "$case/stdout" || {
    fail "standard output differs"
    diff "$case/stdout" "$scratch/out" | head -20
}
cmp -s "$scratch/root/fconfig.dat" "$case/after.dat" || fail "fconfig.dat differs"

[ "$failed" = 0 ] || exit 1
echo "static test passed"
