#!/bin/sh
# `cmake --install` into a staging root under another prefix: exactly the
# programs and the manual pages (theirs and fconfig.dat's) land, where
# GNUInstallDirs says; the programs are the built ones, byte for byte, and
# each runs a whole session.
#
#   install-test.sh <build dir> <source dir>
set -u
. "$(dirname "$0")/../lib.sh"
build=$1
src=$2

new_scratch

DESTDIR=$scratch/stage cmake --install "$build" --prefix /opt/dprep >"$scratch/install.log" 2>&1 || {
    cat "$scratch/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
}
prefix=$scratch/stage/opt/dprep
(cd "$prefix" && find . ! -type d -exec stat -c '%A %n' {} + | sort) >"$scratch/got"
cat >"$scratch/want" <<'LIST'
-rw-r--r-- ./share/man/man1/dprep-en.1
-rw-r--r-- ./share/man/man1/dprep-sv.1
-rw-r--r-- ./share/man/man5/fconfig.dat.5
-rw-r--r-- ./share/man/sv/man1/dprep-sv.1
-rw-r--r-- ./share/man/sv/man5/fconfig.dat.5
-rwxr-xr-x ./bin/dprep-en
-rwxr-xr-x ./bin/dprep-sv
LIST
sort -o "$scratch/want" "$scratch/want"
diff "$scratch/want" "$scratch/got" || fail "installed files differ from what is expected"
# In an English locale `man dprep-sv` shows the page of both programs.
[ "$(cat "$prefix/share/man/man1/dprep-sv.1")" = ".so man1/dprep-en.1" ] ||
    fail "man1/dprep-sv.1 does not lead to dprep-en.1"

for lang in en sv; do
    cmp "$build/dprep-$lang" "$prefix/bin/dprep-$lang" || fail "the installed dprep-$lang is not the built one"
    "$src/tests/e2e/run.sh" "$prefix/bin/dprep-$lang" "$src/tests/e2e/cases/$lang" whole-run ||
        fail "the installed dprep-$lang fails"
done

[ "$failures" = 0 ] || exit 1
echo "install test passed"
