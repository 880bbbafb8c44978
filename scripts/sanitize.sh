#!/usr/bin/env bash
# Builds the Linux program and its tests with AddressSanitizer and UBSan
# (preset linux-asan) and runs every test. Any report fails the run.
# Usage: scripts/sanitize.sh [build directory]   (default build/linux-asan)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build/linux-asan}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leak suppressions, as the linux-asan test preset reads them; none is needed
# today (see the file).
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0

cmake --preset linux-asan -B "$dir"
cmake --build "$dir" -j "${LUMIVAR_JOBS:-2}"
ctest --test-dir "$dir" --output-on-failure --output-junit "$PWD/$dir/test-results.xml"
scripts/check-skips.py "$dir/test-results.xml"
