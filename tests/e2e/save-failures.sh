#!/bin/sh
# Saving fconfig.dat where the medium gets in the way. A save that fails must
# say so on standard error, end with status 1 before any closing text, leave
# no temporary file and leave an existing fconfig.dat byte for byte as it
# was. A save that succeeds goes through symbolic links and leaves nothing
# but the file (saved into an empty folder or over a file, it is the
# end-to-end cases whole-run and resave).
#
# Usage: save-failures.sh EXECUTABLE CASES (the executable's end-to-end cases)
# Prints PASS, FAIL or SKIP for each scenario; exits 1 on any FAIL, else 77
# (skipped, for ctest) when a scenario could not run here.
# Some scenarios need another user or a mount: as root they drop privileges
# with setpriv, and the tmpfs is mounted in a namespace of its own; they are
# skipped where that is refused.
set -u
. "$(dirname "$0")/../lib.sh"
# The full medium, run by the scenario below in a mount namespace of its own
# (with a user namespace too, for a user), so that its tmpfs goes away with
# the namespace: save-failures.sh --full-medium DIR TOP INPUT.
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
    session "$d" "$4" "$top/got" "$top/prog"
    cp -R "$d/." "$top/full-seen"
    exit 0
fi
cases=$(cd "$2" && pwd)
new_scratch
top=$scratch
# A copy of the program that another user may run, wherever the build lies.
chmod 755 "$top"
cp "$1" "$top/prog" && chmod 755 "$top/prog" || exit 1

# The whole run saves into a folder without fconfig.dat, the case resave
# over the file the whole run left: what each prints when the save succeeds;
# and on a medium that refuses the second's save, what that prints.
cp "$cases/resave/before.dat" "$top/old"
mkdir "$top/got" "$top/whole-run" "$top/resave" "$top/refused" "$top/node-refused"
expect "$cases/whole-run" "$top/whole-run"
expect "$cases/resave" "$top/resave"
expect "$cases/resave" "$top/refused" refused
# Where no regular file can be read or replaced: the case of a directory there.
expect "$cases/save-refused" "$top/node-refused"
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

pass() {
    ! ok || echo "PASS $subject"
}

# Runs the program in directory $1 on the case ($c) that suits it, as
# another user when $2 is "other".
run() {
    c=whole-run
    [ -e "$1/fconfig.dat" ] && c=resave
    if [ "${2-}" = other ]; then
        DPREP_RUNNER=$as_other session "$1" "$cases/$c/stdin" "$top/got" "$top/prog"
    else
        session "$1" "$cases/$c/stdin" "$top/got" "$top/prog"
    fi
}

# After a refused save in directory $1: what it prints, the old file as it
# was, and the directory's entries ($2).
failed_save() {
    same "$top/refused" "$top/got"
    cmp -s "$1/fconfig.dat" "$top/old" || fail "fconfig.dat changed"
    entries "$1"
    [ "$entries" = "$2" ] || fail "directory holds: $entries"
    pass
}

# After a save that should succeed: what it prints, the file written ($2)
# with the new content, and the directory's entries ($3).
good_save() {
    same "$top/$c" "$top/got"
    cmp -s "$1/$2" "$cases/$c/after.dat" || fail "$2 does not hold the new configuration"
    entries "$1"
    [ "$entries" = "$3" ] || fail "directory holds: $entries"
}

# Permissions hold back only an ordinary user.
other_user_setup() {  # directory: hand it and what it holds to that user
    [ $root = yes ] && chown -R 65534:65534 "$1"
}

begin "directory without write permission"
if [ "$as_other" = unusable ]; then
    skipped "cannot run the program as uid 65534 (setpriv, or the scratch directory)"
else
    d=$top/no-write
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat" && chmod 644 "$d/fconfig.dat"
    other_user_setup "$d"
    chmod 555 "$d"
    run "$d" other
    failed_save "$d" "fconfig.dat "
    chmod 755 "$d"
fi

begin "read-only fconfig.dat"
if [ "$as_other" = unusable ]; then
    skipped "cannot run the program as uid 65534 (setpriv, or the scratch directory)"
else
    d=$top/read-only
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat"
    other_user_setup "$d"
    chmod 444 "$d/fconfig.dat"
    run "$d" other
    failed_save "$d" "fconfig.dat "
fi

# A full medium: a tmpfs filled up.
begin "full medium"
mkdir "$top/full" "$top/full-seen"
ns="unshare -m"
[ $root = yes ] || ns="unshare -rm"
full() {  # extra options of unshare
    # sudo passes on no environment: the emulator is named here.
    $ns "$@" env DPREP_EMULATOR="${DPREP_EMULATOR-}" sh "$0" --full-medium "$top/full" "$top" \
        "$cases/resave/stdin" 2>"$top/ns.err"
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
0) failed_save "$top/full-seen" "fconfig.dat fill " ;;
4) skipped "the tmpfs still takes writes after filling it" ;;
5) skipped "a tmpfs here would be seen outside its mount namespace" ;;
*) skipped "no tmpfs in a mount namespace of its own: $(head -c 200 "$top/ns.err")" ;;
esac
rm -f "$top/got/"*  # root's, after sudo

# Past the limit the write fails, and with it the save, instead of the
# limit's signal ending the program with the temporary file left.
begin "file-size limit below the file's size"
if ! command -v prlimit >/dev/null 2>&1; then
    skipped "prlimit is not installed"
else
    d=$top/size-limit
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat"
    # Standard output through a pipe: the limit holds for the files written.
    (cd "$d" && { DPREP_RUNNER="prlimit --fsize=100" run_prog "$top/prog" <"$cases/resave/stdin" 2>"$top/got/stderr"
        echo $? >"$top/got/status"; } | cat >"$top/got/stdout")
    failed_save "$d" "fconfig.dat "
fi

# No regular file in place of fconfig.dat: reported once as unreadable,
# nothing read from it (a device could be read for ever, a FIFO block), the
# dialogue from the defaults, and the save refused with the node untouched.
# Exactly the end-to-end case of a directory there, which pins those bytes.
nodes() {
    for f in "$1"/*; do stat -c '%n %F %t %T' "$f"; done
}
for node in FIFO "character device" "link to a character device"; do
    begin "fconfig.dat a $node"
    d=$top/node-$(echo "$node" | tr ' ' -)
    mkdir "$d"
    case $node in
    FIFO) mkfifo "$d/fconfig.dat" ;;
    # The numbers of /dev/zero, which never ends.
    character*) mknod "$d/fconfig.dat" c 1 5 2>/dev/null ;;
    link*) mknod "$d/zero" c 1 5 2>/dev/null && ln -s zero "$d/fconfig.dat" ;;
    esac || { skipped "mknod refused (it needs root)"; continue; }
    nodes "$d" >"$top/nodes"
    session "$d" "$cases/save-refused/stdin" "$top/got" "$top/prog"
    same "$top/node-refused" "$top/got"
    nodes "$d" | cmp -s - "$top/nodes" || fail "the directory changed: $(nodes "$d")"
    pass
done

begin "save through a symbolic link"
d=$top/link
mkdir "$d" && cp "$top/old" "$d/real.dat" && ln -s real.dat "$d/fconfig.dat"
run "$d"
good_save "$d" real.dat "fconfig.dat real.dat "
[ "$(readlink "$d/fconfig.dat")" = real.dat ] || fail "fconfig.dat is no longer the link to real.dat"
pass

begin "save through a dangling symbolic link"
d=$top/dangling
mkdir "$d" && ln -s new.dat "$d/fconfig.dat"
run "$d"
good_save "$d" new.dat "fconfig.dat new.dat "
[ "$(readlink "$d/fconfig.dat")" = new.dat ] || fail "fconfig.dat is no longer the link to new.dat"
pass

finish
