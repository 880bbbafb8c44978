#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset linux
cmake --build --preset linux

echo "The Linux program is not written yet: this build holds the schedule core and its tests." >&2
echo "Run scripts/test.sh to build and test it." >&2
exit 1
