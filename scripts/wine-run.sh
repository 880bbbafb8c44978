#!/bin/sh
# Runs a Windows program under Wine, in a prefix of our own (never the user's
# ~/.wine) and without the Mono and Gecko installers that would ask questions.
: "${WINEPREFIX:=${TMPDIR:-/tmp}/lumivar-wine-$(id -u)}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
exec wine "$@"
