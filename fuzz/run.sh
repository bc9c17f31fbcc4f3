#!/bin/sh
# Fuzzing of the program's body, at random and for as long as asked: outside
# the test suite, whose runs replay the committed corpora only (the tests
# fuzz_corpus_*).
#
#   fuzz/run.sh fuzz SECONDS [NAME...]
#                       build, then fuzz each named harness (default: all, one
#                       after another) for SECONDS, from its committed corpus
#                       and the corpus the last run left; prints executions,
#                       coverage, corpus size and findings, and exits non-zero
#                       on any finding
#   fuzz/run.sh merge   gather what the runs found that the committed
#                       corpora do not reach, in build-fuzz/merged-NAME
#
# Harnesses: file_reader and parsers run under libFuzzer (clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer); whole_run, the whole
# program on a file and typed input, runs under afl++ in persistent mode.
# Without clang and libFuzzer the script skips (status 77); without afl++
# whole_run is not fuzzed. Replaying the committed corpora alone is the
# tests' work: ctest --preset asan -R fuzz_corpus.
#
# Builds go to build-fuzz/ (FUZZ_BUILD); work corpora, findings and logs to
# build-fuzz/work, build-fuzz/findings and build-fuzz/logs. FUZZ_EXTRA_FLAGS
# adds compiler flags after the sanitizers, e.g. -fno-sanitize=nonnull-attribute
# to fuzz on past a fault already known.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
fuzz=$top/fuzz
build=${FUZZ_BUILD:-$top/build-fuzz}
mode=${1:-}
[ $# -gt 0 ] && shift
jobs=$(nproc 2>/dev/null || echo 2)
extra=${FUZZ_EXTRA_FLAGS:-}

usage() {
    echo "usage: $0 fuzz SECONDS [file_reader parsers whole_run] | merge" >&2
    exit 2
}
case $mode in
fuzz)
    seconds=${1:-}
    case $seconds in '' | *[!0-9]*) usage ;; esac
    shift
    ;;
merge) seconds=0 ;;
*) usage ;;
esac

say() { echo "fuzz: $*"; }

# The scratch directories of whole_run, made under TMPDIR: in memory where
# possible, since the program syncs what it saves.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d /dev/shm/dprep-fuzz.XXXXXX)
else
    mkdir -p "$build"
    scratch=$(mktemp -d "$build/scratch.XXXXXX")
fi
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:symbolize=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:abort_on_error=1:print_stacktrace=1}

# ---- Tools ----

clangxx=
for c in clang++ clang++-14; do
    if command -v "$c" >/dev/null 2>&1; then clangxx=$(command -v "$c"); break; fi
done
have_libfuzzer=no
if [ -n "$clangxx" ]; then
    probe=$(mktemp -d)
    printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
        'extern "C" int LLVMFuzzerTestOneInput(const uint8_t *, std::size_t) { return 0; }' \
        >"$probe/p.cc"
    "$clangxx" -fsanitize=fuzzer,address,undefined "$probe/p.cc" -o "$probe/p" >/dev/null 2>&1 &&
        have_libfuzzer=yes
    rm -rf "$probe"
fi
have_afl=no
if command -v afl-fuzz >/dev/null 2>&1 && command -v afl-clang-fast++ >/dev/null 2>&1; then
    have_afl=yes
fi

configure_and_build() { # dir engine compiler
    cmake -S "$fuzz" -B "$1" -DFUZZ_ENGINE="$2" -DCMAKE_CXX_COMPILER="$3" \
        -DFUZZ_EXTRA_FLAGS="$extra" >"$1.configure.log" 2>&1 &&
        cmake --build "$1" -j "$jobs" >"$1.build.log" 2>&1 || {
        say "build in $1 failed:"
        tail -n 30 "$1.configure.log" "$1.build.log"
        exit 1
    }
}

mkdir -p "$build"
if [ "$have_libfuzzer" = no ]; then
    say "SKIP: clang with libFuzzer not found, so no fuzzing (the tests fuzz_corpus_* of a build replay the corpora)"
    exit 77
fi

say "building with $clangxx (libFuzzer)"
configure_and_build "$build/libfuzzer" libfuzzer "$clangxx"
if [ "$have_afl" = yes ]; then
    say "building whole_run with afl-clang-fast++"
    configure_and_build "$build/afl" afl "$(command -v afl-clang-fast++)"
    whole_run=$build/afl/whole_run
fi

# ---- Fuzzing ----

findings=0

run_libfuzzer() { # name
    h=$1
    work=$build/work/$h
    found=$build/findings/$h
    log=$build/logs/$h.log
    rm -rf "$found"
    mkdir -p "$work" "$found" "$build/logs"
    say "fuzzing $h for $seconds s (log: $log)"
    "$build/libfuzzer/$h" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict="$fuzz/dprep.dict" -artifact_prefix="$found/" "$work" "$fuzz/corpus/$h" \
        >"$log" 2>&1
    rc=$?
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    say "$h: ${execs:-?} executions; ${done_line:-no final line}"
    say "$h: corpus $(ls "$work" | wc -l) inputs in $work"
    if [ $rc -ne 0 ] || [ -n "$(ls -A "$found")" ]; then
        say "FINDING in $h (exit $rc); inputs in $found:"
        ls -l "$found"
        grep -E 'INVARIANT BROKEN|ERROR: |runtime error|SUMMARY' "$log" | head -10
        findings=$((findings + 1))
    else
        say "$h: no finding"
    fi
}

run_afl() {
    h=whole_run
    if [ "$have_afl" = no ]; then
        say "SKIP: afl++ not found, so whole_run is not fuzzed."
        return
    fi
    work=$build/work/$h
    log=$build/logs/$h.log
    mkdir -p "$build/logs" "$build/work"
    input=$fuzz/corpus/$h
    # A run goes on from where the last one stopped.
    if [ -d "$work/default/queue" ]; then input=-; else rm -rf "$work"; fi
    say "fuzzing $h with afl++ for $seconds s (log: $log)"
    TMPDIR=$scratch AFL_NO_UI=1 AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 \
        AFL_NO_AFFINITY=1 \
        ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=0 \
        UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1 \
        afl-fuzz -V "$seconds" -m none -t 5000 -x "$fuzz/dprep.dict" \
        -i "$input" -o "$work" -- "$whole_run" >"$log" 2>&1
    rc=$?
    stats=$work/default/fuzzer_stats
    if [ ! -f "$stats" ]; then
        say "FINDING: afl-fuzz did not run (exit $rc):"
        tail -n 30 "$log"
        findings=$((findings + 1))
        return
    fi
    get() { sed -n "s/^$1 *: *//p" "$stats"; }
    say "$h: $(get execs_done) executions ($(get execs_per_sec)/s), edges $(get edges_found) of $(get total_edges) ($(get bitmap_cvg)), stability $(get stability)"
    say "$h: corpus $(get corpus_count) inputs in $work/default/queue"
    crashes=$(ls "$work/default/crashes" 2>/dev/null | grep -vc README)
    hangs=$(ls "$work/default/hangs" 2>/dev/null | wc -l)
    # A starting input that crashes is only warned of and skipped (afl++ 4.04).
    seeds=$(grep -c 'results in a crash' "$log")
    if [ "$crashes" -gt 0 ] || [ "$hangs" -gt 0 ] || [ "$seeds" -gt 0 ]; then
        say "FINDING in $h: $crashes crashes, $hangs hangs, $seeds starting inputs that crash; replay one with: $whole_run FILE"
        grep 'results in a crash' "$log"
        ls "$work/default/crashes" "$work/default/hangs"
        findings=$((findings + 1))
    else
        say "$h: no finding"
    fi
}

# Each merged corpus is the committed one plus the inputs of the work corpus
# that reach an edge the committed one does not; hit counts are not weighed,
# which keeps the committed corpora small.
merge() {
    mkdir -p "$build/logs"
    for h in file_reader parsers; do
        [ -d "$build/work/$h" ] || continue
        new=$build/merged-$h
        rm -rf "$new" && cp -r "$fuzz/corpus/$h" "$new"
        "$build/libfuzzer/$h" -merge=1 -use_counters=0 "$new" "$build/work/$h" \
            >"$build/logs/merge-$h.log" 2>&1 || { say "merge of $h failed"; exit 1; }
        say "$h: $(ls "$new" | wc -l) inputs after merging (were $(ls "$fuzz/corpus/$h" | wc -l))"
    done
    if [ "$have_afl" = yes ] && [ -d "$build/work/whole_run/default/queue" ]; then
        new=$build/merged-whole_run
        rm -rf "$new" "$new.cmin"
        TMPDIR=$scratch AFL_SKIP_BIN_CHECK=1 AFL_ALLOW_TMP=1 ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=0 \
            afl-cmin -e -m none -t 5000 -i "$build/work/whole_run/default/queue" -o "$new.cmin" \
            -- "$whole_run" >"$build/logs/merge-whole_run.log" 2>&1 ||
            { say "afl-cmin failed"; exit 1; }
        cp -r "$fuzz/corpus/whole_run" "$new"
        # The queue's copies of the committed inputs are named after them.
        for f in "$new.cmin"/*; do
            case $f in *orig:*) continue ;; esac
            cp "$f" "$new/afl-$(sha1sum <"$f" | cut -c1-16)"
        done
        say "whole_run: $(ls "$new" | wc -l) inputs after afl-cmin (were $(ls "$fuzz/corpus/whole_run" | wc -l))"
    fi
    say "merged corpora are in $build/merged-*; copy what is worth keeping into fuzz/corpus/"
}

case $mode in
merge) merge ;;
fuzz)
    names=${*:-file_reader parsers whole_run}
    for h in $names; do
        case $h in
        file_reader | parsers) run_libfuzzer "$h" ;;
        whole_run) run_afl ;;
        *) say "no harness $h"; exit 2 ;;
        esac
    done
    ;;
esac

if [ $findings -gt 0 ]; then
    say "$findings harness(es) with findings"
    exit 1
fi
say "no finding"
