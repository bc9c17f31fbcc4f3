#!/bin/sh
# Runs whole sessions of one executable under valgrind's memcheck and fails on
# any memory error or leak:
#   save   an existing fconfig.dat is read, the dialogue runs twice ("no" to
#          the first confirmation) and the new file is written
#   abort  the same file, then abort: the file stays as it was
#   eof    no file, and the input ends at the first question
# The answers suit both builds: empty lines keep the defaults and the file's
# password; "n" is no in both languages; "y" confirms in English and "j" in
# Swedish, and a word the build does not know only brings the question back.
#
# Usage: tests/valgrind.sh EXECUTABLE. Exit 77 (skipped) without valgrind.
set -u
if ! command -v valgrind >/dev/null 2>&1; then
    echo "SKIP: valgrind not found"
    exit 77
fi
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
count=0

# The whole run's file, with a flag that the save must change.
sed 's/^clear_log=0$/clear_log=1/' "$(dirname "$0")/e2e/cases/en/whole-run/after.dat" \
    >"$scratch/before.dat"
# A bad line whose value holds control bytes, reported escaped.
printf 'ip=1.2.3.4\033[2J\001\n' >>"$scratch/before.dat"

# More empty answers than the dialogue has questions: the rest reach the
# confirmation, which an empty answer only repeats.
empties='










'

# session NAME STATUS WITH_FILE INPUT: runs one session, checks its status and
# valgrind's verdict, and leaves the directory in $scratch/NAME.
session() {
    name=$1 want=$2 with_file=$3 input=$4
    count=$((count + 1))
    work=$scratch/$name
    mkdir "$work"
    [ "$with_file" = yes ] && cp "$scratch/before.dat" "$work/fconfig.dat"
    printf '%s' "$input" >"$scratch/$name.in"
    (cd "$work" && valgrind --tool=memcheck --leak-check=full \
        --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99 \
        --log-file="$scratch/$name.vg" "$exe" <"$scratch/$name.in" >"$scratch/$name.out" \
        2>"$scratch/$name.err")
    status=$?
    if [ "$status" != "$want" ]; then
        echo "FAIL $name: status $status, expected $want"
        [ "$status" = 99 ] && cat "$scratch/$name.vg"
        failed=$((failed + 1))
        return 1
    fi
    if ! grep -q 'ERROR SUMMARY: 0 errors' "$scratch/$name.vg"; then
        echo "FAIL $name: valgrind reports errors"
        cat "$scratch/$name.vg"
        failed=$((failed + 1))
        return 1
    fi
    echo "ok   $name: $(grep -o 'total heap usage.*' "$scratch/$name.vg")"
}

session save 0 yes "$empties
n
$empties
y
j
" && {
    if cmp -s "$scratch/before.dat" "$scratch/save/fconfig.dat" ||
        ! grep -q '^clear_log=0$' "$scratch/save/fconfig.dat"; then
        echo "FAIL save: fconfig.dat was not written anew"
        failed=$((failed + 1))
    fi
}

session abort 0 yes "$empties
a
" && {
    cmp -s "$scratch/before.dat" "$scratch/abort/fconfig.dat" || {
        echo "FAIL abort: fconfig.dat changed"
        failed=$((failed + 1))
    }
}

session eof 1 no "" && {
    [ ! -e "$scratch/eof/fconfig.dat" ] || {
        echo "FAIL eof: fconfig.dat written"
        failed=$((failed + 1))
    }
}

echo "$((count - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
