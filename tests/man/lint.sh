#!/bin/sh
# Lints the manual pages: dprep-en.1 and dprep-sv.1, and fconfig.dat.5 with
# its Swedish translation sv/fconfig.dat.5.
#
# Usage: lint.sh DIR
#   DIR is the directory that holds the pages (the project's man/), or the
#   project's top directory, which holds man/.
#
# Fails (exit 1, printing what went wrong) when mandoc or groff says anything
# at all about a page, when a page of the file leaves out one of its 22 keys
# or lists them out of the order the program writes them, or when
# a page holds anything but printable ASCII, when a display has no paragraph
# macro (so no blank line) before it, or when a page rendered at 80 columns has
# a line wider than that or one stretched by justification. Runs the
# checks of whichever formatter is installed; exits 77 (skipped), after all
# the checks it could make, when one of mandoc, groff and man is missing.

set -u
. "$(dirname "$0")/../lib.sh"

if [ $# -ne 1 ]; then
    echo "usage: $0 DIR" >&2
    exit 2
fi
if [ -f "$1/dprep-en.1" ]; then
    dir=$1
elif [ -f "$1/man/dprep-en.1" ]; then
    dir=$1/man
else
    echo "FAIL: no dprep-en.1 in $1 or $1/man" >&2
    exit 1
fi
# The pages, from here on the script's arguments.
set -- "$dir/dprep-en.1" "$dir/dprep-sv.1" "$dir/fconfig.dat.5" "$dir/sv/fconfig.dat.5"

# The keys of fconfig.dat, in the order the program writes them.
keys='file_version config_iface ip netmask kill_other_ifaces config_ip
config_netmask password nw_ip nw_netmask nw_gw_ip set_failover failover_type
failover_ded_iface clear_log clear_edit clear_production set_edit
set_production set_password language set_language'

expected=
for key in $keys; do
    expected="$expected$key "
done

new_scratch
out=$scratch/out tmp=$scratch

# Runs a command and fails when it prints anything, on either stream, or
# exits with non-zero status. The first argument names it in the report.
silent() {
    label=$1
    shift
    if "$@" >"$out" 2>&1 && [ ! -s "$out" ]; then
        echo "ok: $label"
    else
        fail "$label"
        sed 's/^/    /' "$out"
    fi
}

for page; do
    [ -f "$page" ] || fail "$page is missing"
done

for page in "$dir/fconfig.dat.5" "$dir/sv/fconfig.dat.5"; do
    [ -f "$page" ] || continue

    # The list of keys: each an entry of its own (.TP, then .B key), all 22,
    # in the order written.
    listed=$(awk -v keys="$keys" '
        BEGIN { n = split(keys, k); for (i = 1; i <= n; i++) is_key[k[i]] = 1 }
        prev == ".TP" && $1 == ".B" && NF == 2 && ($2 in is_key) { printf "%s ", $2 }
        { prev = $0 }' "$page")
    [ "$listed" = "$expected" ] ||
        fail "$page: the key list reads '$listed', expected '$expected'"
done

# Plain ASCII, the Swedish letters written as groff's named glyphs (\[:a]),
# so that every formatter reads the pages alike, whatever the encoding it
# assumes.
for page; do
    [ -f "$page" ] || continue
    if LC_ALL=C grep -n '[^ -~]' "$page" >"$out"; then
        fail "$page holds bytes other than printable ASCII:"
        sed 's/^/    /' "$out"
    fi
done

# A blank line before every display: a paragraph macro before its .RS and
# .EX or .nf.
for page; do
    [ -f "$page" ] || continue
    awk '/^\.(EX|nf)( |$)/ && prev !~ /^\.(PP|P|LP|IP|sp)( |$)/ { print "    line " FNR }
        !/^\.(RS|in)( |$)/ { prev = $0 }' "$page" >"$out"
    [ -s "$out" ] && { fail "$page: a display without a blank line before it:"; cat "$out"; }
done

have_mandoc=false
have_groff=false
command -v mandoc >/dev/null 2>&1 && have_mandoc=true
command -v groff >/dev/null 2>&1 && have_groff=true

if $have_mandoc; then
    for page; do
        [ -f "$page" ] &&
            silent "mandoc -T lint $page" mandoc -T lint "$page"
    done
else
    skipped "mandoc is not installed: its lint and width checks"
fi

if $have_groff; then
    for page; do
        [ -f "$page" ] || continue
        silent "groff -ww -z -man $page" groff -ww -z -man "$page"
    done
else
    skipped "groff is not installed: its warnings and width checks"
fi

# At 80 columns, with each renderer installed: no line wider (characters
# counted as UTF-8 lead bytes), and no run of 3 or more blanks between words
# that rendering the page left-aligned does not have, i.e. one put in by
# justification.
bs=$(printf '\b')
render() {
    case $1 in
    man) (unset MAN_KEEP_FORMATTING MANROFFOPT; MANWIDTH=80 man -l -P cat "$2") ;;
    groff) groff -man -Tutf8 -rLL=80n -P-cbou "$2" ;;
    mandoc) mandoc -Tutf8 -Owidth=80 "$2" ;;
    esac 2>/dev/null | LC_ALL=C.UTF-8 sed "s/.$bs//g"
}
renderers=
# man-db renders through groff.
if command -v man >/dev/null 2>&1 && $have_groff; then
    renderers=man
else
    skipped "man (man-db, with groff) is not installed: its width check"
fi
$have_groff && renderers="$renderers groff"
$have_mandoc && renderers="$renderers mandoc"
for r in $renderers; do
    for page; do
        [ -f "$page" ] || continue
        sed '/^\.TH /a\
.ds AD l\
.ad l' "$page" >"$tmp/left.1"
        LC_ALL=C.UTF-8 render "$r" "$page" >"$tmp/as-is"
        LC_ALL=C.UTF-8 render "$r" "$tmp/left.1" >"$tmp/left"
        LC_ALL=C awk 'FILENAME == ARGV[1] { left[FNR] = $0; next }
            { s = $0; gsub(/[\200-\277]/, "", s) }
            length(s) > 80 { print "    " length(s) " wide: " $0 }
            $0 != left[FNR] && /[^ ]   +[^ ]/ { print "    stretched: " $0 }' "$tmp/left" "$tmp/as-is" >"$out"
        [ -s "$tmp/as-is" ] && [ -s "$tmp/left" ] || echo "    renders nothing" >>"$out"
        if [ -s "$out" ]; then fail "$r: $page at 80 columns:"; cat "$out"; else echo "ok: $r: $page at 80 columns"; fi
    done
done

[ "$failures" -eq 0 ] || echo "$failures check(s) failed"
finish
