#!/usr/bin/env bash
# Builds the two downloads into dist/: lumivar_<version>_amd64.deb, the Linux
# program as a Debian package, and Lumivar-<version>-win32.zip, the Windows
# program as a portable zip. scripts/check-packages.sh checks them.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package

# The last commit's date stands for the release's (metainfo, man page).
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}

# Debian's optimisation flags and all its hardening, as a Debian build would
# use them. CMake reads them only into a new cache: --fresh.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" cmake --preset release --fresh >/dev/null
cmake --build --preset release
cpack --preset deb

cmake --preset windows-release >/dev/null
cmake --build --preset windows-release
cpack --preset win32-zip

rm -rf dist/_CPack_Packages
ls -l dist/
