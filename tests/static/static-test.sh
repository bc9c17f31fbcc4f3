#!/bin/sh
# A fully static program needs nothing from the machine it runs on: no
# loader, no shared library, no locale data. Checks the ELF headers, then
# runs a whole session inside an otherwise empty root directory, where
# nothing but the program itself exists (and the emulator, static too, that
# a build for another kind of PC needs): once with no locale named, once
# with a UTF-8 one.
#
#   static-test.sh <dprep-en or dprep-sv> <case directory>
#
# The case directory is the end-to-end case of a whole run. The empty root
# needs chroot and root's rights, and the headers readelf: without them the
# session runs in a scratch directory, and the test, having checked what it
# could, skips (77), saying what it did not check.
set -u
. "$(dirname "$0")/../lib.sh"
exe=$1
case=$2

if command -v readelf >/dev/null 2>&1; then
    readelf -lW "$exe" | grep -q 'INTERP' && fail "$exe asks for a program interpreter"
    readelf -dW "$exe" | grep -q 'NEEDED' && fail "$exe needs shared libraries: $(readelf -dW "$exe" | grep NEEDED)"
else
    skipped "readelf is not installed: not checked that $exe asks for no loader and no shared library"
fi

new_scratch
mkdir "$scratch/root" "$scratch/got" "$scratch/want"
cp "$exe" "$scratch/root/dprep"
# The emulator goes in with the program, which it can only as a static one.
set -- ${DPREP_EMULATOR-}
chroot=$(command -v chroot)
if [ "$(id -u)" != 0 ]; then
    why="not root"
elif [ -z "$chroot" ]; then
    why="chroot is not installed"
elif [ $# -gt 0 ] && ! command -v readelf >/dev/null 2>&1; then
    why="no readelf to tell whether the emulator $1 is static"
elif [ $# -gt 0 ] && { ! readelf -lW "$1" >"$scratch/emulator" 2>&1 || grep -q INTERP "$scratch/emulator"; }; then
    why="the emulator $1 is no statically linked program"
else
    why=
fi
if [ -z "$why" ]; then
    echo "running in an empty root"
    if [ $# -gt 0 ]; then
        cp "$1" "$scratch/root/emulator" && shift && DPREP_EMULATOR="/emulator $*"
    fi
    root=$scratch/root prog=/dprep
else
    skipped "$why: the session ran in a scratch directory, not in an empty root"
    root= prog=./dprep
fi
# No locale at all, then a UTF-8 one named that the root does not hold.
for DPREP_UTF8 in "" sv_SE.UTF-8; do
    begin "${DPREP_UTF8:-C}"
    rm -f "$scratch/root/fconfig.dat"
    expect "$case" "$scratch/want"
    DPREP_RUNNER="env -i ${DPREP_UTF8:+LANG=$DPREP_UTF8} ${root:+$chroot $root}" \
        session "$scratch/root" "$case/stdin" "$scratch/got" $prog
    same "$scratch/want" "$scratch/got"
    cmp -s "$scratch/root/fconfig.dat" "$case/after.dat" || fail "fconfig.dat differs"
done
finish
