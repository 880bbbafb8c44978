#pragma once

#include "Dialog.h"
#include "MainWindowServices.h"
#include "SlotControls.h"

#include <array>

namespace lumivar::ui {

/// On while the clock display is meant to refresh; the refresh button
/// toggles it. Never stored.
extern bool g_refreshing;

/// The armed target: 00:00:00 at start, written only by the arm command and
/// never cleared (a cancel just stops the tick).
extern TargetTime g_armedTarget;

/// The main window's timers: the clock and uptime display, and the
/// once-a-second schedule tick while armed.
inline constexpr int kClockTimer = 1;
inline constexpr int kScheduleTimer = 2;

/// The main window: clock and uptime, the three schedule slots, arming and
/// cancelling, the countdown notice, the tray icon and the exit prompt.
class CLumivarDlg : public Dialog {
public:
    explicit CLumivarDlg(const MainWindowServices& services);
    ~CLumivarDlg() override;
    CLumivarDlg(const CLumivarDlg&) = delete;
    CLumivarDlg& operator=(const CLumivarDlg&) = delete;

    bool OnInitDialog() override;
    void OnOK() override;     // arm
    void OnCancel() override; // exit prompt
    void OnCommand(int id) override;
    void OnTimer(int id) override;
    bool OnPaint(Painter& painter) override;
    bool OnSysCommand(unsigned command) override;
    void OnSize(int type, int width, int height) override;
    int OnSpinDelta(int id, int delta) override;
    void OnBringForward() override;
    bool AcceptsSecondStart(const StartRequest& request) const override;
    void OnSecondStart(const StartRequest& request, bool sameRun) override;
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnNotificationAreaReset() override;

    /// Hides the window behind its notification-area icon; with no
    /// notification area to take the icon, only minimises it.
    void SendToTray();
    /// Shows the window again and removes the icon.
    void RestoreFromTray();
    /// Moves the controls' values into the members (true) or back (false).
    /// False when the refresh period read back is not an integer in range.
    bool UpdateData(bool saveAndValidate);

private:
    // The clock refresh period's range, in ms; the spin control steps it by 1000.
    static constexpr int kPeriodMin = 1000;
    static constexpr int kPeriodMax = 5000;

    void SelectMode(const SlotControls& slot);
    void CancelPowerOff();
    void StartScheduleTimer();
    void StopScheduleTimer();
    void WarnOfLikelyRefusal();
    void OnPowerOffFailed(const Failure& failure);
    void SetDefaultTime(const SlotControls& slot);
    /// Whether a store was saved; logs one line when it was not.
    bool Stored(const StoreResult& result, std::string_view what) const;
    void RefreshClock();
    void StepRefreshPeriod(int delta);
    void ToggleRefresh();
    void ScheduleTick();
    void ShowNotice();
    void PowerOffNow();
    void OpenTrayMenu();
    void ShowAbout();
    void StoreNoticeOption();
    void ShowInstructions();
    /// The window's title, marked for a dry run.
    std::string Title() const;
    /// How this copy runs, as a new start would say it of itself.
    StartRequest ThisRun() const;

    MainWindowServices m_services;
    TrayIconData m_trayIcon;
    bool m_hiddenInTray = false; // hidden, with the shell holding the icon
    // Picker values by slot; only their time of day is used.
    std::array<TargetTime, kSlotCount> m_times;
    TargetTime& m_timeRest = m_times[kRestSlot];
    TargetTime& m_timeUser = m_times[kUserSlot];
    TargetTime& m_timeWork = m_times[kWorkSlot];
    int m_refreshPeriod = 0; // ms, 1000-5000 once started
    int m_hIcon;
};

} // namespace lumivar::ui
