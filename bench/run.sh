#!/bin/sh
# Benchmark of both programs on a whole scripted session that reads an
# existing fconfig.dat and writes a new one: median wall time of 20 runs,
# peak resident memory, valgrind's heap figures, errors and leaks, and the
# shared libraries that ldd lists. Exits 1 when a target is missed (see
# measure.py).
#
# Usage: bench/run.sh [BUILD_DIR]. Without a build directory, a release
# build is made in build-bench/. BENCH_RUNS changes the number of runs.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 0 ]; then
    build=$(cd "$1" && pwd)
else
    build=$top/build-bench
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DDPREP_TESTS=OFF >/dev/null
    cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target dprep-en dprep-sv >/dev/null
fi
command -v python3 >/dev/null 2>&1 || { echo "bench: python3 is needed to measure" >&2; exit 2; }
status=0
for exe in "$build/dprep-en" "$build/dprep-sv"; do
    python3 "$top/bench/measure.py" "$exe" "${BENCH_RUNS:-20}" || status=1
    echo
done
exit $status
