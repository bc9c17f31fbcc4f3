#!/bin/sh
# Makes the Debian package the one way, with dpkg-buildpackage, once, from a
# copy of the source tree; checks what it installs where, that its programs
# are the ones built beside it (stripped: the same code and constant data),
# runs a whole session through each, and has lintian check it all: any tag
# fails.
#
#   package-test.sh <source dir> <project version>
#
# First checks that debian/changelog carries the project's version, or a
# package revision of it (3.1.1 or 3.1+1 for 3.1, not 3.10); then exits 77
# (skipped) where dpkg-buildpackage, debhelper or lintian is missing.
set -u
. "$(dirname "$0")/../lib.sh"
src=$1
version=$2

changelog=$(sed -n '1s/^dprep (\([^)]*\)) .*/\1/p' "$src/debian/changelog")
case $changelog in
"$version" | "$version".* | "$version"+*) ;;
*)
    echo "FAIL: debian/changelog is at '$changelog', project() at $version: run tests/regenerate"
    exit 1
    ;;
esac
for tool in dpkg-buildpackage:dpkg-dev dh:debhelper lintian:lintian; do
    command -v "${tool%:*}" >/dev/null 2>&1 || skip "${tool%:*} is not installed (package ${tool#*:})"
done

new_scratch

# The build writes into the tree and beside it, so it runs in a copy; its
# first step cleans away what an earlier build in the tree left there. The
# quick tests it would run are the suite's own, so not again here.
mkdir "$scratch/dprep"
tar -C "$src" --exclude='./build*' --exclude='./obj-*' --exclude=./.git -cf - . |
    tar -C "$scratch/dprep" -xf -
(cd "$scratch/dprep" && DEB_BUILD_OPTIONS="nocheck parallel=2" DEB_BUILD_PROFILES=nocheck \
    dpkg-buildpackage -us -uc -b) >"$scratch/build.log" 2>&1 || {
    cat "$scratch/build.log"
    echo "FAIL: dpkg-buildpackage could not make the package"
    exit 1
}
arch=$(dpkg --print-architecture)
deb=$scratch/dprep_${changelog}_$arch.deb

# Every file and link, with its mode and owner; directories aside.
dpkg-deb -c "$deb" | awk '!/^d/ { $3 = $4 = $5 = ""; print }' | sort >"$scratch/got"
cat >"$scratch/want" <<'LIST'
-rwxr-xr-x root/root    ./usr/bin/dprep-en
-rwxr-xr-x root/root    ./usr/bin/dprep-sv
-rw-r--r-- root/root    ./usr/share/doc/dprep/changelog.gz
-rw-r--r-- root/root    ./usr/share/doc/dprep/copyright
-rw-r--r-- root/root    ./usr/share/lintian/overrides/dprep
-rw-r--r-- root/root    ./usr/share/man/man1/dprep-en.1.gz
-rw-r--r-- root/root    ./usr/share/man/man5/fconfig.dat.5.gz
-rw-r--r-- root/root    ./usr/share/man/sv/man1/dprep-sv.1.gz
-rw-r--r-- root/root    ./usr/share/man/sv/man5/fconfig.dat.5.gz
lrwxrwxrwx root/root    ./usr/share/man/man1/dprep-sv.1.gz -> dprep-en.1.gz
LIST
sort -o "$scratch/want" "$scratch/want"
diff "$scratch/want" "$scratch/got" || fail "the package holds other files than expected"
# The dependencies are shlibdeps' (the C library, as linked).
case $(dpkg-deb -f "$deb" Depends) in
*libc6\ \(\>=\ *) ;;
*) fail "Depends is '$(dpkg-deb -f "$deb" Depends)', not the C library's from shlibdeps" ;;
esac

dpkg-deb -x "$deb" "$scratch/root"
code() {
    objcopy -O binary --only-section=.text --only-section=.rodata "$1" "$2"
}
for lang in en sv; do
    exe=$scratch/root/usr/bin/dprep-$lang
    code "$exe" "$scratch/packaged"
    code "$scratch"/dprep/obj-*/"dprep-$lang" "$scratch/built"
    cmp -s "$scratch/packaged" "$scratch/built" || fail "the packaged dprep-$lang is not the one built"
    "$src/tests/e2e/run.sh" "$exe" "$src/tests/e2e/cases/$lang" whole-run ||
        fail "the packaged dprep-$lang fails"
done

# Lintian warns when run as root (CI is); the check itself is the same. It
# leaves some temporary folders behind: in the scratch folder, which goes.
TMPDIR=$scratch lintian -I --pedantic --fail-on error,warning,info,pedantic --tag-display-limit 0 \
    "$scratch/dprep_${changelog}_$arch.changes" >"$scratch/lintian.log" 2>&1 || fail "lintian has tags"
grep -v 'running with root privileges' "$scratch/lintian.log"

[ "$failures" = 0 ] || exit 1
echo "package test passed"
