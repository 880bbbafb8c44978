// Main window: the date, time and uptime display and its refresh control.
#include "LumivarDlg.h"

#include "MainDialogIds.h"
#include "TextFormat.h"
#include "UiTexts.h"

#include <algorithm>
#include <cstdint>

namespace lumivar::ui {
namespace {

constexpr int kPeriodStep = 1000;

} // namespace

void CLumivarDlg::RefreshClock() {
    const LocalTime now = ToLocalTime(m_services.clock.Now());
    std::string text = Printf(texts::kDateTimeFormat, now.year, now.month, now.day, now.hour,
                              now.minute, now.second);
    text += ' ';
    text += texts::kWeekdayNames[std::clamp(now.weekday, 1, 7) - 1];
    Host().SetControlText(IDC_DATE_TIME_TEXT, text);

    // Hours are not folded into days, and the count wraps after 49.7 days
    // just as the system's millisecond counter does.
    const std::uint32_t ticks = Host().TickCount();
    const std::uint32_t hours = ticks / 3600000u;
    const std::uint32_t minutes = (ticks - hours * 3600000u) / 60000u;
    const std::uint32_t seconds = (ticks - hours * 3600000u - minutes * 60000u) / 1000u;
    Host().SetControlText(IDC_UPTIME_TEXT, Printf(texts::kUptimeFormat, hours, minutes, seconds));
}

int CLumivarDlg::OnSpinDelta(int id, int delta) {
    if (id == IDC_REFRESH_SPIN)
        StepRefreshPeriod(delta);
    return 0;
}

void CLumivarDlg::StepRefreshPeriod(int delta) {
    UpdateData(true);
    const std::int64_t period = std::int64_t{m_refreshPeriod} + std::int64_t{delta} * kPeriodStep;
    m_refreshPeriod = static_cast<int>(std::clamp<std::int64_t>(period, kPeriodMin, kPeriodMax));
    Host().KillTimer(kClockTimer);
    if (g_refreshing)
        Host().SetTimer(kClockTimer, std::chrono::milliseconds(m_refreshPeriod));
    UpdateData(false);
}

void CLumivarDlg::ToggleRefresh() {
    UpdateData(true);
    if (g_refreshing) {
        g_refreshing = false;
        Host().KillTimer(kClockTimer);
        Host().SetControlText(IDC_REFRESH_TOGGLE, texts::kStartRefreshing);
    } else {
        g_refreshing = true;
        Host().SetTimer(kClockTimer, std::chrono::milliseconds(m_refreshPeriod));
        Host().SetControlText(IDC_REFRESH_TOGGLE, texts::kStopRefreshing);
    }
    UpdateData(false);
}

} // namespace lumivar::ui
