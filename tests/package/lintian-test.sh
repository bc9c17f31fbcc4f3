#!/bin/sh
# Makes the Debian package and has lintian check it: no error is allowed;
# what it says besides is shown. Tags left on purpose are overridden in
# packaging/lintian-overrides, which the package carries.
#
#   lintian-test.sh <build dir>
#
# Exits 77 (skipped) where cpack or lintian is missing.
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}
for tool in cpack dpkg-deb dpkg-shlibdeps file lintian; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
deb=$("$(dirname "$0")/make-deb.sh" "$build" "$scratch/out") || exit 1

# Lintian warns when run as root (CI is); the check itself is the same.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1
status=$?
grep -v 'running with root privileges' "$scratch/lintian.log"
[ "$status" = 0 ] || { echo "FAIL: lintian reports errors"; exit 1; }
echo "lintian: no error"
