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
    # The Windows program: cross-compiler, and Wine to run its tests
    g++-mingw-w64-x86-64 wine wine64
)

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
