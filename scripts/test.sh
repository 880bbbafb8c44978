#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build natively, then the
# Windows build cross-compiled with MinGW-w64 and run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset linux
cmake --build --preset linux
ctest --preset linux

cmake --preset windows
cmake --build --preset windows
ctest --preset windows
