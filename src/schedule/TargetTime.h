#pragma once

#include <cstdint>

namespace lumivar {

/// A time of day: one schedule slot's power-off time, or the armed target.
/// Valid ranges are 0-23, 0-59 and 0-59; loaded values are not range-checked.
struct TargetTime {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;

    friend bool operator==(const TargetTime&, const TargetTime&) = default;
};

/// hour * 3600 + minute * 60 + second. Wide enough for any loaded value.
constexpr std::int64_t SecondsOfDay(const TargetTime& t) {
    return std::int64_t{t.hour} * 3600 + std::int64_t{t.minute} * 60 + t.second;
}

constexpr bool IsValidTimeOfDay(const TargetTime& t) {
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

} // namespace lumivar
