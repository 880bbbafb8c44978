#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build natively (and again
# with sanitizers, plus a short fuzz run), then the Windows build
# cross-compiled with MinGW-w64 and run under Wine, then the README's run
# command, then the two downloads. A tool missing, a warning, or a test
# skipped that should have run fails it.
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

# The README's first command, as a newcomer types it: it builds the program
# and shows its window, on a virtual display.
/usr/bin/python3 tests/e2e/readme_run.py

# The downloads, built and checked as a user gets them.
scripts/package.sh
scripts/check-packages.sh
