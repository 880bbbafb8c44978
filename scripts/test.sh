#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build natively (and again
# with sanitizers, plus a short fuzz run), then the Windows build
# cross-compiled with MinGW-w64 and run under Wine, then the two downloads.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

# Every skipped test is named, and one that is not expected fails the run.
run_tests() {
    local dir=$1
    shift
    ctest "$@" --output-junit "$PWD/$dir/test-results.xml"
    scripts/check-skips.py "$dir/test-results.xml"
}

cmake --preset linux
# Unformatted sources fail first, before the long runs.
cmake --build --preset linux --target check-format
cmake --build --preset linux
run_tests build/linux --preset linux

# Every Linux test again under AddressSanitizer and UBSan, then a minute of
# fuzzing the settings file's reader and writer.
scripts/sanitize.sh
scripts/fuzz-smoke.sh

cmake --preset windows
cmake --build --preset windows
run_tests build/windows --preset windows

# The downloads, built and checked as a user gets them.
scripts/package.sh
scripts/check-packages.sh
