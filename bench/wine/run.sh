#!/usr/bin/env bash
# Benchmark of the program under Wine against the baseline (baseline.cpp): builds, starts
# a session of its own (tests/wine/session.sh), runs the driver, which prints the figures
# and the goals, PASS or MISS, and ends the session. Fails only if the build or a run
# fails: timing on a shared machine is noisy.
#
# Timed is the build the Wine tests run: the 32-bit one where Wine starts 32-bit programs,
# else the x64 twin of the same sources (QUORVEL_TEST_ARCH chooses by hand). The size
# figure is always that of the 32-bit files, which are shipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/windows-x86
cd "$root"

[ -f "$build/build.ninja" ] || cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j 2

arch=$(sed -n 's/^QUORVEL_TEST_ARCH:STRING=//p' "$build/CMakeCache.txt")
if [ -z "$arch" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=x86; else arch=x64; fi
    [ "$arch" = x86 ] || echo "Wine cannot start 32-bit programs here: timing the x64 twin build."
fi
if [ "$arch" = x86 ]; then run=$build; else run=$build/x64; fi

session=$build/sessions/bench
trap 'tests/wine/session.sh stop "$session"' EXIT
tests/wine/session.sh start "$session" 1920x1080 "$arch"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# Whatever else runs on the machine shows in the timings: the load says how much did.
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
tests/wine/run.sh "$session" "$run/bench/bench_driver.exe" \
    "$(windows_path "$build/quorvel-downloader.exe")" "$(windows_path "$build/bench/bench_baseline.exe")"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
