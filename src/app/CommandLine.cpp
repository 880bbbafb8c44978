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

struct OptionHelp {
    std::string_view names;
    std::string_view description;
};

// The one source of the help's words; each layout only sets them out.
constexpr OptionHelp kOptionHelp[] = {
    {"--dry-run", "report the power-off instead of making it"},
    {"--trace-ticks", "print the time of every schedule tick on standard error"},
    {"-h, --help", "show this help and exit"},
    {"--version", "show the version and exit"},
};
constexpr std::string_view kRunSynopsis = " [--dry-run] [--trace-ticks]\n";
constexpr std::string_view kExitSynopsis = " -h | --help | --version\n";
constexpr std::string_view kSummary = "Powers the computer off at the time of day you choose.";

// Appends `text` in lines that begin with `indent`, broken between words so
// that none is longer than `width` unless a single word is.
void AppendWrapped(std::string& out, std::string_view text, std::string_view indent,
                   std::size_t width) {
    std::string line(indent);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > indent.size() && line.size() + 1 + word.size() > width) {
            out.append(line).append("\n");
            line = indent;
        }
        if (line.size() > indent.size())
            line += ' ';
        line.append(word);
    }
    out.append(line).append("\n");
}

std::string ColumnsUsage(const std::string& program) {
    std::string usage = "Usage: " + program;
    usage.append(kRunSynopsis).append("       ").append(program).append(kExitSynopsis);
    usage.append(kSummary).append("\n");
    std::size_t namesWidth = 0;
    for (const OptionHelp& option : kOptionHelp)
        namesWidth = std::max(namesWidth, option.names.size());
    for (const OptionHelp& option : kOptionHelp) {
        std::string line = "  ";
        line.append(option.names).resize(2 + namesWidth + 3, ' ');
        usage.append(line).append(option.description).append("\n");
    }
    return usage;
}

std::string StackedUsage(const std::string& program) {
    std::string usage = "Usage:\n  " + program;
    usage.append(kRunSynopsis).append("  ").append(program).append(kExitSynopsis).append("\n");
    AppendWrapped(usage, kSummary, "", kStackedHelpWidth);
    usage.append("\n");
    for (const OptionHelp& option : kOptionHelp) {
        usage.append(option.names).append("\n");
        AppendWrapped(usage, option.description, "    ", kStackedHelpWidth);
    }
    return usage;
}

std::string Usage(const std::string& program, HelpLayout layout) {
    return layout == HelpLayout::Stacked ? StackedUsage(program) : ColumnsUsage(program);
}

CommandLineResult Finish(int exitCode, std::string text, OutputChannel channel) {
    CommandLineResult result;
    result.exitCode = exitCode;
    result.text = std::move(text);
    result.channel = channel;
    return result;
}

CommandLineResult UsageError(const std::string& program, HelpLayout layout,
                             const std::string& problem) {
    return Finish(2, program + ": " + problem + "\n" + Usage(program, layout),
                  OutputChannel::Error);
}

} // namespace

CommandLineResult ParseCommandLine(std::span<const std::string> args,
                                   std::span<const std::string_view> hostOptions,
                                   HelpLayout layout) {
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
            return UsageError(program, layout, "unknown option '" + std::string(arg) + "'");
        }
        if (hasValue)
            return UsageError(program, layout,
                              "option '--" + std::string(name) + "' takes no value");
        if (name == "help")
            return Finish(0, Usage(program, layout), OutputChannel::Standard);
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
