#!/bin/sh
# Runs a Windows program under Wine, in a prefix of our own (never the user's
# ~/.wine) and without the Mono and Gecko installers that would ask questions.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/lumivar-wine-$(id -u)}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# Keep the server up between the many short test runs: starting it costs
# seconds each time. A server already running makes this a no-op.
wineserver -p60 >/dev/null 2>&1 || true
exec wine "$@"
