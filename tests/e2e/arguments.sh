#!/bin/sh
# The arguments: --help and --version, each alone, print on standard output
# and end with status 0; any other argument is refused on standard error
# with status 2. None asks, reads or writes anything.
#
# Usage: arguments.sh EXECUTABLE VERSION
set -u
. "$(dirname "$0")/../lib.sh"
# The program by its whole path: it runs in a folder of its own.
exe=$(cd "$(dirname "$1")" && pwd)/${1##*/} version=$2
new_scratch
cd "$scratch" && mkdir floppy && printf 'eth0\n' >input || exit 2

# run STATUS STREAM PATTERN ARG...: with these arguments, in an empty folder,
# the status STATUS, and STREAM (out or err) alone printed, holding PATTERN;
# a refusal is one line. Standard output goes to $to if set ("closed": none).
run() {
    want=$1 stream=$2 pattern=$3 other=out
    [ "$stream" = out ] && other=err
    shift 3
    label=
    for arg; do label="$label'$arg' "; done
    begin "$label${to:+>$to}"
    { (cd floppy && case ${to-} in closed) exec >&- ;; ?*) exec >"$to" ;; esac &&
        exec_prog "$exe" "$@") >out 2>err; got=$?; IFS= read -r rest; } <input
    [ "$got" = "$want" ] || fail "status $got, expected $want"
    [ "$rest" = eth0 ] || fail "it read its input"
    entries floppy
    [ -z "$entries" ] || fail "it wrote $entries"
    [ ! -s "$other" ] && grep -q -e "$pattern" "$stream" ||
        fail "standard $stream does not hold '$pattern', or the other is not empty"
    [ "$want" = 0 ] || { read -r _ && ! read -r _; } <err || fail "the refusal is more than a line"
}
run 0 out fconfig.dat --help
grep -q findmnt out && grep -q -e --version out || fail "the help names neither findmnt nor --version"
run 0 out "^${exe##*/} $version\$" --version
{ read -r _ && ! read -r _; } <out || fail "the version is more than a line"
for arg in /mnt/floppy -h - -- '' --HELP --version=1; do run 2 err --help "$arg"; done
run 2 err --help --help --help
run 2 err --help --version -
# Help or a version that cannot be written is no success (into a full device
# where the root has one).
for to in closed $([ -c /dev/full ] && echo /dev/full); do
    for arg in --help --version; do run 1 err "^${exe##*/}: " $arg; done
done
finish
