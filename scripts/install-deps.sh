#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, for one purpose:
#   install-deps.sh run      build and start the Linux program (scripts/run.sh)
#   install-deps.sh package  that, and build both downloads (scripts/package.sh)
#   install-deps.sh test     all of that, and run every test (scripts/test.sh)
# Safe to run again: it installs only what is missing and asks apt nothing
# otherwise.
set -euo pipefail

run_packages=(
    # Build: compiler, CMake, Ninja; python3 generates the resources and icons
    g++ cmake ninja-build pkg-config python3
    # Qt 6 Widgets and D-Bus (it brings the X platform plugin and the OpenGL
    # headers Qt's CMake files look for), and libxcb for one X11 message
    qt6-base-dev libxcb1-dev
    # A font for the Chinese texts
    fonts-wqy-microhei
)
package_packages=(
    # The .deb's library dependencies (dpkg-shlibdeps; CPack finds the
    # binaries with file)
    dpkg-dev file
    # The Windows program: the 32-bit MinGW-w64 cross-compiler
    g++-mingw-w64-i686
)
test_packages=(
    # Unit tests (GoogleTest for Linux, and its sources to build for Windows),
    # and the format check
    libgtest-dev libgmock-dev googletest clang-format
    # The Linux program's tests: a display, a tray host, a private system bus
    # with a mock logind, window tools, screenshots
    xvfb xauth trayer xdotool x11-utils imagemagick dbus python3-dbusmock
    # A window manager, for the way back from the tray where one is running
    openbox
    # A StatusNotifierItem host and its watcher, for the tray menu over D-Bus
    haskell-gtk-sni-tray-utils haskell-status-notifier-item-utils
    # Fuzzing (clang's libFuzzer and sanitizer runtimes, and the symbolizer
    # that names the functions of a crash, which clang only recommends)
    clang libclang-rt-14-dev llvm-14
    # Wine, 32-bit, to run the Windows program's tests; where a machine runs
    # no 32-bit code, they run on a 64-bit build under Wine's 64-bit loader
    wine wine64 wine32:i386 g++-mingw-w64-x86-64-posix
    # Checks of the packages
    lintian desktop-file-utils appstream
)

case ${1:-} in
    run) packages=("${run_packages[@]}") ;;
    package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
    *)
        echo "usage: $0 run|package|test" >&2
        exit 2
        ;;
esac

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
need_root() {
    if [[ ${#sudo[@]} -gt 0 ]] && ! command -v sudo >/dev/null; then
        echo "Run as root (or install sudo) to install: $*" >&2
        exit 1
    fi
}

# wine32 is an i386 package.
if [[ $1 == test ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root "the i386 architecture"
    "${sudo[@]}" dpkg --add-architecture i386
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
need_root "${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
