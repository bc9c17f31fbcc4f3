#!/bin/sh
# The programs where operators run them, on a PC's floppy drive (machine.sh):
# the sessions of the table `sessions` on one boot, then each diskette as its
# session left it read on the host by mtools and fsck.fat.
#
#   drive-test.sh DPREP_EN DPREP_SV
#
# Exits 77 (skipped) where a tool, QEMU or Debian's packages are missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../lib.sh"
en=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
sv=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
for tool in mkfs.fat fsck.fat mcopy mtype mdir; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
# mtools refuses images whose boot sector it finds odd; mkfs.fat's is fine.
MTOOLS_SKIP_CHECK=1
export MTOOLS_SKIP_CHECK
new_scratch
work=$scratch
grep -v -e '^#' -e '^$' "$here/sessions" >"$work/table"

# each FUNCTION: calls it for every row of the table and language, the
# row's meaning worked out first.
each() {
    n=0
    for lang in en sv; do
        while read -r name fs floppy case; do
            n=$((n + 1))
            facts
            "$1"
        done <"$work/table"
    done
}
facts() {
    base=${floppy%+*} mod=${floppy#"${floppy%+*}"}
    c=$here/../e2e/cases/$lang/$case subject="$lang $name"
    case $mod in
    +ro) mode=ro refused=read-only ;;
    +full) mode=rw refused=full ;;
    +entries) mode=rw refused=folder-full ;;
    '' | +full-1) mode=rw refused= ;;
    *) echo "sessions: $name: no such diskette as $floppy" && exit 2 ;;
    esac
    # A fresh diskette (k empty) or as the Kth session left it.
    img=$work/$lang-$name.img before=$work/$n.before.img start='' k=''
    case $base in
    empty) ;;
    copy) start=$c/before.dat ;;
    *)
        read -r k img <"$work/$lang-$base.at" || exit 2
        before=$work/out/$k.img start=$work/$lang-$base.dat
        ;;
    esac
    [ -f "$start" ] || start=
    left=$work/$lang-$name.dat
}

# The 223 empty files E001 to E223 that, beside FCONFIG.DAT, take every
# entry of a 1.44 MB diskette's top folder (224), with its clusters free.
entries() {
    seq -f "$work/e/E%03g" 1 223 >"$work/e.list" && mkdir -p "$work/e" && xargs touch <"$work/e.list" &&
        xargs sh -c 'mcopy -i "$0" "$@" ::' "$img" <"$work/e.list"
}

# fill BYTES: a file FILL that leaves that much free (a cluster of a 1.44 MB
# diskette is 512 bytes).
fill() {
    head -c $(($(mdir -i "$img" :: | sed -n 's/ bytes free$//p' | tr -d ' ') - $1)) /dev/zero >"$work/fill" &&
        mcopy -i "$img" "$work/fill" ::FILL
}

prepare() {
    echo "$n $img" >"$work/$lang-$name.at"
    if [ -z "$k" ]; then
        mkfs.fat -C "$img" 1440 >/dev/null && { [ -z "$start" ] || mcopy -i "$img" "$start" ::FCONFIG.DAT; } &&
            case $mod in +full) fill 0 ;; +full-1) fill 512 ;; +entries) entries ;; esac &&
            cp --sparse=always "$img" "$before" || exit 2
    fi
    echo "$img $mode $lang $fs $c/stdin" >>"$work/plan"
    # What the diskette should hold afterwards.
    if [ -z "$refused" ]; then
        cp "$c/after.dat" "$left"
    elif [ -n "$start" ]; then
        cp "$start" "$left"
    fi
}

check() {
    got=$work/out/$n want=$work/want image=$work/out/$n.img
    rm -rf "$want" && mkdir -p "$want" || exit 2
    [ -z "$k" ] || cmp -s "$start" "$c/before.dat" || fail "the diskette does not hold $case's before.dat"
    expect "$c" "$want" ${refused:+start $refused}
    case $(cat "$got/mount" 2>/dev/null) in
    "/dev/fd0 /mnt $fs $mode,"*) ;;
    *) fail "not mounted as $fs, $mode" && return ;;
    esac
    same "$want" "$got"
    # fsck.fat lists a long name with the 8.3 name in brackets after it.
    fsck.fat -n -l "$image" >"$work/fsck" 2>&1 || fail "fsck.fat: $(tail -n 5 "$work/fsck")"
    names=$(sed -n 's|^Checking file /||p' "$work/fsck" | sed 's|.* (\(.*\))$|\1|' | sort | tr '\n' ' ')
    expected=$({ [ ! -f "$left" ] || echo FCONFIG.DAT; [ "${mod#+full}" = "$mod" ] || echo FILL
        [ "$mod" != +entries ] || sed 's|.*/||' "$work/e.list"; } | sort | tr '\n' ' ')
    [ "$names" = "$expected" ] || fail "the diskette holds '$names', not '$expected'"
    if [ -f "$left" ]; then
        mtype -i "$image" ::FCONFIG.DAT >"$work/read" 2>&1
        cmp -s "$left" "$work/read" || { fail "FCONFIG.DAT differs" && diff "$left" "$work/read" | head -n 10; }
    fi
    [ "$mode" = rw ] || cmp -s "$before" "$image" || fail "the write-protected diskette changed"
    # A save is on the diskette when the program ends, directory entry and
    # all, not once the kernel gets round to it: a sync then writes nothing.
    { read -r end && read -r synced; } <"$got/written" || end=none synced=
    [ -n "$refused" ] || [ "$synced" = "$end" ] ||
        fail "not all of the save was on the diskette as the program ended:" \
            "sectors written to the drive then $end, after a sync ${synced:-none}"
}

each prepare
"$here/machine.sh" "$work/plan" "$work/out" "$en" "$sv"
case $? in
0) ;;
77) exit 77 ;;
*) exit 1 ;;
esac
each check
if [ "$failures" -ne 0 ]; then
    echo "$failures failures; the machine's console ends:"
    tail -n 30 "$work/out/console"
    exit 1
fi
echo "floppy drive: $n sessions as expected"
