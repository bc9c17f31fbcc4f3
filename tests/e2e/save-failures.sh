#!/bin/sh
# Saving fconfig.dat where the medium gets in the way. A save that fails must
# say so on standard error with its cause, end with status 1 before any
# closing text (before the first question where the failure can be seen
# then), leave no temporary file and leave an existing fconfig.dat byte for
# byte as it was. A save that succeeds goes through symbolic links and
# leaves nothing but the file (saved into an empty folder or over a file, it
# is the end-to-end cases whole-run and resave).
#
# Usage: save-failures.sh EXECUTABLE CASES (the executable's end-to-end cases)
# Prints PASS, FAIL or SKIP for each scenario; exits 1 on any FAIL, else 77
# (skipped, for ctest) when a scenario could not run here.
# Some scenarios need another user or a mount: as root they drop privileges
# with setpriv, and the tmpfs is mounted in a namespace of its own; they are
# skipped where that is refused.
set -u
. "$(dirname "$0")/../lib.sh"
# A medium that refuses, a tmpfs full, without a free inode or read-only, run
# by the scenarios below in a mount namespace of its own (with a user
# namespace too, for a user), so that the tmpfs goes away with the
# namespace: save-failures.sh --medium KIND DIR TOP INPUT.
if [ "${1-}" = --medium ]; then
    kind=$2 d=$3 top=$4
    opts=size=64k
    [ "$kind" = inodes ] && opts=$opts,nr_inodes=2  # the root and fconfig.dat
    mount -t tmpfs -o $opts,mode=755 tmpfs "$d" || exit 3
    # A namespace that kept its propagation (see below) must not share it.
    if grep -q " $d .* shared:" /proc/self/mountinfo; then
        umount "$d"
        exit 5
    fi
    cp "$top/old" "$d/fconfig.dat" || exit 3
    case $kind in
    full) dd if=/dev/zero of="$d/fill" bs=1024 2>/dev/null ;;
    read-only) mount -o remount,ro "$d" || exit 3 ;;
    esac
    printf 'x' 2>/dev/null >"$d/probe" && exit 4
    rm -f "$d/probe" 2>/dev/null
    session "$d" "$5" "$top/got" "$top/prog"
    mkdir "$top/seen" && cp -R "$d/." "$top/seen"
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
# and, on a medium that refuses the second's save, failed_save below.
cp "$cases/resave/before.dat" "$top/old"
mkdir "$top/got" "$top/whole-run" "$top/resave" "$top/refused" "$top/node-refused"
expect "$cases/whole-run" "$top/whole-run"
expect "$cases/resave" "$top/resave"
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
# another user when $2 is "other", or under the runner $2.
run() {
    c=whole-run
    [ -e "$1/fconfig.dat" ] && c=resave
    case ${2-} in
    other) DPREP_RUNNER=$as_other session "$1" "$cases/$c/stdin" "$top/got" "$top/prog" ;;
    *) DPREP_RUNNER=${2-} session "$1" "$cases/$c/stdin" "$top/got" "$top/prog" ;;
    esac
}

# After a refused save in directory $1: what the case resave prints when the
# medium refuses at the start or only at the save ($3) for the cause $4 (see
# expect), the old file as it was, and the directory's entries ($2).
failed_save() {
    rm -f "$top/refused/"*
    expect "$cases/resave" "$top/refused" "$3" "$4"
    # The name of a temporary file that was left is made by mkstemps.
    sed 's/fc[A-Za-z0-9]\{6\}\.tmp/fcXXXXXX.tmp/' "$top/got/stderr" >"$top/got/named" &&
        mv "$top/got/named" "$top/got/stderr"
    same "$top/refused" "$top/got"
    cmp -s "$1/fconfig.dat" "$top/old" || fail "fconfig.dat changed"
    entries "$1"
    # shellcheck disable=SC2086 # a word a name
    entries=$(printf '%s\n' $entries | sed 's/^fc[A-Za-z0-9]\{6\}\.tmp$/fcXXXXXX.tmp/' | LC_ALL=C sort | tr '\n' ' ')
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

# The kernel's rules, which the check before the first question must apply
# as the save meets them, with the credentials the kernel uses: ROW NAME
# SETUP RUNNER THEN [ENTRIES]. SETUP runs in a folder holding the old file
# (as root, both are first handed to uid 65534, which "other" runs as; as
# anyone else "other" is the caller); the program runs there under RUNNER
# (see run); THEN is what it must come to: "saved", or the causes of a
# refusal at the start, with ENTRIES left in the folder.
row() {
    begin "$1"
    [ "$as_other" != unusable ] || { skipped "cannot run the program as uid 65534 (setpriv)" && return; }
    d=$top/row-$(echo "$1" | tr -c 'a-z\n' -)
    mkdir "$d" && cp "$top/old" "$d/fconfig.dat" && { [ $root = no ] || chown -R 65534:65534 "$d"; } &&
        (cd "$d" && eval "$2") 2>/dev/null || { skipped "cannot make the folder: $2" && return; }
    run "$d" "$3"
    chmod u+r "$d" 2>/dev/null  # to be listed, by its owner too
    case $4 in
    saved) good_save "$d" fconfig.dat "fconfig.dat " && pass ;;
    *) failed_save "$d" "${5-fconfig.dat }" start "$4" ;;
    esac
}
row "directory without write permission" "chmod 555 ." other permission
row "read-only fconfig.dat" "chmod 444 fconfig.dat" other file-read-only
row "folder that may be written but not read" "chmod 333 ." other saved
# Another's file, and ids apart, need root. A sanitizer cannot read its
# options in a process whose ids are apart (its /proc/self/environ is
# root's), and fails: there the group is a supplementary one.
row "another user's file in a sticky folder" "chown 0:0 . fconfig.dat && chmod 1777 . && chmod 666 fconfig.dat" other others-file
ids_apart="setpriv --ruid=1234 --euid=65534 --rgid=65534 --egid=1234 --clear-groups"
! grep -q __asan_init "$top/prog" || ids_apart="setpriv --reuid=65534 --regid=65534 --groups=1234"
row "folder of the effective group, real and effective ids apart" "chown 0:1234 . fconfig.dat && chmod 775 . && chmod 664 fconfig.dat" "$ids_apart" saved
row "immutable fconfig.dat" "chattr +i fconfig.dat" "" attributes
chattr -i "$d/fconfig.dat" 2>/dev/null
# An append-only folder keeps even the file that the check makes and cannot
# remove: emptied, and named.
row "append-only folder" "chattr +a ." "" "attributes temp-left" "fcXXXXXX.tmp fconfig.dat "
for f in "$d"/fc*.tmp; do [ ! -s "$f" ] || fail "$f is not empty"; done
[ ! -d "$d" ] || chattr -a "$d" 2>/dev/null

# A medium that refuses before anything is typed: a tmpfs filled up, one
# with no free inode, one mounted read-only.
mkdir "$top/medium"
ns="unshare -m"
[ $root = yes ] || ns="unshare -rm"
medium() {  # KIND, then extra options of unshare
    local kind=$1
    shift
    rm -rf "$top/seen"
    # sudo passes on no environment: the emulator is named here.
    $ns "$@" env DPREP_EMULATOR="${DPREP_EMULATOR-}" sh "$0" --medium "$kind" "$top/medium" "$top" \
        "$cases/resave/stdin" 2>"$top/ns.err"
}
for kind in full inodes read-only; do
    case $kind in
    full) begin "full medium" && cause=full left="fconfig.dat fill " ;;
    inodes) begin "medium without a free inode" && cause=folder-full left="fconfig.dat " ;;
    read-only) begin "medium mounted read-only" && cause=read-only left="fconfig.dat " ;;
    esac
    medium $kind
    status=$?  # 1: unshare itself failed
    # A user in a chroot may make no user namespace; one who may use sudo
    # mounts through it instead.
    if [ $status = 1 ] && [ $root = no ] && sudo -n true 2>/dev/null; then
        ns="sudo -n unshare -m"
        medium $kind
        status=$?
    fi
    # In a chroot, / is no mount point that unshare could make private.
    if [ $status = 1 ] && grep -q propagation "$top/ns.err"; then
        ns="$ns --propagation unchanged"
        medium $kind
        status=$?
    fi
    case $status in
    0) failed_save "$top/seen" "$left" start $cause ;;
    4) skipped "the tmpfs still takes writes" ;;
    5) skipped "a tmpfs here would be seen outside its mount namespace" ;;
    *) skipped "no tmpfs in a mount namespace of its own: $(head -c 200 "$top/ns.err")" ;;
    esac
    rm -f "$top/got/"*  # root's, after sudo
done

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
    failed_save "$d" "fconfig.dat " save error-27
fi

# No regular file in place of fconfig.dat: reported once as unreadable,
# nothing read from it (a device could be read for ever, a FIFO block), and
# the save refused at once, with the node untouched.
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
