// Main window: choosing a slot, arming, cancelling, default times and the
// once-a-second schedule tick.
#include "LumivarDlg.h"

#include "MainDialogIds.h"
#include "ScheduleCheck.h"
#include "ShowDlg.h"
#include "TextFormat.h"
#include "UiTexts.h"

#include <iostream>
#include <memory>
#include <string>

namespace lumivar::ui {
namespace {

constexpr std::chrono::milliseconds kTickPeriod{1000};
constexpr int kModeRadios[] = {IDC_MODE_WORK, IDC_MODE_REST, IDC_MODE_USER};

std::string_view DefaultTimeMessage(const Slot& slot) {
    switch (slot.modeId) {
    case IDC_MODE_WORK:
        return texts::kDefaultTimeWork;
    case IDC_MODE_REST:
        return texts::kDefaultTimeRest;
    default:
        return texts::kDefaultTimeUser;
    }
}

} // namespace

void CLumivarDlg::SelectMode(const Slot& selected) {
    for (const Slot& slot : kSlots)
        Host().EnableControl(slot.pickerId, &slot == &selected);
    for (const Slot& slot : kSlots)
        Host().EnableControl(slot.defaultButtonId, &slot == &selected);
}

void CLumivarDlg::OnOK() {
    UpdateData(true);
    const int mode = Host().CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST);
    if (const Slot* slot = FindSlotByMode(mode)) {
        g_armedTarget = SlotTime(*slot);
        Host().EnableControl(slot->pickerId, false);
        Host().EnableControl(slot->defaultButtonId, false);
    }
    for (int radio : kModeRadios)
        Host().EnableControl(radio, false);
    // Ticks come just after each wall-clock second begins: a plain 1000 ms
    // timer drifts and would sooner or later skip the target second.
    Host().SetTimer(2, kTickPeriod, TimerPacing::WallSecond);
    UpdateData(false);
    SendToTray();
    Host().EnableControl(IDC_ARM, false);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, true);
}

void CLumivarDlg::CancelPowerOff() {
    Host().KillTimer(2);
    Host().EnableControl(IDC_ARM, true);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, false);
    const int mode = Host().CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST);
    if (const Slot* slot = FindSlotByMode(mode)) {
        Host().EnableControl(slot->pickerId, true);
        Host().EnableControl(slot->defaultButtonId, true);
    }
    for (int radio : kModeRadios)
        Host().EnableControl(radio, true);
}

void CLumivarDlg::SetDefaultTime(const Slot& slot) {
    UpdateData(true);
    const TargetTime time = SlotTime(slot);
    const std::string hour = std::to_string(time.hour);
    const std::string minute = std::to_string(time.minute);
    const std::string second = std::to_string(time.second);
    m_services.settings.StoreSlotTime(slot.section, time);
    UpdateData(false);
    Host().MessageBox(Printf(DefaultTimeMessage(slot), hour.c_str(), minute.c_str(), second.c_str()),
                      texts::kDefaultTimeCaption, kMbOk | kMbIconInformation);
}

void CLumivarDlg::ScheduleTick() {
    const WallTime wallNow = m_services.clock.Now();
    if (m_services.onScheduleTick)
        m_services.onScheduleTick(wallNow);
    const LocalTime now = ToLocalTime(wallNow);
    const bool notice = Host().Check(IDC_NOTICE_CHECK) != kUnchecked;
    switch (CheckSchedule(g_armedTarget, now.hour, now.minute, now.second, notice)) {
    case ScheduleAction::ShowNotice:
        return ShowNotice();
    case ScheduleAction::PowerOff:
        return PowerOffNow();
    case ScheduleAction::None:
        return;
    }
}

void CLumivarDlg::ShowNotice() {
    const Size screen = Host().ScreenSize();
    DialogHost* notice = Host().CreateModeless(std::make_unique<CShowDlg>());
    if (!notice) {
        // Without a countdown on screen the user was not warned, so the
        // schedule stays cancellable, as with the notice option off.
        std::cerr << "lumivar: could not open the countdown window\n";
        return;
    }
    const Rect rect = notice->WindowRect();
    const int left = (screen.width - rect.Width()) / 2;
    const int top = (screen.height - rect.Height()) / 2;
    notice->SetWindowPosTopmost(left, top, rect.Width(), rect.Height(), kSwpShowWindow);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, false);
}

void CLumivarDlg::PowerOffNow() {
    m_services.powerOff.AcquirePowerOffPrivilege();
    Host().KillTimer(2);
    Host().EnableControl(IDC_ARM, true);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, false);
    m_services.powerOff.RequestPowerOff();
}

} // namespace lumivar::ui
