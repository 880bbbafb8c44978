#include "DisplayEnvironment.h"

#include <cstdlib>
#include <string_view>

namespace lumivar::qt {
namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt takes its options with one dash or two, the value apart or after "=".
bool IsOption(std::string_view arg, std::string_view name) {
    if (arg.starts_with("--"))
        arg.remove_prefix(2);
    else if (arg.starts_with("-"))
        arg.remove_prefix(1);
    else
        return false;
    return arg == name || (arg.starts_with(name) && arg.substr(name.size()).starts_with("="));
}

} // namespace

DisplayChoice ChooseDisplay(const DisplayEnvironment& environment) {
    if (environment.platformGiven)
        return DisplayChoice::AsGiven;
    if (environment.wayland && environment.x11)
        return DisplayChoice::UseXcb;
    if (!environment.wayland && !environment.x11)
        return DisplayChoice::NoDisplay;
    return DisplayChoice::AsGiven;
}

DisplayEnvironment ReadDisplayEnvironment(std::span<const std::string> args) {
    DisplayEnvironment environment;
    environment.x11 = IsSet("DISPLAY");
    environment.wayland = IsSet("WAYLAND_DISPLAY");
    environment.platformGiven = IsSet("QT_QPA_PLATFORM");
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--")
            break;
        if (IsOption(args[i], "platform") || IsOption(args[i], "display"))
            environment.platformGiven = true;
    }
    return environment;
}

} // namespace lumivar::qt
