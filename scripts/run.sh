#!/usr/bin/env bash
# Builds the Linux program and starts it in the directory this was called
# from (its settings file, Setup.ini, lives there). Arguments go to the
# program: scripts/run.sh --dry-run reports the power-off instead of making it.
# Installs and builds only what the program needs: no tests.
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release

program=$PWD/build/release/lumivar
cd "$caller"
exec "$program" "$@"
