#!/bin/sh
# Line and branch coverage of the program's own code (src/ and lang/) by the
# whole suite, with gcovr. Fails when a line is left uncovered or fewer than
# 95% of the branches are taken.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
command -v gcovr >/dev/null || { echo "SKIP: gcovr is not installed"; exit 77; }
build=build-coverage
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find "$build" -name '*.gcda' -delete
# Notes of objects that a changed build no longer makes would confuse gcovr.
find "$build" -name '*.gcno' | while read -r notes; do
    [ -e "${notes%.gcno}.o" ] || rm -f "$notes"
done
# The test preset leaves out the save-failure scenarios, which run the program
# as another user who may not write the counters, and valgrind, which adds
# nothing to what the other runs cover.
ctest --preset coverage
gcovr -r . "$build" --filter 'src/' --filter 'lang/' \
    --exclude-unreachable-branches --exclude-throw-branches \
    --print-summary --fail-under-line 100 --fail-under-branch 95 \
    --html-details "$build/coverage.html" --txt "$build/coverage.txt"
# The branches of each file, the least covered last. gcovr 7 renamed the
# options of gcovr 5 (Debian 12), and gcovr 8 rejects --branches.
if gcovr --help | grep -q -- --txt-metric; then
    by_branch="--txt-metric branch --sort uncovered-percent --sort-branches"
else
    by_branch="--branches --sort-percentage"
fi
# shellcheck disable=SC2086 # the options are meant to be split into words
gcovr -r . "$build" --filter src/ --filter lang/ --exclude-unreachable-branches \
    --exclude-throw-branches $by_branch
