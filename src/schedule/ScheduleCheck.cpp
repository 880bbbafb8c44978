#include "ScheduleCheck.h"

namespace lumivar {
namespace {

constexpr std::int64_t kSecondsPerDay = 24 * 3600;

// How far ahead of `now` the target comes next, in [0, one day).
std::int64_t SecondsUntil(const TargetTime& target, const TargetTime& now) {
    const std::int64_t ahead = (SecondsOfDay(target) - SecondsOfDay(now)) % kSecondsPerDay;
    return ahead < 0 ? ahead + kSecondsPerDay : ahead;
}

} // namespace

ScheduleAction CheckSchedule(const TargetTime& target, int hour, int minute, int second,
                             bool noticeOn) {
    const TargetTime now{hour, minute, second};
    if (noticeOn && SecondsUntil(target, now) == kNoticeLeadSeconds)
        return ScheduleAction::ShowNotice;
    if (target == now)
        return ScheduleAction::PowerOff;
    return ScheduleAction::None;
}

} // namespace lumivar
