#!/bin/bash
# An emulated PC with a floppy drive (Debian's kernel with its own floppy,
# vfat and msdos drivers, busybox, the two static programs) and an operator
# who swaps diskettes. One boot runs a plan, a session a line, IMAGE rw|ro
# LANG FS INPUT: IMAGE goes into the drive (write-protected for ro) and is
# mounted as FS, and dprep-LANG runs there on INPUT. Then OUT/N.img is the
# diskette as the Nth session left it, OUT/N/ its stdout, stderr, status and
# mount (its line in /proc/mounts), written (the drive's count of written
# sectors as the program ended and after a sync).
#
#   machine.sh PLAN OUT DPREP_EN DPREP_SV
#
# The programs' word size picks the PC: amd64 with the kernel of the host's
# Debian release, or i386 on a Pentium II with Debian 12's 686 kernel, the
# last 32-bit PC kernel Debian made. The kernel and busybox come once from
# Debian's mirror, through apt with lists of its own, into
# ${DPREP_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dprep}/RELEASE/ARCH.
# Exits 77 (skipped), saying why, where QEMU or those packages cannot be had.
set -u
plan=$1 out=$2 en=$3 sv=$4
. "$(dirname "$0")/../lib.sh"
case $(od -An -tu1 -j4 -N1 "$en" | tr -d ' ') in
1) arch=i386 flavour=686 qemu=qemu-system-i386 cpu=(-cpu pentium2) codename=bookworm ;;
2) arch=amd64 flavour=amd64 qemu=qemu-system-x86_64 cpu=() codename=$(. /etc/os-release && echo "${VERSION_CODENAME-}") ;;
*) echo "$en is not an ELF program" >&2; exit 2 ;;
esac
for tool in "$qemu" apt-get apt-cache dpkg-deb cpio flock; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -n "$codename" ] || skip "/etc/os-release names no Debian release to take the amd64 kernel from"
cache=${DPREP_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dprep}
kit=$cache/$codename/$arch

# The kernel that linux-image-FLAVOUR stands for today, its modules for the
# floppy and FAT, and busybox; on failure, why.
fetch() {
    local apt=$cache/$codename/apt tmp=$cache/tmp-$arch archive security errors kernel parts vmlinuz m f why
    rm -rf "$tmp" && mkdir -p "$apt/lists/partial" "$tmp" || return 1
    archive=$(debian_archive) || { echo "this machine's apt sources name no Debian archive" && return 1; }
    security=$(debian_archive security)
    {
        printf 'deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s main\n' \
            "$archive $codename" "$archive $codename-updates" ${security:+"$security $codename-security"}
    } >"$apt/sources.list"
    set -- -q -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt" -o Dir::Etc::SourceList="$apt/sources.list" \
        -o Dir::Etc::SourceParts=/nonexistent -o Dir::State::status=/dev/null -o APT::Architectures::=amd64 \
        -o APT::Architectures::=i386 -o Acquire::Languages=none -o APT::Sandbox::User="$(id -un)" \
        -o Acquire::Retries=5
    # Without --error-on=any, an unreachable mirror is only a warning. An
    # index that stays unreadable (a mirror amid its sync serves one of the
    # wrong size, at times for hours) leaves the others, which may hold all
    # that is needed: apt's errors are told only where they do not.
    if errors=$(apt-get "$@" --error-on=any update 2>&1); then errors=; else errors=$(grep '^E:' <<<"$errors"); fi
    kernel=$(apt-cache "$@" depends "linux-image-$flavour:$arch" 2>/dev/null |
        sed -n 's/^ *Depends: \(linux-image-[0-9][^ :]*\).*/\1/p' | head -n 1)
    if [ -z "$kernel" ]; then
        case $arch,$errors in
        i386,*" $codename Release' does not have a Release file"*)
            echo "Debian 12 ($codename) has left Debian's mirror for the archive of old releases, and" \
                "with it the 686 kernel that the 32-bit PC boots (Debian 13 has none). A cache filled" \
                "before then still serves: copy its folder $codename/$arch into $cache/$codename/." \
                "Otherwise fetch() in $0 must take Debian 12 from that archive." ;;
        *) echo "Debian $codename's lists, as apt could read them, have no linux-image-$flavour:$arch${errors:+:}" &&
            echo "$errors" ;;
        esac
        return 1
    fi
    # From forky on, the image package holds no files: the kernel and the
    # modules come in the linux-binary and linux-modules packages it needs.
    parts=$(apt-cache "$@" depends "$kernel:$arch" |
        sed -n "s/^ *Depends: \(linux-\(binary\|modules\)-[0-9][^ :]*\).*/\1:$arch/p")
    # shellcheck disable=SC2086 # one word a package
    why=$(cd "$tmp" && apt-get "$@" download "$kernel:$arch" $parts "busybox-static:$arch" 2>&1) ||
        { echo "apt cannot download $kernel${parts:+ ($parts)} and busybox-static:$arch: $why" &&
            echo "${errors:+Lists that apt could not read:
$errors}" && return 1; }
    for f in "$tmp"/*.deb; do dpkg-deb -x "$f" "$tmp/root" || return 1; done
    # Debian 13 keeps busybox and the modules under /usr, the modules
    # compressed; the PC's busybox insmod takes them plain.
    f=$(ls "$tmp"/root/{usr/,}bin/busybox 2>/dev/null | head -n 1)
    [ -n "$f" ] || { echo "busybox-static:$arch has no bin/busybox or usr/bin/busybox" && return 1; }
    # Debian 12 and 13 keep the kernel as /boot/vmlinuz-VERSION, forky as
    # /usr/lib/modules/VERSION/vmlinuz.
    vmlinuz=$(ls "$tmp"/root/boot/vmlinuz-* "$tmp"/root/{usr/,}lib/modules/*/vmlinuz 2>/dev/null | head -n 1)
    [ -n "$vmlinuz" ] || { echo "$kernel${parts:+ ($parts)} has no boot/vmlinuz-* or usr/lib/modules/*/vmlinuz" && return 1; }
    rm -rf "$kit" && mkdir -p "$kit/modules" && cp "$f" "$kit/" && cp "$vmlinuz" "$kit/vmlinuz" || return 1
    for m in floppy fat vfat msdos nls_cp437 nls_ascii nls_iso8859-1; do
        f=$(find "$tmp/root/lib/modules" "$tmp/root/usr/lib/modules" -name "$m.ko*" 2>/dev/null | head -n 1)
        case $f in
        *.ko) cp "$f" "$kit/modules/" ;;
        *.ko.xz) unpack xz xz-utils ;;
        *.ko.zst) unpack zstd zstd ;;
        '') echo "$kernel has no module $m under lib/modules or usr/lib/modules" && false ;;
        *) echo "$kernel's module $f is compressed in a way this script does not know" && false ;;
        esac || return 1
    done
    rm -rf "$tmp"
    echo "$kernel" >"$kit/ready"
}
# unpack TOOL PACKAGE: the module f decompressed into the kit.
unpack() {
    command -v "$1" >/dev/null 2>&1 ||
        { echo "$kernel's modules are compressed with $1, which is not installed (Debian's $2)" && return 1; }
    "$1" -dc "$f" >"$kit/modules/$m.ko"
}
# One fetch at a time: the two PCs may share the lists.
mkdir -p "$cache" && exec 9>"$cache/lock" || skip "no cache in $cache"
flock 9
if [ ! -f "$kit/ready" ]; then
    echo "fetching Debian $codename's $flavour kernel and busybox into $cache"
    why=$(fetch 2>&1) || skip "no $arch kernel and busybox: $why"
fi
exec 9>&-
echo "machine: $arch, $(cat "$kit/ready") of Debian $codename on $qemu${cpu[*]:+ ${cpu[*]}}"

mkdir -p "$out" && out=$(cd "$out" && pwd) && root=$out/initramfs || exit 2
rm -rf "$root" && mkdir -p "$root/bin" "$root/in" && cp -R "$kit/modules" "$root/lib" &&
    cp "$kit/busybox" "$en" "$sv" "$root/bin/" || exit 2
n=0
while read -r _ _ _ _ input; do
    n=$((n + 1))
    cp "$input" "$root/in/$n" || exit 2
done <"$plan"
# The PC's side: a session each time the host says so on the second serial
# port, once the diskette is in; the results on the third port at the end.
cat >"$root/init" <<'EOF'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mkdir -p /proc /mnt /out
mount -t devtmpfs dev /dev
mount -t proc proc /proc
# The emulated drive's change line is not what the driver expects after a
# swap (the first open fails); it is told to take every open for a swap, as
# for drives that have no such line.
insmod /lib/floppy.ko floppy=broken_dcl
for m in fat vfat msdos nls_cp437 nls_ascii nls_iso8859-1; do insmod /lib/$m.ko; done
stty -F /dev/ttyS1 raw -echo
stty -F /dev/ttyS2 raw
exec 3<>/dev/ttyS1
n=0
echo ready >&3
while read -r lang fs <&3 && [ "$lang" != end ]; do
    n=$((n + 1))
    mkdir /out/$n
    # A write-protected diskette is mounted read-only, as mount says.
    if mount -t "$fs" /dev/fd0 /mnt; then
        grep ' /mnt ' /proc/mounts >/out/$n/mount
        (cd /mnt && "/bin/dprep-$lang" </in/$n >/out/$n/stdout 2>/out/$n/stderr 3>&-)
        echo $? >/out/$n/status
        # Sectors written to the drive when the program ended, and once sync
        # has written what the kernel still held: a durable save left nothing.
        for _ in 1 2; do awk '$3 == "fd0" { print $10 }' /proc/diskstats; sync; done >/out/$n/written
        umount /mnt
    fi
    echo ready >&3
done
tar -cf /dev/ttyS2 -C /out .
poweroff -f
EOF
chmod +x "$root/init" "$root/bin"/* && (cd "$root" && find . | cpio -o -H newc --quiet) >"$out/initrd" || exit 2

# The host's side: QEMU's monitor on a pipe of this shell, the second serial
# port on named pipes, the diskettes swapped through the monitor. The drive
# is empty at boot and a 1.44 MB one (QEMU would take it for 2.88 MB).
rm -f "$out/ctl.in" "$out/ctl.out" && mkfifo "$out/ctl.in" "$out/ctl.out" || exit 2
coproc QEMU {
    exec timeout 600 "$qemu" -accel tcg "${cpu[@]}" -m 128M -nodefaults -display none -no-reboot \
        -kernel "$kit/vmlinuz" -initrd "$out/initrd" -append "console=ttyS0 panic=-1" \
        -drive if=floppy,index=0 -global isa-fdc.fallback=144 -serial file:"$out/console" \
        -chardev pipe,id=ctl,path="$out/ctl" -serial chardev:ctl -serial file:"$out/results.tar" \
        -qmp stdio 2>"$out/qemu.log"
}
qemu_pid=$QEMU_PID qmp_in=${QEMU[1]} qmp_out=${QEMU[0]}
trap 'kill "$qemu_pid" 2>/dev/null' EXIT
stop() {
    echo "machine: $*"
    tail -n 20 "$out/console" "$out/qemu.log" 2>/dev/null
    exit 1
}
# qmp COMMAND [ARGUMENTS]: a command to QEMU's monitor, and its answer.
qmp() {
    local line
    echo "{\"execute\": \"$1\", \"arguments\": {${2-}}}" >&"$qmp_in"
    while read -r line <&"$qmp_out"; do
        case $line in
        '{"return"'*) return 0 ;;
        '{"error"'*) echo "$line" && return 1 ;;
        esac
    done
    return 1
}
# The monitor greets once QEMU has opened all its ports.
read -r _ <&"$qmp_out" && qmp qmp_capabilities || stop "QEMU did not start: $(cat "$out/qemu.log")"
exec 4<"$out/ctl.out" 5>"$out/ctl.in"
ready() {
    read -r line <&4 && [ "$line" = ready ]
}
ready || stop "the machine did not come up"
n=0
while read -r image mode lang fs _; do
    n=$((n + 1))
    [ "$mode" = ro ] && protect=read-only || protect=read-write
    qmp blockdev-change-medium "\"device\": \"floppy0\", \"filename\": \"$image\", \"format\": \"raw\",
        \"read-only-mode\": \"$protect\"" || stop "cannot put $image into the drive"
    echo "$lang $fs" >&5
    ready || stop "session $n did not end"
    qmp eject '"device": "floppy0"' || stop "cannot take $image out"
    cp --sparse=always "$image" "$out/$n.img" || exit 2
done <"$plan"
echo end >&5
wait "$qemu_pid" || stop "QEMU ended with status $?"
tar -xf "$out/results.tar" -C "$out" || stop "no results from the machine"
