#!/bin/sh
# End-to-end cases (tests/e2e/run.sh) each run under tests/memcheck, which
# fails the case on any heap allocation, memory error or leak, with
# valgrind's report on standard error.
#
# Usage: tests/valgrind.sh EXECUTABLE CASES CASE... Skipped (77) without
# valgrind.
set -u
. "$(dirname "$0")/lib.sh"
command -v valgrind >/dev/null 2>&1 || skip "valgrind not found"
DPREP_RUNNER=$(cd "$(dirname "$0")" && pwd)/memcheck
export DPREP_RUNNER
exec "$(dirname "$0")/e2e/run.sh" "$@"
