#pragma once

#include <span>
#include <string>

namespace lumivar::qt {

/// What the process finds about graphical displays before Qt starts.
struct DisplayEnvironment {
    bool x11 = false;               // DISPLAY is set
    bool wayland = false;           // WAYLAND_DISPLAY is set
    bool platformArgument = false;  // -platform or -display among the arguments
    std::string platformVariable{}; // QT_QPA_PLATFORM
    bool waylandPlugin = true;      // Qt's Wayland platform plugin is installed
};

enum class DisplayChoice {
    AsGiven,         // let Qt pick (or use what the user picked)
    UseXcb,          // an X display is there (XWayland too): run as an X11 client
    NoDisplay,       // nothing to show windows on
    NoWaylandPlugin, // Wayland alone, and Qt cannot speak it
};

/// Wayland clients cannot place their windows or keep one on top, which the
/// countdown needs, so wherever an X display is there the program runs on it,
/// whatever QT_QPA_PLATFORM says (sessions set it for every program); only
/// an explicit -platform argument overrides that.
DisplayChoice ChooseDisplay(const DisplayEnvironment& environment);

/// Reads the environment variables, the Qt options among `args` and, without
/// an X display, whether Qt's Wayland plugin is installed.
DisplayEnvironment ReadDisplayEnvironment(std::span<const std::string> args);

/// Whether Qt runs the program as a Wayland client itself, without XWayland.
bool NativeWayland();

} // namespace lumivar::qt
