#!/bin/sh
# Prints the Windows architecture this machine's Wine runs the tests on:
# i686, or x86_64 where no 32-bit program can run. Some hypervisors execute
# no 32-bit code although the kernel would ("Exec format error"), and
# Debian's wine still picks its 32-bit loader whenever wine32 is installed.
# LUMIVAR_WINE64=1 asks for x86_64 on any machine; =0 for i686.
case ${LUMIVAR_WINE64:-} in
    1) echo x86_64 ;;
    0) echo i686 ;;
    *)
        # Without wine32, Debian's wine runs its 64-bit loader anyway.
        if [ -e /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
            echo x86_64
        else
            echo i686
        fi
        ;;
esac
