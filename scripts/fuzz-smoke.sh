#!/usr/bin/env bash
# Builds the libFuzzer target of the profile reader and writer (preset fuzz)
# and runs it for about a minute from the seeds in fuzz/corpus. A crash or a
# broken invariant fails the run and leaves the input in the build directory.
# Usage: scripts/fuzz-smoke.sh [build directory] [seconds]   (build/fuzz, 60)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build/fuzz}
seconds=${2:-60}

cmake --preset fuzz -B "$dir"
cmake --build "$dir" --target lumivar_profile_fuzzer -j "${LUMIVAR_JOBS:-2}"
# llvm-14 has the symbolizer under its versioned name only.
export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}
# New inputs go to a scratch corpus; the committed seeds stay as they are.
mkdir -p "$dir/corpus" "$dir/crashes"
"$dir/fuzz/lumivar_profile_fuzzer" "$dir/corpus" fuzz/corpus \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/crashes/"
