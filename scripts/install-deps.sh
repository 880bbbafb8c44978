#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs to build and test. Safe to
# run again: it installs only what is missing and asks apt nothing otherwise.
set -euo pipefail

packages=(
    # Build
    cmake ninja-build g++ pkg-config
    # Unit tests
    googletest libgtest-dev libgmock-dev
    # The Linux program: Qt 6 Widgets and D-Bus; resource generation
    qt6-base-dev libgl-dev python3
    # Its tests: a display, a tray host, a private system bus with a mock
    # logind, window tools, screenshots and a CJK font
    xvfb xauth trayer xdotool x11-utils imagemagick dbus python3-dbusmock fonts-wqy-microhei
    # Fuzzing (clang's libFuzzer and sanitizer runtimes)
    clang libclang-rt-14-dev
    # The Windows program (32-bit): cross-compiler, and Wine to run its tests,
    # its 32-bit half beside the 64-bit one (WoW64)
    g++-mingw-w64-i686 wine wine64 wine32:i386
)

# wine32 is an i386 package: apt knows it only once i386 is a foreign
# architecture and the package lists have been fetched again.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root=()
    [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" dpkg --add-architecture i386
    "${as_root[@]}" apt-get update -qq
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Run as root (or install sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
