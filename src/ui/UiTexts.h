#pragma once

// The texts the windows set at run time (the templates carry the rest).
// UTF-8; the punctuation marked ASCII in the messages is ASCII on purpose.

#include "LumivarVersion.h"

#include <string_view>

namespace lumivar::ui::texts {

inline constexpr std::string_view kWindowTitle = "Tarnholt定时关机管理程序";
// Our own: after the title of a copy that only reports the power-off.
inline constexpr std::string_view kDryRunMark = " (试运行)";

// Clock and uptime
inline constexpr std::string_view kDateTimeFormat =
    "系统日期时间:%d年%02d月%02d日 %02d时%02d分%02d秒";
inline constexpr std::string_view kUptimeFormat = "系统运行时间:%u时%u分%u秒";
inline constexpr std::string_view kWeekdayNames[] = {"星期日", "星期一", "星期二", "星期三",
                                                     "星期四", "星期五", "星期六"};
inline constexpr std::string_view kStopRefreshing = "停止刷新/系统时间";
inline constexpr std::string_view kStartRefreshing = "开始刷新/系统时间";

// Message boxes
inline constexpr std::string_view kNoticeCaption = "提示";
inline constexpr std::string_view kDefaultTimeCaption = "设置默认时间";
inline constexpr std::string_view kExitQuestion = "确认要退出Tarnholt定时关机管理程序吗?";
inline constexpr std::string_view kInstructions =
    "如果启用此功能,则在关机前30秒内不予取消关机操作,请谨慎使用!";
inline constexpr std::string_view kDefaultTimeWork =
    "已将 %s:%s:%s 设置为星期日至星期四的默认时间!";
inline constexpr std::string_view kDefaultTimeRest =
    "已将 %s:%s:%s 设置为星期五至星期六的默认时间!";
inline constexpr std::string_view kDefaultTimeUser = "已将 %s:%s:%s 设置为自定义关机的默认时间!";
// Our own text, so its time is written as times are: 06:59:00.
inline constexpr std::string_view kDefaultTimeNotSaved =
    "无法保存默认时间,本次运行仍使用所选的 %02d:%02d:%02d。\n%s";
inline constexpr std::string_view kPowerOffFailed = "关机没有执行,计算机仍在运行。\n%s";
inline constexpr std::string_view kPowerOffLikelyRefused =
    "定时关机已设定,但到时的关机请求可能会被系统拒绝。\n%s";
inline constexpr std::string_view kRunningCopyNoAnswer =
    "定时关机程序已在运行,但没有响应。\n要再启动一个吗?";
inline constexpr std::string_view kChooseSlotFirst = "请先选定一种模式,再定时关机。";
inline constexpr std::string_view kNotAnInteger = "请输入一个整数。";
inline constexpr std::string_view kPeriodOutOfRange = "请输入一个介于 1000 和 5000 之间的整数。";

// Countdown notice
inline constexpr std::string_view kCountdownFormat = "离关机还有 %d 秒";
inline constexpr std::string_view kShutdownWarning = "系统即将关机,请做好保存工作!";
inline constexpr std::string_view kEscHint = "ESC关闭窗体";
inline constexpr std::string_view kNoticeCredit = "Lumivar " LUMIVAR_VERSION;
inline constexpr std::string_view kLargeFontFace = "黑体";
inline constexpr std::string_view kSmallFontFace = "宋体";

} // namespace lumivar::ui::texts
