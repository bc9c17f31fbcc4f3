#!/bin/sh
# Makes the Debian package from a build tree, unpacks it into a scratch root
# and runs the unpacked programs through the end-to-end cases; then checks
# the package's contents and control fields.
#
#   package-test.sh <build dir> <source dir>
#
# Exits 77 (skipped) where cpack or dpkg's tools are missing.
set -u
build=$1
src=$2

skip() {
    echo "SKIP: $*"
    exit 77
}
# CPack needs file and dpkg-shlibdeps to make a package.
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

deb=$("$(dirname "$0")/make-deb.sh" "$build" "$scratch/out") || exit 1
echo "package: $(basename "$deb")"

# What the package holds: the two programs, their pages and the documents,
# owned by root.
dpkg-deb -c "$deb" | awk '{ print $2, $6 }' | sed 's|^\(.*\) \./|\1 /|' | sort >"$scratch/contents"
for path in /usr/bin/dprep-en /usr/bin/dprep-sv \
    /usr/share/man/man1/dprep-en.1.gz /usr/share/man/man1/dprep-sv.1.gz \
    /usr/share/doc/dprep/copyright /usr/share/doc/dprep/changelog.gz; do
    grep -q " $path\$" "$scratch/contents" || fail "the package lacks $path"
done
grep -v '^root/root ' "$scratch/contents" && fail "files above are not owned by root"

# Control fields: the dependency comes from dpkg-shlibdeps and is the C
# library alone, since libstdc++ is linked into the programs.
for field in Package Version Architecture Maintainer Description Depends; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "control field $field is missing"
done
depends=$(dpkg-deb -f "$deb" Depends)
case $depends in
libc6\ \(\>=\ *\)) ;;
*) fail "Depends is '$depends', expected the C library alone" ;;
esac

# The unpacked programs, run exactly as installed.
dpkg-deb -x "$deb" "$scratch/root"
for lang in en sv; do
    exe=$scratch/root/usr/bin/dprep-$lang
    [ -x "$exe" ] || { fail "dprep-$lang is not executable"; continue; }
    "$src/tests/e2e/run.sh" "$exe" "$src/tests/e2e/cases/$lang" >"$scratch/e2e.log" 2>&1 || {
        cat "$scratch/e2e.log"
        fail "the installed dprep-$lang fails its end-to-end cases"
    }
    tail -n 1 "$scratch/e2e.log"
done

# The installed pages unpack and render.
if command -v groff >/dev/null 2>&1; then
    for lang in en sv; do
        page=$scratch/root/usr/share/man/man1/dprep-$lang.1.gz
        out=$(gzip -dc "$page" | preconv | groff -ww -z -man 2>&1) || fail "dprep-$lang.1 does not render"
        [ -z "$out" ] || fail "dprep-$lang.1 draws warnings: $out"
    done
fi

[ "$failed" = 0 ] || exit 1
echo "package test passed"
