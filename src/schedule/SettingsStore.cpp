#include "SettingsStore.h"

#include "ProfileFile.h"
#include "Slots.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <limits>
#include <string>
#include <system_error>

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

std::int32_t ReadNumber(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view defaultText, std::size_t capacity) {
    return ParseLeadingInt(profile::GetString(file, section, key, defaultText, capacity));
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
    ScheduleSettings settings;
    for (const Slot& slot : kSlots) {
        const TargetTime& fallback = slot.defaultTime;
        TargetTime& time = settings.*slot.field;
        time.hour = ReadNumber(file, slot.section, kTimeKeys[0], TwoDigits(fallback.hour),
                               kNumberCapacity);
        time.minute = ReadNumber(file, slot.section, kTimeKeys[1], TwoDigits(fallback.minute),
                                 kNumberCapacity);
        time.second = ReadNumber(file, slot.section, kTimeKeys[2], TwoDigits(fallback.second),
                                 kNumberCapacity);
    }
    settings.noticeShow = ReadNumber(file, "NOTICE", "Show", "1", kNumberCapacity);
    settings.mode = ReadNumber(file, "MODE", "Mode", "1000", kModeCapacity);
    return settings;
}

bool SettingsStore::StoreSlotTime(std::string_view section, const TargetTime& time) const {
    bool ok = Store(section, kTimeKeys[0], time.hour);
    ok = Store(section, kTimeKeys[1], time.minute) && ok;
    ok = Store(section, kTimeKeys[2], time.second) && ok;
    return ok;
}

bool SettingsStore::StoreMode(std::int32_t mode) const { return Store("MODE", "Mode", mode); }

bool SettingsStore::StoreNotice(std::int32_t checked) const {
    return Store("NOTICE", "Show", checked);
}

bool SettingsStore::Store(std::string_view section, std::string_view key,
                          std::int32_t value) const {
    const std::filesystem::path file = m_path();
    if (profile::WriteString(file, section, key, std::to_string(value)))
        return true;
    *m_errors << "lumivar: could not store " << section << '/' << key << '=' << value << " in "
              << file.string() << '\n';
    return false;
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
