#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build natively (and again
# with sanitizers, plus a short fuzz run), then the Windows build
# cross-compiled with MinGW-w64 and run under Wine, then the README's run
# command, then the two downloads. A tool missing, a warning, or a test
# skipped that should have run fails it.
#
# Where this machine runs no 32-bit code, or LUMIVAR_WINE64=1 asks for it,
# the Windows tests run on a 64-bit build of the same sources under Wine's
# 64-bit loader; the 32-bit program is still built, packaged and checked.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

# Found out once; every Wine run below goes the same way.
windows_arch=$(scripts/wine-arch.sh)
if [[ $windows_arch == x86_64 ]]; then
    export LUMIVAR_WINE64=1
    echo "This machine runs no 32-bit programs (or LUMIVAR_WINE64=1 asks so): the Windows tests" \
         "run on a 64-bit build, build/windows64, under Wine's 64-bit loader."
else
    export LUMIVAR_WINE64=0
fi

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
if [[ $windows_arch == x86_64 ]]; then
    cmake --preset windows64
    cmake --build --preset windows64
    run_tests build/windows64 --preset windows64
else
    run_tests build/windows --preset windows
fi

# The README's first command, as a newcomer types it: it builds the program
# and shows its window, on a virtual display.
/usr/bin/python3 tests/e2e/readme_run.py

# The downloads, built and checked as a user gets them.
scripts/package.sh
scripts/check-packages.sh
