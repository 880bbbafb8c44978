#pragma once

#include "ScheduleSettings.h"
#include "StoreResult.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string_view>

namespace lumivar {

/// Setup.ini in the process's working directory, worked out afresh for every
/// access. No length limit: the path is as long as the directory needs.
std::filesystem::path SettingsPathInWorkingDirectory();

/// Loads and stores the settings in Setup.ini. The file is read once, at
/// start-up; each setting is stored the moment the user changes it.
class SettingsStore {
public:
    using PathSource = std::function<std::filesystem::path()>;

    /// `errors` gets one line, with the reason, for a load from a Setup.ini
    /// that is there but unreadable. Stores say what failed to their caller.
    explicit SettingsStore(PathSource path = SettingsPathInWorkingDirectory);
    SettingsStore(PathSource path, std::ostream& errors);

    /// Never fails and never writes: anything missing takes its default.
    ScheduleSettings Load() const;
    /// The file the settings are loaded from and stored in.
    std::filesystem::path File() const { return m_path(); }

    /// Writes the time keys of the slot's section (Hour, Minute and Second),
    /// in kSettingKeys' order.
    StoreResult StoreSlotTime(std::string_view section, const TargetTime& time) const;
    StoreResult StoreMode(std::int32_t mode) const;
    StoreResult StoreNotice(std::int32_t checked) const;

private:
    StoreResult Store(const SettingKey& setting, std::int32_t value) const;

    PathSource m_path;
    std::ostream* m_errors;
};

} // namespace lumivar
