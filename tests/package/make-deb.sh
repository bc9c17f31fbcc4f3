#!/bin/sh
# Makes the Debian package of a build tree into a directory and prints the
# package's path; on failure shows cpack's own message on standard error,
# which the caller does not capture, and exits 1.
#
#   make-deb.sh <build dir> <output dir>
set -u
cpack --config "$1/CPackConfig.cmake" -G DEB -B "$2" >"$2.log" 2>&1 || {
    cat "$2.log" >&2
    echo "FAIL: cpack could not make the package" >&2
    exit 1
}
set -- "$2"/dprep_*.deb
[ -f "$1" ] || { echo "FAIL: no dprep_*.deb was made" >&2; exit 1; }
echo "$1"
