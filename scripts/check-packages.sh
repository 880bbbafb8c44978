#!/usr/bin/env bash
# Checks the two downloads of scripts/package.sh as a user gets them. The
# Debian package: lintian, then unpacked into a throwaway root, its program
# run from there (--version, and the end-to-end dry run on Xvfb), its desktop
# entry and metainfo validated. The Windows zip: unpacked, its program
# stripped, and driven under Wine by the end-to-end test.
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
[[ -f $folder/README.txt && -f $folder/LICENSE.txt ]]
if "$(cache_value windows-release CMAKE_OBJDUMP:FILEPATH)" -h "$folder/Lumivar.exe" | grep -q '\.debug'; then
    echo "Lumivar.exe is not stripped" >&2
    exit 1
fi
# The test's driver comes from the Windows build with tests.
cmake --build --preset windows --target lumivar_driver
python3 tests/e2e/windows_end_to_end.py "$folder/Lumivar.exe" \
    build/windows/tests/platform/win32/lumivar_driver.exe
