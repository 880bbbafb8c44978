#pragma once

#include <span>
#include <string>

namespace lumivar::qt {

/// What the process finds about graphical displays before Qt starts.
struct DisplayEnvironment {
    bool x11 = false;           // DISPLAY is set
    bool wayland = false;       // WAYLAND_DISPLAY is set
    bool platformGiven = false; // QT_QPA_PLATFORM, -platform or -display
};

enum class DisplayChoice {
    AsGiven,   // let Qt pick (or use what the user picked)
    UseXcb,    // a Wayland session with XWayland: run as an X11 client
    NoDisplay, // nothing to show windows on
};

/// Wayland clients cannot place their windows or keep one on top, which the
/// countdown needs, so where XWayland is there the program runs on it.
DisplayChoice ChooseDisplay(const DisplayEnvironment& environment);

/// Reads the environment variables and the Qt options among `args`.
DisplayEnvironment ReadDisplayEnvironment(std::span<const std::string> args);

} // namespace lumivar::qt
