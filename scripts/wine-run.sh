#!/bin/sh
# Runs a Windows program under Wine, in a prefix of our own (never the user's
# ~/.wine) and without the Mono and Gecko installers that would ask questions.
# The name carries the architecture: a prefix made before wine32 was installed
# cannot start a 32-bit program ("could not load kernel32.dll") and must never
# be picked up again.
# On a machine that runs no 32-bit code (scripts/wine-arch.sh says x86_64),
# Wine's 64-bit loader runs the program, which must then be a 64-bit build:
# Debian's wine would pick the 32-bit loader, which cannot start there.
arch=$("$(dirname "$0")/wine-arch.sh")
if [ "$arch" = x86_64 ]; then
    wine=/usr/lib/wine/wine64
    # Wine starts its own helper programs through WINELOADER.
    WINELOADER=$wine
    export WINELOADER
else
    wine=wine
fi
own_prefix=${TMPDIR:-/tmp}/lumivar-wine-$arch-$(id -u)
: "${WINEPREFIX:=$own_prefix}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# A prefix this script makes is marked as ours before Wine fills it, so that
# its fonts are still replaced (below) after a first run that was cut short.
# The folder must exist anyway for the server to start in it.
fonts_lock=$WINEPREFIX/.lumivar-fonts.lock
fonts_done=$WINEPREFIX/.lumivar-fonts
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX" && : >>"$fonts_lock"
fi
# Keep the server up between the many short test runs: starting it costs
# seconds each time. When this call starts it (exit code 0; 2 means one was
# running), start Wine's background services too, with their output away
# from ours: they live as long as the server, and a test runner would
# otherwise wait for them to close the output it is reading.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 || true
fi
# The program's windows name the faces 宋体 and 黑体 (in Chinese and in
# English), which a new prefix lacks: Wine would draw every Chinese text as
# boxes. They are replaced by an installed CJK font, once per prefix of ours,
# under a lock since runs may start side by side; a prefix of the user's
# keeps its fonts (README.md gives the lines to run there). The names are
# UTF-8, which Wine reads as such only in a UTF-8 locale.
if [ ! -e "$fonts_done" ] && { [ -e "$fonts_lock" ] || [ "$WINEPREFIX" = "$own_prefix" ]; }; then
    (
        flock 9
        [ -e "$fonts_done" ] && exit 0
        for face in 宋体 SimSun 新宋体 NSimSun 黑体 SimHei; do
            LC_ALL=C.UTF-8 "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
                /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1 || exit 1
        done
        echo "WenQuanYi Micro Hei" >"$fonts_done"
    ) 9>>"$fonts_lock" ||
        echo "wine-run.sh: the Chinese fonts could not be replaced in $WINEPREFIX" >&2
fi
exec "$wine" "$@"
