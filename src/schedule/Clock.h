#pragma once

#include <chrono>
#include <string>

namespace lumivar {

using WallTime = std::chrono::system_clock::time_point;

/// A wall-clock reading broken down in the local time zone.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;   // 0-23
    int minute = 0; // 0-59
    int second = 0; // 0-60 (a leap second shows as 60 where the system reports one)
    int millisecond = 0;
    int weekday = 0; // 1 = Sunday ... 7 = Saturday
};

LocalTime ToLocalTime(WallTime time);

/// Local time of day to the millisecond, "HH:MM:SS.mmm": the form of the
/// dry-run and tick-trace lines.
std::string FormatTimeOfDay(WallTime time);

/// The wall clock, behind an interface so that tests can set and jump it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual WallTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    WallTime Now() const override { return std::chrono::system_clock::now(); }
};

} // namespace lumivar
