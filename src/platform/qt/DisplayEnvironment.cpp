#include "DisplayEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>

#include <cstdlib>
#include <string_view>

namespace lumivar::qt {
namespace {

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
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

// Where Qt looks for its platform plugins: its own folder and QT_PLUGIN_PATH.
bool WaylandPluginInstalled() {
    QStringList folders{QLibraryInfo::path(QLibraryInfo::PluginsPath)};
    if (const char* extra = Variable("QT_PLUGIN_PATH"))
        folders += QString::fromLocal8Bit(extra).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QDir platforms(folder + QStringLiteral("/platforms"));
        if (!platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

} // namespace

DisplayChoice ChooseDisplay(const DisplayEnvironment& environment) {
    if (environment.platformArgument)
        return DisplayChoice::AsGiven;
    if (environment.x11)
        return DisplayChoice::UseXcb;
    // Another platform than Wayland (offscreen, vnc) is the user's choice.
    const std::string_view variable = environment.platformVariable;
    if (!variable.empty() && !variable.starts_with("wayland"))
        return DisplayChoice::AsGiven;
    if (!environment.wayland)
        return DisplayChoice::NoDisplay;
    return environment.waylandPlugin ? DisplayChoice::AsGiven : DisplayChoice::NoWaylandPlugin;
}

DisplayEnvironment ReadDisplayEnvironment(std::span<const std::string> args) {
    DisplayEnvironment environment;
    environment.x11 = Variable("DISPLAY") != nullptr;
    environment.wayland = Variable("WAYLAND_DISPLAY") != nullptr;
    if (const char* platform = Variable("QT_QPA_PLATFORM"))
        environment.platformVariable = platform;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--")
            break;
        if (IsOption(args[i], "platform") || IsOption(args[i], "display"))
            environment.platformArgument = true;
    }
    // Looked for only where it matters.
    if (!environment.x11 && environment.wayland)
        environment.waylandPlugin = WaylandPluginInstalled();
    return environment;
}

bool NativeWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace lumivar::qt
