#include "Clock.h"

#include <cstdio>
#include <ctime>

namespace lumivar {

LocalTime ToLocalTime(WallTime time) {
    using namespace std::chrono;
    const auto sinceEpoch = time.time_since_epoch();
    auto wholeSeconds = duration_cast<seconds>(sinceEpoch);
    if (wholeSeconds > sinceEpoch)
        wholeSeconds -= seconds(1); // round toward the past for times before 1970
    const std::time_t t = static_cast<std::time_t>(wholeSeconds.count());
    // The program has one user-interface thread, so the shared buffer of
    // std::localtime is safe here and keeps this free of OS headers.
    const std::tm* tm = std::localtime(&t);
    LocalTime local;
    if (!tm)
        return local;
    local.year = tm->tm_year + 1900;
    local.month = tm->tm_mon + 1;
    local.day = tm->tm_mday;
    local.hour = tm->tm_hour;
    local.minute = tm->tm_min;
    local.second = tm->tm_sec;
    local.weekday = tm->tm_wday + 1;
    local.millisecond =
        static_cast<int>(duration_cast<milliseconds>(sinceEpoch - wholeSeconds).count());
    return local;
}

std::string FormatTimeOfDay(WallTime time) {
    const LocalTime local = ToLocalTime(time);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.hour, local.minute, local.second,
                  local.millisecond);
    return text;
}

} // namespace lumivar
