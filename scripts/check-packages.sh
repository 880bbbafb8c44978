#!/usr/bin/env bash
# Checks the two downloads of scripts/package.sh as a user gets them. The
# Debian package: lintian, then unpacked into a throwaway root, its program
# run from there (--version, and the end-to-end dry run on Xvfb), its desktop
# entry and metainfo validated. The Windows zip: unpacked, its program a
# stripped 32-bit one that asks for the x86 common controls and needs no DLL
# beside it, and driven under Wine by the end-to-end test where this machine
# runs 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/.."

cache_value() { sed -n "s/^$2=//p" "build/$1/CMakeCache.txt"; }
version=$(cache_value release CMAKE_PROJECT_VERSION:STATIC)
deb=dist/lumivar_${version}_amd64.deb
zip=dist/Lumivar-${version}-win32.zip
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

echo "== $deb"
lintian --fail-on error,warning "$deb"
root=$unpacked/deb
dpkg-deb -x "$deb" "$root"
shown=$("$root/usr/bin/lumivar" --version)
echo "lumivar --version: $shown"
[[ $shown == "Lumivar $version" ]]
desktop-file-validate "$root/usr/share/applications/lumivar.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
python3 tests/e2e/linux_end_to_end.py "$root/usr/bin/lumivar"

echo "== $zip"
python3 -m zipfile -e "$zip" "$unpacked/zip"
folder=$unpacked/zip/Lumivar-$version-win32
[[ $(ls "$folder") == $'LICENSE.txt\nLumivar.exe\nREADME.txt' ]]
exe=$folder/Lumivar.exe
headers=$("$(cache_value windows-release CMAKE_OBJDUMP:FILEPATH)" -p -h "$exe")
fail() {
    echo "Lumivar.exe $*" >&2
    exit 1
}
grep -q 'file format pei-i386' <<<"$headers" || fail "is not a 32-bit (i386) program"
! grep -q '\.debug' <<<"$headers" || fail "is not stripped"
# The MinGW runtime DLLs (libstdc++-6, libgcc_s_dw2-1, libwinpthread-1).
! grep -q 'DLL Name: lib' <<<"$headers" || fail "needs a DLL beside it"
[[ $(grep -a -o 'processorArchitecture="[^"]*"' "$exe" | sort -u) == 'processorArchitecture="x86"' ]] ||
    fail "has no manifest for x86"
if [[ $(scripts/wine-arch.sh) == x86_64 ]]; then
    echo "This machine runs no 32-bit programs: $exe is checked, not run."
else
    # The test's driver comes from the Windows build with tests.
    cmake --build --preset windows --target lumivar_driver
    python3 tests/e2e/windows_end_to_end.py "$exe" build/windows/tests/platform/win32/lumivar_driver.exe
fi
