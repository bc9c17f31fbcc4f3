#!/bin/sh
# Saving fconfig.dat where the medium gets in the way. A save that fails must
# say so on standard error, end with status 1 before any closing text, leave
# no temporary file and leave an existing fconfig.dat byte for byte as it
# was. A save that succeeds goes through symbolic links, leaves nothing but
# the file and gives it mode 0600.
#
# Usage: save-failures.sh EXECUTABLE CASES (the executable's end-to-end cases)
# Prints PASS, FAIL or SKIP for each scenario; exits 1 on any FAIL, else 77
# (skipped, for ctest) when a scenario could not run here.
# Some scenarios need another user or a mount: as root they drop privileges
# with setpriv, and the tmpfs is mounted in a namespace of its own; they are
# skipped where that is refused.
set -u
# The full medium, run by the scenario below in a mount namespace of its own
# (with a user namespace too, for a user), so that its tmpfs goes away with
# the namespace: save-failures.sh --full-medium DIR TOP.
if [ "${1-}" = --full-medium ]; then
    d=$2 top=$3
    mount -t tmpfs -o size=64k,mode=755 tmpfs "$d" || exit 3
    # A namespace that kept its propagation (see below) must not share it.
    if grep -q " $d .* shared:" /proc/self/mountinfo; then
        umount "$d"
        exit 5
    fi
    cp "$top/old" "$d/fconfig.dat" && dd if=/dev/zero of="$d/fill" bs=1024 2>/dev/null
    printf 'x' 2>/dev/null >"$d/probe" && exit 4
    rm -f "$d/probe"
    (cd "$d" && timeout 10 "$top/prog" <"$top/input" >"$top/out" 2>"$top/err")
    echo $? >"$top/status"
    cp -R "$d/." "$top/full-seen"
    exit 0
fi
exe=$1
cases=$(cd "$2" && pwd)
failures=0
top=$(mktemp -d "${TMPDIR:-/tmp}/save-failures.XXXXXX") || exit 1
cleanup() {
    chmod -R u+rwx "$top" 2>/dev/null
    rm -rf "$top"
}
trap cleanup EXIT
trap 'exit 2' HUP INT TERM
# A copy of the program that another user may run, wherever the build lies.
chmod 755 "$top"
cp "$exe" "$top/prog" && chmod 755 "$top/prog" || exit 1
# Through the emulator, if the build needs one (see run.sh).
if [ -n "${DPREP_EMULATOR-}" ]; then
    mv "$top/prog" "$top/prog.elf"
    printf '#!/bin/sh\nexec %s %s/prog.elf "$@"\n' "$DPREP_EMULATOR" "$top" >"$top/prog"
    chmod 755 "$top/prog"
fi

# The whole run's answers, and what they save; the refused save's screen and
# message; and an older file for the save to replace.
cp "$cases/whole-run/stdin" "$top/input"
cp "$cases/whole-run/after.dat" "$top/new"
tail -n 1 "$cases/save-refused/stdout" >"$top/question"
# The refused save's message: its last line, since that case's fconfig.dat
# (a directory, which that case pins) cannot be read either.
tail -n 1 "$cases/save-refused/stderr" >"$top/want-err"
sed -e 's/^ip=.*/ip=192.168.1.2/' -e 's/^password=.*/password=oldpass1/' "$top/new" >"$top/old"

root=no
[ "$(id -u)" = 0 ] && root=yes
# As root, the permission scenarios run as nobody; otherwise as the caller.
as_other=
if [ $root = yes ]; then
    as_other="setpriv --reuid=65534 --regid=65534 --clear-groups"
    if ! $as_other test -x "$top/prog" 2>/dev/null; then
        as_other=unusable
    fi
fi

result() {  # scenario, failure text or empty
    if [ -n "$2" ]; then
        echo "FAIL $1: $2"
        failures=$((failures + 1))
    else
        echo "PASS $1"
    fi
}

skipped=0
skip() {
    echo "SKIP $1: $2"
    skipped=$((skipped + 1))
}

# Runs the program in directory $1, as another user when $2 is "other".
run() {
    if [ "${2-}" = other ]; then
        (cd "$1" && timeout 10 $as_other "$top/prog" <"$top/input" >"$top/out" 2>"$top/err")
    else
        (cd "$1" && timeout 10 "$top/prog" <"$top/input" >"$top/out" 2>"$top/err")
    fi
    status=$?
}

listing() {
    ls -A "$1" | tr '\n' ' '
}

# After a refused save: status, message, no closing text, the directory's
# entries ($3) and the old file ($2, or empty when there is none to compare).
failed_save() {
    why=
    [ "$status" = 1 ] || why="status $status, expected 1"
    cmp -s "$top/err" "$top/want-err" ||
        why="$why; standard error was '$(head -c 200 "$top/err")'"
    n=$(wc -c <"$top/question")
    tail -c "$n" "$top/out" | cmp -s - "$top/question" ||
        why="$why; output goes on after the confirmation question"
    [ "$(listing "$1")" = "$3" ] || why="$why; directory holds: $(listing "$1")"
    if [ -n "$2" ]; then
        cmp -s "$1/fconfig.dat" "$2" || why="$why; fconfig.dat changed"
    fi
    echo "${why#; }"
}

# After a save that should succeed: status, no message, the file written
# ($2) with the new content, and the directory's entries ($3).
good_save() {
    why=
    [ "$status" = 0 ] || why="status $status, expected 0"
    [ -s "$top/err" ] && why="$why; standard error was '$(head -c 200 "$top/err")'"
    cmp -s "$1/$2" "$top/new" || why="$why; $2 does not hold the new configuration"
    [ "$(listing "$1")" = "$3" ] || why="$why; directory holds: $(listing "$1")"
    echo "${why#; }"
}

# Permissions hold back only an ordinary user.
other_user_setup() {  # directory: hand it and what it holds to that user
    [ $root = yes ] && chown -R 65534:65534 "$1"
}

name="directory without write permission"
if [ "$as_other" = unusable ]; then
    skip "$name" "cannot run the program as uid 65534 (setpriv, or the scratch directory)"
else
    d=$top/no-write
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat" && chmod 644 "$d/fconfig.dat"
    other_user_setup "$d"
    chmod 555 "$d"
    run "$d" other
    result "$name" "$(failed_save "$d" "$top/old" "fconfig.dat ")"
    chmod 755 "$d"
fi

name="read-only fconfig.dat"
if [ "$as_other" = unusable ]; then
    skip "$name" "cannot run the program as uid 65534 (setpriv, or the scratch directory)"
else
    d=$top/read-only
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat"
    other_user_setup "$d"
    chmod 444 "$d/fconfig.dat"
    run "$d" other
    result "$name" "$(failed_save "$d" "$top/old" "fconfig.dat ")"
fi

# A full medium: a tmpfs filled up.
name="full medium"
mkdir "$top/full" "$top/full-seen"
ns="unshare -m"
[ $root = yes ] || ns="unshare -rm"
full() {  # extra options of unshare
    $ns "$@" sh "$0" --full-medium "$top/full" "$top" 2>"$top/ns.err"
}
full
status=$?  # 1: unshare itself failed
# A user in a chroot may make no user namespace; one who may use sudo
# mounts through it instead.
if [ $status = 1 ] && [ $root = no ] && sudo -n true 2>/dev/null; then
    ns="sudo -n unshare -m"
    full
    status=$?
fi
# In a chroot, / is no mount point that unshare could make private.
if [ $status = 1 ] && grep -q propagation "$top/ns.err"; then
    full --propagation unchanged
    status=$?
fi
case $status in
0)
    status=$(cat "$top/status")
    result "$name" "$(failed_save "$top/full-seen" "$top/old" "fconfig.dat fill ")"
    ;;
4) skip "$name" "the tmpfs still takes writes after filling it" ;;
5) skip "$name" "a tmpfs here would be seen outside its mount namespace" ;;
*) skip "$name" "no tmpfs in a mount namespace of its own: $(head -c 200 "$top/ns.err")" ;;
esac
rm -f "$top/out" "$top/err" "$top/status"  # root's, after sudo

# Past the limit the write fails, and with it the save, instead of the
# limit's signal ending the program with the temporary file left.
name="file-size limit below the file's size"
if ! command -v prlimit >/dev/null 2>&1; then
    skip "$name" "prlimit is not installed"
else
    d=$top/size-limit
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat"
    # Standard output through a pipe: the limit holds for the files written.
    (cd "$d" && { prlimit --fsize=100 "$top/prog" <"$top/input" 2>"$top/err"
        echo $? >"$top/status"; } | cat >"$top/out")
    status=$(cat "$top/status")
    result "$name" "$(failed_save "$d" "$top/old" "fconfig.dat ")"
fi

# No regular file in place of fconfig.dat: reported once as unreadable,
# nothing read from it (a device could be read for ever, a FIFO block), the
# dialogue from the defaults, and the save refused with the node untouched.
# Exactly the end-to-end case of a directory there, which pins those bytes.
nodes() {
    for f in "$1"/*; do stat -c '%n %F %t %T' "$f"; done
}
for node in FIFO "character device" "link to a character device"; do
    name="fconfig.dat a $node"
    d=$top/node-$(echo "$node" | tr ' ' -)
    mkdir "$d"
    case $node in
    FIFO) mkfifo "$d/fconfig.dat" ;;
    # The numbers of /dev/zero, which never ends.
    character*) mknod "$d/fconfig.dat" c 1 5 2>/dev/null ;;
    link*) mknod "$d/zero" c 1 5 2>/dev/null && ln -s zero "$d/fconfig.dat" ;;
    esac || { skip "$name" "mknod refused (it needs root)"; continue; }
    nodes "$d" >"$top/nodes"
    (cd "$d" && timeout 10 "$top/prog" <"$cases/save-refused/stdin" >"$top/out" 2>"$top/err")
    status=$?
    why=
    [ "$status" = 1 ] || why="status $status, expected 1"
    cmp -s "$top/out" "$cases/save-refused/stdout" || why="$why; standard output differs"
    cmp -s "$top/err" "$cases/save-refused/stderr" ||
        why="$why; standard error was '$(head -c 200 "$top/err")'"
    nodes "$d" | cmp -s - "$top/nodes" || why="$why; the directory changed: $(nodes "$d")"
    result "$name" "${why#; }"
done

name="save through a symbolic link"
d=$top/link
mkdir "$d" && cp "$top/old" "$d/real.dat" && ln -s real.dat "$d/fconfig.dat"
run "$d"
why=$(good_save "$d" real.dat "fconfig.dat real.dat ")
[ "$(readlink "$d/fconfig.dat")" = real.dat ] ||
    why="${why:+$why; }fconfig.dat is no longer the link to real.dat"
result "$name" "$why"

name="save through a dangling symbolic link"
d=$top/dangling
mkdir "$d" && ln -s new.dat "$d/fconfig.dat"
run "$d"
why=$(good_save "$d" new.dat "fconfig.dat new.dat ")
[ "$(readlink "$d/fconfig.dat")" = new.dat ] ||
    why="${why:+$why; }fconfig.dat is no longer the link to new.dat"
result "$name" "$why"

name="save into an empty directory"
d=$top/empty
mkdir "$d"
run "$d"
why=$(good_save "$d" fconfig.dat "fconfig.dat ")
mode=$(stat -c %a "$d/fconfig.dat" 2>/dev/null)
[ "$mode" = 600 ] || why="${why:+$why; }fconfig.dat has mode $mode, expected 600"
result "$name" "$why"

name="save over an existing file"
d=$top/replace
mkdir "$d" && cp "$top/old" "$d/fconfig.dat" && chmod 644 "$d/fconfig.dat"
run "$d"
why=$(good_save "$d" fconfig.dat "fconfig.dat ")
mode=$(stat -c %a "$d/fconfig.dat" 2>/dev/null)
[ "$mode" = 600 ] || why="${why:+$why; }fconfig.dat has mode $mode, expected 600"
result "$name" "$why"

[ "$failures" -eq 0 ] || exit 1
[ "$skipped" -eq 0 ] || exit 77
