#include "CommandLine.h"

#include "LumivarVersion.h"

#include <algorithm>
#include <utility>

namespace lumivar {
namespace {

constexpr std::string_view kVersionLine = "Lumivar " LUMIVAR_VERSION "\n";
constexpr std::string_view kDefaultProgramName = "lumivar";

std::string ProgramName(std::span<const std::string> args) {
    if (args.empty())
        return std::string(kDefaultProgramName);
    const std::string& path = args.front();
    // Both separators: the Windows program is handed a full path with either.
    const auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() ? std::string(kDefaultProgramName) : name;
}

std::string Usage(const std::string& program) {
    std::string usage = "Usage: " + program + " [--dry-run]\n";
    usage += "       " + program + " --help | --version\n";
    return usage + "Powers the computer off at the time of day you choose.\n"
                   "  --dry-run       report the power-off instead of making it\n"
                   "  --trace-ticks   print the time of every schedule tick on standard error\n"
                   "  --help          show this help and exit\n"
                   "  --version       show the version and exit\n";
}

CommandLineResult Finish(int exitCode, std::string text, OutputChannel channel) {
    CommandLineResult result;
    result.exitCode = exitCode;
    result.text = std::move(text);
    result.channel = channel;
    return result;
}

CommandLineResult UsageError(const std::string& program, const std::string& problem) {
    return Finish(2, program + ": " + problem + "\n" + Usage(program), OutputChannel::Error);
}

} // namespace

CommandLineResult ParseCommandLine(std::span<const std::string> args,
                                   std::span<const std::string_view> hostOptions) {
    const std::string program = ProgramName(args);
    CommandLineResult result;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--")
            break;
        if (!arg.starts_with("-"))
            continue; // a value of one of the window system's options
        const bool twoDashes = arg.starts_with("--");
        const std::string_view nameAndValue = arg.substr(twoDashes ? 2 : 1);
        std::string_view name = nameAndValue.substr(0, nameAndValue.find('='));
        const bool hasValue = name.size() != nameAndValue.size();
        // The short help most programs know; left to the window system, it
        // would open the window instead.
        if (name == "h")
            name = "help";
        if (name != "dry-run" && name != "trace-ticks" && name != "help" && name != "version") {
            if (!twoDashes || std::ranges::find(hostOptions, name) != hostOptions.end())
                continue; // the window system's
            return UsageError(program, "unknown option '" + std::string(arg) + "'");
        }
        if (hasValue)
            return UsageError(program, "option '--" + std::string(name) + "' takes no value");
        if (name == "help")
            return Finish(0, Usage(program), OutputChannel::Standard);
        if (name == "version")
            return Finish(0, std::string(kVersionLine), OutputChannel::Standard);
        if (name == "trace-ticks")
            result.options.traceTicks = true;
        else
            result.options.dryRun = true;
    }
    return result;
}

} // namespace lumivar
