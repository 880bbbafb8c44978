#include "CommandLine.h"
#include "LumivarVersion.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace lumivar {
namespace {

using Args = std::vector<std::string>;

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

std::string Words(const std::string& text) {
    std::istringstream in(text);
    std::string words;
    for (std::string word; in >> word;)
        words += word + ' ';
    return words;
}

TEST(CommandLine, RunsWithOurOptionsAndLeavesTheWindowSystemItsOwn) {
    const struct {
        Args args;
        bool dryRun;
    } cases[] = {
        {{"lumivar"}, false},
        {{}, false},
        {{"lumivar", "--dry-run"}, true},
        {{"lumivar", "-dry-run"}, true}, // must never power off for real
        {{"lumivar", "-platform", "offscreen", "-display", ":1", "--dry-run"}, true},
        {{"lumivar", "-reverse", "plain-word"}, false},
        {{"lumivar", "--", "--frob", "--help"}, false},
    };
    for (const auto& c : cases) {
        const CommandLineResult result = ParseCommandLine(c.args);
        SCOPED_TRACE(c.args.size() > 1 ? c.args.back() : "(none)");
        EXPECT_FALSE(result.exitCode.has_value()) << result.text;
        EXPECT_EQ(result.options.dryRun, c.dryRun);
        EXPECT_EQ(result.text, "");
    }
}

TEST(CommandLine, HostOptionsPassWithTwoDashesOnlyWhenNamed) {
    const Args args = {"lumivar", "--platform", "offscreen", "--style=fusion", "--dry-run"};
    const CommandLineResult asQt = ParseCommandLine(args, kQtApplicationOptions);
    EXPECT_FALSE(asQt.exitCode.has_value());
    EXPECT_TRUE(asQt.options.dryRun);

    const CommandLineResult bare = ParseCommandLine(args);
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_EQ(FirstLine(bare.text), "lumivar: unknown option '--platform'");
}

TEST(CommandLine, PrintsAndExits) {
    const struct {
        Args args;
        int exitCode;
        OutputChannel channel;
        std::string firstLine;
    } cases[] = {
        {{"lumivar", "--version"}, 0, OutputChannel::Standard, "Lumivar " LUMIVAR_VERSION},
        {{"/usr/bin/lumivar", "--help"},
         0,
         OutputChannel::Standard,
         "Usage: lumivar [--dry-run] [--trace-ticks]"},
        {{R"(C:\Tools\Lumivar.exe)", "-help"},
         0,
         OutputChannel::Standard,
         "Usage: Lumivar.exe [--dry-run] [--trace-ticks]"},
        // not left to the window system, which would open the window
        {{"lumivar", "-h"},
         0,
         OutputChannel::Standard,
         "Usage: lumivar [--dry-run] [--trace-ticks]"},
        {{"lumivar", "-h=x"}, 2, OutputChannel::Error, "lumivar: option '--help' takes no value"},
        {{"lumivar", "--frob"}, 2, OutputChannel::Error, "lumivar: unknown option '--frob'"},
        {{"lumivar", "--dry-run=yes"},
         2,
         OutputChannel::Error,
         "lumivar: option '--dry-run' takes no value"},
        // the first decisive argument wins
        {{"lumivar", "--help", "--frob"},
         0,
         OutputChannel::Standard,
         "Usage: lumivar [--dry-run] [--trace-ticks]"},
        {{"lumivar", "--frob", "--version"},
         2,
         OutputChannel::Error,
         "lumivar: unknown option '--frob'"},
    };
    for (const auto& c : cases) {
        const CommandLineResult result = ParseCommandLine(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.channel, c.channel);
        EXPECT_EQ(FirstLine(result.text), c.firstLine);
        EXPECT_TRUE(result.text.ends_with('\n'));
    }
    const std::string help = ParseCommandLine(Args{"lumivar", "--help"}).text;
    const std::string error = ParseCommandLine(Args{"lumivar", "--frob"}).text;
    EXPECT_EQ(error.substr(error.find('\n') + 1), help) << "an error also shows the usage";
    for (const char* option : {"--dry-run", "--help", "--version"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

TEST(CommandLine, BoxLayoutKeepsTheWordsInShortLinesWithoutColumns) {
    for (const char* option : {"--help", "--frob"}) {
        SCOPED_TRACE(option);
        const Args args = {R"(C:\Tools\Lumivar.exe)", option};
        const std::string stacked = ParseCommandLine(args, {}, HelpLayout::Stacked).text;
        EXPECT_EQ(Words(stacked), Words(ParseCommandLine(args).text));
        std::istringstream lines(stacked);
        std::vector<std::string> optionLines;
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(line.size(), kStackedHelpWidth) << line;
            if (line.starts_with('-'))
                optionLines.push_back(line);
        }
        EXPECT_EQ(optionLines, (Args{"--dry-run", "--trace-ticks", "-h, --help", "--version"}));
    }
}

TEST(CommandLine, TracesTicksOnlyWhenAsked) {
    const struct {
        Args args;
        bool traceTicks;
        bool dryRun;
    } cases[] = {
        {{"lumivar"}, false, false},
        {{"lumivar", "--dry-run"}, false, true},
        {{"lumivar", "--trace-ticks"}, true, false},
        {{"lumivar", "-trace-ticks", "--dry-run"}, true, true},
        {{"lumivar", "--", "--trace-ticks"}, false, false},
    };
    for (const auto& c : cases) {
        const CommandLineResult result = ParseCommandLine(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_FALSE(result.exitCode.has_value()) << result.text;
        EXPECT_EQ(result.options.traceTicks, c.traceTicks);
        EXPECT_EQ(result.options.dryRun, c.dryRun);
    }
    const CommandLineResult withValue = ParseCommandLine(Args{"lumivar", "--trace-ticks=1"});
    EXPECT_EQ(withValue.exitCode, 2);
    EXPECT_EQ(FirstLine(withValue.text), "lumivar: option '--trace-ticks' takes no value");
    const std::string help = ParseCommandLine(Args{"lumivar", "--help"}).text;
    EXPECT_NE(help.find("--trace-ticks"), std::string::npos);
}

} // namespace
} // namespace lumivar
