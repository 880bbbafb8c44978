#include "SettingsStore.h"

#include "ProfileFile.h"
#include "ProfileKeys.h"
#include "Slots.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

namespace lumivar {
namespace {

constexpr std::string_view kFileName = "Setup.ini";

// Read capacities in bytes, terminator included: up to three characters for a
// time or the notice flag, up to seven for the mode.
constexpr std::size_t kNumberCapacity = 4;
constexpr std::size_t kModeCapacity = 8;

constexpr std::string_view kTimeKeys[] = {"Hour", "Minute", "Second"};

std::string TwoDigits(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(value));
    return text;
}

// The path as UTF-8, for texts that the windows show: on Windows, string()
// would give the ANSI code page.
std::string PathText(const std::filesystem::path& file) {
    const std::u8string text = file.u8string();
    return {text.begin(), text.end()};
}

} // namespace

std::filesystem::path SettingsPathInWorkingDirectory() {
    std::error_code ec;
    std::filesystem::path directory = std::filesystem::current_path(ec);
    // Without a working directory (it was deleted) the name alone is the best
    // guess; the file system then reports the failure on each access.
    return ec ? std::filesystem::path(kFileName) : directory / kFileName;
}

SettingsStore::SettingsStore(PathSource path) : SettingsStore(std::move(path), std::cerr) {}

SettingsStore::SettingsStore(PathSource path, std::ostream& errors)
    : m_path(std::move(path)), m_errors(&errors) {}

ScheduleSettings SettingsStore::Load() const {
    const std::filesystem::path file = m_path();
    // All eleven keys in one request, so the file is read once however large.
    std::vector<std::string> slotDefaults;
    for (const Slot& slot : kSlots)
        for (const std::int32_t part :
             {slot.defaultTime.hour, slot.defaultTime.minute, slot.defaultTime.second})
            slotDefaults.push_back(TwoDigits(part));
    std::vector<profile::KeyRequest> requests;
    for (std::size_t s = 0; s < kSlots.size(); ++s)
        for (std::size_t k = 0; k < std::size(kTimeKeys); ++k)
            requests.push_back(
                {kSlots[s].section, kTimeKeys[k], slotDefaults[s * 3 + k], kNumberCapacity});
    requests.push_back({"NOTICE", "Show", "1", kNumberCapacity});
    requests.push_back({"MODE", "Mode", "1000", kModeCapacity});
    // A Setup.ini that is there but cannot be read silently gives every
    // default otherwise; the user should know why the settings did not come back.
    std::string unreadable;
    const std::vector<std::string> texts = profile::GetStrings(file, requests, &unreadable);
    if (!unreadable.empty())
        *m_errors << "lumivar: could not read " << PathText(file) << ": " << unreadable
                  << "; using the defaults\n";

    ScheduleSettings settings;
    std::size_t next = 0;
    for (const Slot& slot : kSlots) {
        TargetTime& time = settings.*slot.field;
        time.hour = ParseLeadingInt(texts[next++]);
        time.minute = ParseLeadingInt(texts[next++]);
        time.second = ParseLeadingInt(texts[next++]);
    }
    settings.noticeShow = ParseLeadingInt(texts[next++]);
    settings.mode = ParseLeadingInt(texts[next]);
    return settings;
}

StoreResult SettingsStore::StoreSlotTime(std::string_view section, const TargetTime& time) const {
    // All three keys are tried even after a failure; the first reason is kept.
    StoreResult result = Store(section, kTimeKeys[0], time.hour);
    for (const auto& [key, value] :
         {std::pair{kTimeKeys[1], time.minute}, std::pair{kTimeKeys[2], time.second}}) {
        StoreResult next = Store(section, key, value);
        if (result && !next)
            result = std::move(next);
    }
    return result;
}

StoreResult SettingsStore::StoreMode(std::int32_t mode) const {
    return Store("MODE", "Mode", mode);
}

StoreResult SettingsStore::StoreNotice(std::int32_t checked) const {
    return Store("NOTICE", "Show", checked);
}

StoreResult SettingsStore::Store(std::string_view section, std::string_view key,
                                 std::int32_t value) const {
    const std::filesystem::path file = m_path();
    std::string why;
    if (profile::WriteString(file, section, key, std::to_string(value), &why))
        return {};
    const std::string reason = PathText(file) + ": " + why;
    *m_errors << "lumivar: could not store " << section << '/' << key << '=' << value << " in "
              << reason << '\n';
    return StoreResult::Failed(reason);
}

std::int32_t ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kLimit, value * 10 + (text[i] - '0'));
    value = negative ? -value : std::min(value, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

} // namespace lumivar
