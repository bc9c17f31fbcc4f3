#!/bin/sh
# End-to-end cases (tests/e2e/run.sh) each run under valgrind's memcheck, which
# fails the case on any memory error or leak, with its report on standard
# error.
#
# Usage: tests/valgrind.sh EXECUTABLE CASES CASE... Skipped (77) without
# valgrind.
set -u
. "$(dirname "$0")/lib.sh"
command -v valgrind >/dev/null 2>&1 || skip "valgrind not found"
DPREP_RUNNER="valgrind --quiet --tool=memcheck --leak-check=full
    --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99"
export DPREP_RUNNER
exec "$(dirname "$0")/e2e/run.sh" "$@"
