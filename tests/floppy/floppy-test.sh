#!/bin/sh
# Saves onto a real FAT12 floppy image mounted through FUSE, then reads the
# image back with mtools, which goes round the mount and so sees only what
# actually reached the disk.
#
#   floppy-test.sh <dprep-en or dprep-sv>
#
# The floppy is tried fresh, read-only, full to the last cluster and with one
# cluster to spare. Exits 77 (skipped) where FUSE or the tools are missing or
# mounting is not permitted.
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)

case $(basename "$exe") in
*-sv) lang=sv yes=ja ;;
*-en) lang=en yes=yes ;;
*) echo "usage: $0 <dprep-en|dprep-sv>" >&2; exit 2 ;;
esac

skip() {
    echo "SKIP: $*"
    exit 77
}

for tool in mkfs.fat fusefat mtype mdir timeout; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
if command -v fusermount >/dev/null 2>&1; then unmount_tool=fusermount
elif command -v fusermount3 >/dev/null 2>&1; then unmount_tool=fusermount3
else skip "neither fusermount nor fusermount3 is installed"
fi
[ -c /dev/fuse ] || skip "/dev/fuse does not exist"
[ -r /dev/fuse ] && [ -w /dev/fuse ] || skip "/dev/fuse is not open to this user"

# mtools refuses images whose boot sector it finds odd; mkfs.fat's is fine.
MTOOLS_SKIP_CHECK=1
export MTOOLS_SKIP_CHECK

work=$(mktemp -d)
img=$work/floppy.img
mnt=$work/mnt
mkdir "$mnt"
fuse_pid=

cleanup() {
    if [ -n "$fuse_pid" ]; then
        "$unmount_tool" -u "$mnt" 2>/dev/null
        kill "$fuse_pid" 2>/dev/null
        wait "$fuse_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

failed=0
fail() {
    echo "FAIL $step: $*"
    failed=$((failed + 1))
}

# The mount point is a mount once its device differs from its parent's.
is_mounted() {
    [ "$(stat -c %d "$mnt")" != "$(stat -c %d "$work")" ]
}

# mount_floppy rw+|ro: fusefat stays in the foreground, in the background of
# this script, so that after the unmount we can wait until it has let go of
# the image.
mount_floppy() {
    fusefat -f -o "$1" "$img" "$mnt" >>"$work/fusefat.log" 2>&1 &
    fuse_pid=$!
    tries=0
    until is_mounted; do
        if ! kill -0 "$fuse_pid" 2>/dev/null || [ "$tries" -ge 50 ]; then
            kill "$fuse_pid" 2>/dev/null
            wait "$fuse_pid" 2>/dev/null
            fuse_pid=
            return 1
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
}

unmount_floppy() {
    "$unmount_tool" -u "$mnt" || fail "could not unmount"
    wait "$fuse_pid" 2>/dev/null
    fuse_pid=
}

new_floppy() {
    rm -f "$img"
    mkfs.fat -C "$img" 1440 >/dev/null || { echo "mkfs.fat failed"; exit 1; }
}

# answers IP CONFIG_IP PASSWORD: a whole session that keeps every other default.
answers() {
    printf '\n%s\n24\n\n\n%s\n%s\n\n%s\n' "$1" "$2" "$3" "$yes"
}

# expected_file IP CONFIG_IP PASSWORD: the file that session leaves, which is
# the whole-run case's file with these three values.
expected_file() {
    sed -e "s/^ip=.*/ip=$1/" -e "s/^config_ip=.*/config_ip=$2/" -e "s/^password=.*/password=$3/" \
        "$here/../e2e/cases/$lang/whole-run/after.dat"
}

if [ "$lang" = sv ]; then
    cannot_create='* Kunde inte skapa konfigurationsfilen, kontrollera disketten *'
    printf 'St\344mmer dessa inst\344llningar (ja/nej/avbryt)? ' >"$work/question"
else
    cannot_create="* Couldn't create configuration file, check the diskette *"
    printf 'Is this configuration correct (yes/no/abort)? ' >"$work/question"
fi
printf '%s\n' "$cannot_create" >"$work/cannot-create"

answers 192.168.1.1 192.168.1.10 secret1 >"$work/first.in"
expected_file 192.168.1.1 192.168.1.10 secret1 >"$work/first.dat"
answers 10.0.0.1 10.0.0.10 other2 >"$work/second.in"
expected_file 10.0.0.1 10.0.0.10 other2 >"$work/second.dat"

# session INPUT: runs the program on the mounted floppy.
session() {
    (cd "$mnt" && timeout 20 "$exe" <"$1" >"$work/out" 2>"$work/err")
    status=$?
}

expect_saved() {
    [ "$status" = 0 ] || fail "status $status, expected 0"
    [ -s "$work/err" ] && fail "unexpected standard error: $(head -c 300 "$work/err")"
}

# A refused save: the message on standard error, status 1, and nothing on
# standard output after the confirmation question.
expect_refused() {
    [ "$status" = 1 ] || fail "status $status, expected 1"
    cmp -s "$work/err" "$work/cannot-create" ||
        fail "standard error is '$(head -c 300 "$work/err")'"
    tail -c "$(wc -c <"$work/question")" "$work/out" | cmp -s - "$work/question" ||
        fail "output goes on after the confirmation question: $(tail -c 200 "$work/out")"
}

# expect_on_image FILE NAME...: fconfig.dat on the image is FILE, and the
# root directory holds exactly the names given.
expect_on_image() {
    want=$1
    shift
    if mtype -i "$img" ::fconfig.dat >"$work/read-back" 2>"$work/mtools.err"; then
        cmp -s "$work/read-back" "$want" || {
            fail "fconfig.dat on the image differs from $(basename "$want")"
            diff "$want" "$work/read-back" | head -20
        }
    else
        fail "no fconfig.dat on the image: $(cat "$work/mtools.err")"
    fi
    mdir -b -i "$img" :: 2>/dev/null | sed 's|^::/||' | sort >"$work/names"
    printf '%s\n' "$@" | sort | cmp -s - "$work/names" ||
        fail "the image holds: $(tr '\n' ' ' <"$work/names")"
}

expect_image_unchanged() {
    cmp -s "$img" "$work/before.img" || fail "the image was changed"
}

step="fresh floppy, read-only"
new_floppy
mount_floppy ro || skip "fusefat cannot mount here: $(tail -n 3 "$work/fusefat.log")"
cp "$img" "$work/before.img"
session "$work/first.in"
unmount_floppy
expect_refused
expect_image_unchanged

step="fresh floppy"
mount_floppy rw+ || { echo "fusefat cannot mount the image read-write"; exit 1; }
session "$work/first.in"
unmount_floppy
expect_saved
expect_on_image "$work/first.dat" fconfig.dat

step="saved floppy, read-only"
cp "$img" "$work/before.img"
mount_floppy ro || { echo "fusefat cannot mount the image again"; exit 1; }
session "$work/second.in"
unmount_floppy
expect_refused
expect_image_unchanged

# The new file is written beside the old one before it replaces it, so a
# floppy without a free cluster cannot take it, although the old file's own
# cluster would do.
step="full floppy"
mount_floppy rw+ || { echo "fusefat cannot mount the image again"; exit 1; }
dd if=/dev/zero of="$mnt/fill" bs=512 2>/dev/null
fill_clusters=$(($(stat -c %s "$mnt/fill") / 512))
session "$work/second.in"
unmount_floppy
expect_refused
expect_on_image "$work/first.dat" fconfig.dat fill
if command -v fsck.fat >/dev/null 2>&1; then
    fsck.fat -n "$img" >"$work/fsck.out" 2>&1 ||
        fail "the file system is damaged: $(head -5 "$work/fsck.out")"
fi

step="one free cluster"
mount_floppy rw+ || { echo "fusefat cannot mount the image again"; exit 1; }
rm "$mnt/fill"
dd if=/dev/zero of="$mnt/fill" bs=512 count=$((fill_clusters - 1)) 2>/dev/null ||
    fail "could not refill the floppy"
session "$work/second.in"
unmount_floppy
expect_saved
expect_on_image "$work/second.dat" fconfig.dat fill

if [ "$failed" -ne 0 ]; then
    echo "$failed failures ($lang)"
    exit 1
fi
echo "floppy ($lang): all sessions as expected"
