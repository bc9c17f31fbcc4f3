#!/bin/sh
# The arguments: --help and --version, each alone, print on standard output
# and end with status 0; any other argument is refused on standard error
# with status 2. None asks, reads or writes anything.
#
# Usage: arguments.sh EXECUTABLE VERSION
set -u
. "$(dirname "$0")/../lib.sh"
exe=$1 version=$2
new_scratch
cd "$scratch" || exit 2
printf 'eth0\n' >input

# run WANT-STATUS ARG...: the program with these arguments, in an empty folder.
run() {
    begin "$(printf "'%s' " "$@")"
    { run_prog "$exe" "$@" >out 2>err; echo $? >status; cat >rest; } <input
    [ "$(cat status)" = "$want" ] || fail "status $(cat status), expected $want"
    cmp -s input rest || fail "it read its input"
    [ "$(ls)" = "err
input
out
rest
status" ] || fail "it wrote a file: $(ls)"
}
want=0
run --help
[ ! -s err ] && grep -q fconfig.dat out && grep -q findmnt out && grep -q -- --version out ||
    fail "the help says nothing of fconfig.dat, findmnt or --version, or is not alone on standard output"
run --version
[ "$(cat out)" = "$(basename "$exe") $version" ] && [ ! -s err ] || fail "the version is '$(cat out)'"
want=2
refused() {
    run "$@"
    [ ! -s out ] && [ "$(wc -l <err)" = 1 ] && grep -q -- --help err ||
        fail "not one line naming --help on standard error alone"
}
for arg in /mnt/floppy -h - -- '' --HELP --version=1; do refused "$arg"; done
refused --help --help
refused --version -
finish
