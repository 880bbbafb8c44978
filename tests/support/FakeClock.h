#pragma once

#include "Clock.h"

#include <chrono>
#include <ctime>

namespace lumivar::test {

/// A wall clock the test sets and moves.
class FakeClock final : public Clock {
public:
    FakeClock() = default;
    explicit FakeClock(WallTime now) : m_now(now) {}

    WallTime Now() const override { return m_now; }
    void Set(WallTime now) { m_now = now; }
    void Advance(std::chrono::milliseconds step) { m_now += step; }

    /// Local time of day on 7 December 2026 (a Monday), plus milliseconds.
    static WallTime At(int hour, int minute, int second, int millisecond = 0) {
        std::tm local{};
        local.tm_year = 2026 - 1900;
        local.tm_mon = 11;
        local.tm_mday = 7;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
               std::chrono::milliseconds(millisecond);
    }

private:
    WallTime m_now = At(12, 0, 0);
};

} // namespace lumivar::test
