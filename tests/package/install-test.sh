#!/bin/sh
# `cmake --install` into a staging root under another prefix: exactly the two
# programs and their two manual pages land, where GNUInstallDirs says, and the
# installed programs pass the end-to-end cases.
#
#   install-test.sh <build dir> <source dir>
set -u
build=$1
src=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

DESTDIR=$scratch/stage cmake --install "$build" --prefix /opt/dprep >"$scratch/install.log" 2>&1 || {
    cat "$scratch/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
}
(cd "$scratch/stage" && find . -type f -exec stat -c '%a %n' {} + | sort) >"$scratch/got"
cat >"$scratch/want" <<'LIST'
644 ./opt/dprep/share/man/man1/dprep-en.1
644 ./opt/dprep/share/man/man1/dprep-sv.1
755 ./opt/dprep/bin/dprep-en
755 ./opt/dprep/bin/dprep-sv
LIST
sort -o "$scratch/want" "$scratch/want"
cmp -s "$scratch/got" "$scratch/want" || {
    fail "installed files differ from what is expected"
    diff "$scratch/want" "$scratch/got"
}

for lang in en sv; do
    "$src/tests/e2e/run.sh" "$scratch/stage/opt/dprep/bin/dprep-$lang" \
        "$src/tests/e2e/cases/$lang" >"$scratch/e2e.log" 2>&1 || {
        cat "$scratch/e2e.log"
        fail "the installed dprep-$lang fails its end-to-end cases"
    }
done

[ "$failed" = 0 ] || exit 1
echo "install test passed"
