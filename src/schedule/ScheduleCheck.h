#pragma once

#include "TargetTime.h"

namespace lumivar {

/// What one schedule tick has to do.
enum class ScheduleAction { None, ShowNotice, PowerOff };

/// Seconds before the target at which the countdown notice opens.
inline constexpr int kNoticeLeadSeconds = 30;

/// Decides one tick from the armed target, the current local time of day and
/// the notice option. Pure: the same inputs always give the same action.
/// The notice test counts across midnight, so a target from 00:00:00 to
/// 00:00:29 gets its notice the evening before.
ScheduleAction CheckSchedule(const TargetTime& target, int hour, int minute, int second,
                             bool noticeOn);

} // namespace lumivar
