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

cat >"$scratch/before.dat" <<'EOF'
file_version=6
config_iface=eth0
ip=192.168.1.1
netmask=255.255.255.0
kill_other_ifaces=0
config_ip=192.168.1.10
config_netmask=255.255.255.255
password=secret1
nw_ip=0.0.0.0
nw_netmask=0.0.0.0
nw_gw_ip=0.0.0.0
set_failover=0
failover_type=standalone
failover_ded_iface=eth1
clear_log=1
clear_edit=0
clear_production=0
set_edit=1
set_production=1
set_password=1
language=en
set_language=1
EOF
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
