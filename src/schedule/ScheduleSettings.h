#pragma once

#include "TargetTime.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace lumivar {

/// Everything Setup.ini holds. The clock refresh period is deliberately absent:
/// it starts at 1000 ms on every run.
struct ScheduleSettings {
    /// Every value at its key's default (kSettingKeys).
    constexpr ScheduleSettings();

    /// The selected slot's stored mode value (Slots.h), 0 for none.
    std::int32_t mode = 0;
    TargetTime work;
    TargetTime rest;
    TargetTime user;
    /// Check state of the thirty-second notice option: 0 off, 1 on.
    std::int32_t noticeShow = 0;

    friend bool operator==(const ScheduleSettings&, const ScheduleSettings&) = default;
};

/// One key of Setup.ini and the value of ScheduleSettings it holds: a part of
/// a slot time (`time` and `part`), or a value of its own (`value`).
struct SettingKey {
    std::string_view section;
    std::string_view key;
    /// What a missing key reads as.
    std::string_view defaultText;
    /// Read capacity in bytes, terminator included.
    std::size_t capacity;
    TargetTime ScheduleSettings::*time = nullptr;
    std::int32_t TargetTime::*part = nullptr;
    std::int32_t ScheduleSettings::*value = nullptr;

    constexpr std::int32_t& ValueIn(ScheduleSettings& settings) const {
        return time ? (settings.*time).*part : settings.*value;
    }
};

/// The keys in the order the load reads them, and the only place their
/// defaults are written down. A capacity of 4 takes three characters, enough
/// for a time or the notice flag; 8 takes the mode's seven.
inline constexpr std::array<SettingKey, 11> kSettingKeys{{
    {"WORK", "Hour", "22", 4, &ScheduleSettings::work, &TargetTime::hour},
    {"WORK", "Minute", "59", 4, &ScheduleSettings::work, &TargetTime::minute},
    {"WORK", "Second", "00", 4, &ScheduleSettings::work, &TargetTime::second},
    {"REST", "Hour", "23", 4, &ScheduleSettings::rest, &TargetTime::hour},
    {"REST", "Minute", "59", 4, &ScheduleSettings::rest, &TargetTime::minute},
    {"REST", "Second", "00", 4, &ScheduleSettings::rest, &TargetTime::second},
    {"USER", "Hour", "00", 4, &ScheduleSettings::user, &TargetTime::hour},
    {"USER", "Minute", "00", 4, &ScheduleSettings::user, &TargetTime::minute},
    {"USER", "Second", "00", 4, &ScheduleSettings::user, &TargetTime::second},
    {"NOTICE", "Show", "1", 4, nullptr, nullptr, &ScheduleSettings::noticeShow},
    {"MODE", "Mode", "1000", 8, nullptr, nullptr, &ScheduleSettings::mode},
}};

/// atoi without its undefined overflow: blanks, an optional sign and the
/// longest run of digits; anything else gives 0. Saturates at the int32 range.
constexpr std::int32_t ParseLeadingInt(std::string_view text) {
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

constexpr ScheduleSettings::ScheduleSettings() {
    for (const SettingKey& setting : kSettingKeys)
        setting.ValueIn(*this) = ParseLeadingInt(setting.defaultText);
}

} // namespace lumivar
