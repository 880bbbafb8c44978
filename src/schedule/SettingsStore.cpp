#include "SettingsStore.h"

#include "ProfileBatchRead.h"
#include "ProfileFile.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace lumivar {
namespace {

constexpr std::string_view kFileName = "Setup.ini";

// The key of a value of its own, found while compiling: a value without a
// key does not build.
constexpr const SettingKey& KeyOf(std::int32_t ScheduleSettings::*value) {
    return *std::find_if(kSettingKeys.begin(), kSettingKeys.end(),
                         [value](const SettingKey& setting) { return setting.value == value; });
}
constexpr const SettingKey& kModeKey = KeyOf(&ScheduleSettings::mode);
constexpr const SettingKey& kNoticeKey = KeyOf(&ScheduleSettings::noticeShow);

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
    std::vector<profile::KeyRequest> requests;
    for (const SettingKey& setting : kSettingKeys)
        requests.push_back({setting.section, setting.key, setting.defaultText, setting.capacity});
    // A Setup.ini that is there but cannot be read silently gives every
    // default otherwise; the user should know why the settings did not come back.
    std::string unreadable;
    const std::vector<std::string> texts = profile::GetStrings(file, requests, &unreadable);
    if (!unreadable.empty())
        *m_errors << "lumivar: could not read " << PathText(file) << ": " << unreadable
                  << "; using the defaults\n";

    ScheduleSettings settings;
    for (std::size_t i = 0; i < kSettingKeys.size(); ++i)
        kSettingKeys[i].ValueIn(settings) = ParseLeadingInt(texts[i]);
    return settings;
}

StoreResult SettingsStore::StoreSlotTime(std::string_view section, const TargetTime& time) const {
    // Every key is tried even after a failure; the first reason is kept.
    StoreResult result;
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.section != section || !setting.time)
            continue;
        StoreResult next = Store(setting, time.*setting.part);
        if (result && !next)
            result = std::move(next);
    }
    return result;
}

StoreResult SettingsStore::StoreMode(std::int32_t mode) const {
    return Store(kModeKey, mode);
}

StoreResult SettingsStore::StoreNotice(std::int32_t checked) const {
    return Store(kNoticeKey, checked);
}

StoreResult SettingsStore::Store(const SettingKey& setting, std::int32_t value) const {
    const std::filesystem::path file = m_path();
    Failure failure;
    if (profile::WriteString(file, setting.section, setting.key, std::to_string(value), &failure))
        return {};
    failure.detail = PathText(file) + ": " + failure.detail;
    return {std::move(failure)};
}

} // namespace lumivar
