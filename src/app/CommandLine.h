#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumivar {

/// What the command line asks of a program run.
struct CommandLineOptions {
    bool dryRun = false;     // report the power-off instead of making it
    bool traceTicks = false; // print the time of every schedule tick
};

enum class OutputChannel { Standard, Error };

/// The outcome of reading the command line. Each program shows `text` its own
/// way (the Linux one on standard output or error, the Windows one in a box).
struct CommandLineResult {
    CommandLineOptions options;
    /// Empty: run the program. Otherwise show `text` and exit with this code.
    std::optional<int> exitCode;
    std::string text; // UTF-8, ends with a newline; empty when running
    OutputChannel channel = OutputChannel::Standard;
};

/// How the help sets out its options.
enum class HelpLayout {
    /// Each option beside its description, for a terminal's fixed-width font.
    Columns,
    /// Each option on a line of its own, its description indented below it and
    /// no line longer than kStackedHelpWidth: a message box writes in a
    /// proportional font, which lines up no columns, and wraps long lines at
    /// a width of its own (in Wine, at about 46 characters).
    Stacked,
};

inline constexpr std::size_t kStackedHelpWidth = 44;

/// Option names Qt's application object takes; Qt accepts them with one dash
/// or two, so the Linux program passes these on as `hostOptions`.
inline constexpr std::array<std::string_view, 21> kQtApplicationOptions = {
    "platform",      "platformpluginpath",
    "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry",
    "qwindowicon",   "qwindowtitle",
    "reverse",       "session",
    "display",       "geometry",
    "name",          "title",
    "visual",        "ncols",
    "cmap",          "nograb",
    "dograb",        "style",
    "stylesheet",
};

/// Reads `args` (argv[0] first) from left to right; the first of --help,
/// --version or an error decides the outcome. Ours are --dry-run,
/// --trace-ticks, --help (also -h) and --version, with one dash or two (so
/// that "-dry-run" can never power off for real); "--" ends them. Any other
/// "--name" is an error (exit code 2) unless `name` is one of `hostOptions`.
/// Everything else (other single-dash options, their values, plain words) is
/// left to the window system, so the caller hands over its raw arguments
/// before the window system reads them. The help, also shown with an error,
/// is set out in `layout`.
CommandLineResult ParseCommandLine(std::span<const std::string> args,
                                   std::span<const std::string_view> hostOptions = {},
                                   HelpLayout layout = HelpLayout::Columns);

} // namespace lumivar
