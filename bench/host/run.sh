#!/bin/sh
# Host benchmark and fuzzer of the text routines (prompt/texts.cpp).
#
#   run.sh                 build with the host compiler, run the benchmark, print the summary
#   run.sh fuzz [SECONDS]  build the fuzzer with clang and run it (default 30 s)
#   run.sh check           fuzz 30 s, then the benchmark; fails only if the fuzzer finds
#                          something or a build fails (the speed goals are printed, PASS or
#                          MISS, as timing on a shared machine is noisy)
#
# Environment: BENCH_HOST_CXX (default g++) compiles the benchmark; BENCH_HOST_OPT
# (default -Os, as the program) the routines; BENCH_HOST_BUILD is where builds go
# (default build/ of the repository). Builds use 2 jobs.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
builds=${BENCH_HOST_BUILD:-$root/build}
opt=${BENCH_HOST_OPT:--Os}
# The program's -Os builds in bench-host, others beside it (bench-host-O2, ...).
suffix=$(printf '%s' "$opt" | tr -c 'A-Za-z0-9' '-' | sed 's/^-*/-/; s/^-Os$//')
bench_build=$builds/bench-host$suffix
fuzz_build=$builds/bench-host-fuzz$suffix

run_benchmark() {
    cmake -S "$here" -B "$bench_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER="${BENCH_HOST_CXX:-g++}" -DBENCH_HOST_OPT="$opt" >/dev/null
    cmake --build "$bench_build" -j 2 --target texts_benchmark

    # The byte loop must be a loop of its own: no call, and no relocation, which a jump
    # to strlen or any other function would need.
    code=$(objdump -dr --no-show-raw-insn --disassemble=ByteLoopLength \
        "$bench_build/libbyte_loop.a" | sed -n '/<ByteLoopLength>:/,$p')
    echo "$code"
    if [ -z "$code" ] || echo "$code" | grep -Eq '\bcall|R_[A-Z0-9_]+'; then
        echo "ByteLoopLength is not a plain byte loop" >&2
        exit 1
    fi

    "$bench_build/texts_benchmark" --benchmark_min_time=0.1 --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true
}

run_fuzzer() {
    seconds=$1
    cmake -S "$here" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER=clang++ -DBENCH_HOST_FUZZER=ON -DBENCH_HOST_OPT="$opt" >/dev/null
    cmake --build "$fuzz_build" -j 2 --target texts_fuzzer
    mkdir -p "$fuzz_build/corpus" "$fuzz_build/findings"
    log=$fuzz_build/fuzz.log
    echo "fuzzing for $seconds s (log: $log)"
    status=0
    "$fuzz_build/texts_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$fuzz_build/findings/" "$fuzz_build/corpus" >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^Done |^stat::' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log"
        echo "FUZZER FOUND A FAULT (exit $status); inputs in $fuzz_build/findings/" >&2
        exit 1
    fi
    echo "fuzzer: no findings"
}

mode=${1:-bench}
case $mode in
bench) run_benchmark ;;
fuzz) run_fuzzer "${2:-30}" ;;
check)
    run_fuzzer 30
    run_benchmark
    ;;
*)
    echo "usage: $0 [bench | fuzz [SECONDS] | check]" >&2
    exit 2
    ;;
esac
