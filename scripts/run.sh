#!/usr/bin/env bash
# Builds the Linux program and starts it in the directory this was called
# from (its settings file, Setup.ini, lives there). Arguments go to the
# program: scripts/run.sh --dry-run reports the power-off instead of making it.
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux

program=$PWD/build/linux/lumivar
cd "$caller"
exec "$program" "$@"
