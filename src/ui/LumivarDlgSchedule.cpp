// Main window: choosing a slot, arming, cancelling, default times and the
// once-a-second schedule tick.
#include "LumivarDlg.h"

#include "FailureText.h"
#include "MainDialogIds.h"
#include "ScheduleCheck.h"
#include "ShowDlg.h"
#include "TextFormat.h"
#include "UiTexts.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace lumivar::ui {

TargetTime g_armedTarget{};

namespace {

constexpr std::chrono::milliseconds kTickPeriod{1000};

const SlotControls* CheckedSlot(const DialogHost& host) {
    return FindSlotControls(&SlotControls::radioId,
                            host.CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST));
}

} // namespace

void CLumivarDlg::SelectMode(const SlotControls& selected) {
    for (const SlotControls& slot : kSlotControls)
        Host().EnableControl(slot.pickerId, &slot == &selected);
    for (const SlotControls& slot : kSlotControls)
        Host().EnableControl(slot.defaultButtonId, &slot == &selected);
}

void CLumivarDlg::OnOK() {
    UpdateData(true);
    const SlotControls* selected = CheckedSlot(Host());
    // With no slot chosen (a damaged or hand-edited Mode) there is no time
    // the user picked: arming would power off at whatever was armed before.
    if (!selected) {
        Host().MessageBox(texts::kChooseSlotFirst, texts::kNoticeCaption,
                          kMbOk | kMbIconExclamation);
        return;
    }
    g_armedTarget = m_times[selected->slot];
    Host().EnableControl(selected->pickerId, false);
    Host().EnableControl(selected->defaultButtonId, false);
    for (const SlotControls& slot : kSlotControls)
        Host().EnableControl(slot.radioId, false);
    StartScheduleTimer();
    UpdateData(false);
    SendToTray();
    Host().EnableControl(IDC_ARM, false);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, true);
    WarnOfLikelyRefusal();
}

void CLumivarDlg::StartScheduleTimer() {
    // Ticks come just after each wall-clock second begins: a plain 1000 ms
    // timer drifts and would sooner or later skip the target second.
    Host().SetTimer(kScheduleTimer, kTickPeriod, TimerPacing::WallSecond);
    if (m_services.idleSleep)
        m_services.idleSleep->Inhibit();
}

void CLumivarDlg::StopScheduleTimer() {
    Host().KillTimer(kScheduleTimer);
    if (m_services.idleSleep)
        m_services.idleSleep->Release();
}

// Said while the user is still at the machine, not discovered the next day.
// The schedule stays armed: a rule or a password prompt may still let it by.
void CLumivarDlg::WarnOfLikelyRefusal() {
    const std::optional<Failure> likely = m_services.powerOff.LikelyRefusal();
    if (!likely)
        return;
    LogFailure(*m_services.errors, "the power-off will probably fail", *likely);
    Host().MessageBox(Printf(texts::kPowerOffLikelyRefused, DescribeFailure(*likely).c_str()),
                      texts::kNoticeCaption, kMbOk | kMbIconExclamation);
}

void CLumivarDlg::CancelPowerOff() {
    StopScheduleTimer();
    Host().EnableControl(IDC_ARM, true);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, false);
    if (const SlotControls* slot = CheckedSlot(Host())) {
        Host().EnableControl(slot->pickerId, true);
        Host().EnableControl(slot->defaultButtonId, true);
    }
    for (const SlotControls& slot : kSlotControls)
        Host().EnableControl(slot.radioId, true);
}

void CLumivarDlg::SetDefaultTime(const SlotControls& slot) {
    UpdateData(true);
    const TargetTime time = m_times[slot.slot];
    const std::string hour = std::to_string(time.hour);
    const std::string minute = std::to_string(time.minute);
    const std::string second = std::to_string(time.second);
    const StoreResult stored = m_services.settings.StoreSlotTime(kSlots[slot.slot].section, time);
    UpdateData(false);
    // The picker keeps the time for this run either way; only the box tells
    // whether it will come back next time.
    if (!Stored(stored, "the default time")) {
        Host().MessageBox(Printf(texts::kDefaultTimeNotSaved, time.hour, time.minute, time.second,
                                 DescribeFailure(*stored.failure).c_str()),
                          texts::kDefaultTimeCaption, kMbOk | kMbIconExclamation);
        return;
    }
    Host().MessageBox(Printf(slot.defaultTimeMessage, hour.c_str(), minute.c_str(), second.c_str()),
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
    Host().NotifyUrgently(texts::kShutdownWarning,
                          Printf(texts::kCountdownFormat, kNoticeLeadSeconds));
}

void CLumivarDlg::PowerOffNow() {
    m_services.powerOff.AcquirePowerOffPrivilege();
    StopScheduleTimer();
    Host().EnableControl(IDC_ARM, true);
    Host().EnableControl(IDC_CANCEL_POWER_OFF, false);
    m_services.powerOff.RequestPowerOff();
}

// Bring the window back from the tray so the user sees why the machine is
// still on, with every slot control usable again, as after a cancel: the
// user may want another time or slot, not the one that just failed.
void CLumivarDlg::OnPowerOffFailed(const Failure& failure) {
    LogFailure(*m_services.errors, "power-off failed", failure);
    CancelPowerOff();
    RestoreFromTray();
    Host().MessageBox(Printf(texts::kPowerOffFailed, DescribeFailure(failure).c_str()),
                      texts::kNoticeCaption, kMbOk | kMbIconExclamation);
}

} // namespace lumivar::ui
