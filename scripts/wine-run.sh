#!/bin/sh
# Runs a Windows program under Wine, in a prefix of our own (never the user's
# ~/.wine) and without the Mono and Gecko installers that would ask questions.
# The name carries the architecture: a prefix made before wine32 was installed
# cannot start a 32-bit program ("could not load kernel32.dll") and must never
# be picked up again.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/lumivar-wine-i686-$(id -u)}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# Keep the server up between the many short test runs: starting it costs
# seconds each time. When this call starts it (exit code 0; 2 means one was
# running), start Wine's background services too, with their output away
# from ours: they live as long as the server, and a test runner would
# otherwise wait for them to close the output it is reading.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
    wine wineboot </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
