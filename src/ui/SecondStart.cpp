#include "SecondStart.h"

#include "TextFormat.h"

#include <system_error>

namespace lumivar::ui {
namespace {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace

bool SameRun(const StartRequest& running, const StartRequest& newStart) {
    if (running.dryRun != newStart.dryRun)
        return false;
    const std::filesystem::path& a = running.settingsFile;
    const std::filesystem::path& b = newStart.settingsFile;
    if (a.lexically_normal() == b.lexically_normal())
        return true;
    // One folder under two names (a link) holds one file, there or not yet.
    std::error_code ec;
    return a.filename() == b.filename() &&
           std::filesystem::equivalent(a.parent_path(), b.parent_path(), ec);
}

std::string DescribeOtherRun(const StartRequest& running, const StartRequest& newStart) {
    return Printf("定时关机程序已在运行,这次启动没有再开一个。\n"
                  "正在运行的%s,设置文件为 %s。\n"
                  "这次启动要的是%s,设置文件为 %s。",
                  running.dryRun ? "是试运行(到时只报告关机,不会真的关机)" : "程序到时会真的关机",
                  Utf8(running.settingsFile).c_str(), newStart.dryRun ? "试运行" : "真的关机",
                  Utf8(newStart.settingsFile).c_str());
}

} // namespace lumivar::ui
