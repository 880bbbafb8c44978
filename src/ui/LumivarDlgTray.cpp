// Main window: the notification-area icon and its menu, coming forward for a
// second start, the exit prompt, the notice option, the instructions, the
// About box and the minimised icon.
#include "LumivarDlg.h"

#include "AboutDlg.h"
#include "FailureText.h"
#include "MainDialogIds.h"
#include "ResourceIds.h"
#include "UiTexts.h"

namespace lumivar::ui {

void CLumivarDlg::SendToTray() {
    m_trayIcon.id = IDC_TRAY_ICON;
    m_trayIcon.flags = kNifMessage | kNifIcon | kNifTip;
    m_trayIcon.callbackMessage = kWmTrayCallback;
    m_trayIcon.iconId = IDI_LUMIVAR;
    m_trayIcon.tip = Title();
    m_trayIcon.menuId = IDR_TRAY_MENU;
    m_trayIcon.menuPopup = 0;
    const bool iconShown = Host().AddTrayIcon(m_trayIcon);
    // Minimising reaches OnSize, which runs this again: the second add names
    // the same icon, so there is still one.
    Host().ShowWindow(kSwMinimize);
    // Hidden only behind an icon that is really there: with no notification
    // area the window stays minimised on the taskbar, so it can never be lost.
    if (!iconShown)
        return;
    Host().ShowWindow(kSwHide);
    m_hiddenInTray = true;
}

void CLumivarDlg::RestoreFromTray() {
    m_hiddenInTray = false;
    Host().ShowWindow(kSwShowNormal);
    Host().SetForegroundWindow();
    Host().DeleteTrayIcon(m_trayIcon);
}

// A second start is the user looking for this window: it comes back as a
// double-click on the icon brings it, from the taskbar too when no
// notification area took the icon; a window on show only comes to the front.
void CLumivarDlg::OnBringForward() {
    if (m_hiddenInTray || Host().IsMinimized())
        RestoreFromTray();
    else
        Host().SetForegroundWindow();
}

// A dry run says so wherever the program's name shows: it powers nothing off.
std::string CLumivarDlg::Title() const {
    std::string title(texts::kWindowTitle);
    if (m_services.dryRun)
        title += texts::kDryRunMark;
    return title;
}

StartRequest CLumivarDlg::ThisRun() const {
    return {m_services.dryRun, m_services.settings.File(), {}, {}};
}

bool CLumivarDlg::AcceptsSecondStart(const StartRequest& request) const {
    return SameRun(ThisRun(), request);
}

// A new start that would have run otherwise (a dry run against a real one,
// another Setup.ini) is not left to think it ran: this window says what runs.
void CLumivarDlg::OnSecondStart(const StartRequest& request, bool sameRun) {
    OnBringForward();
    if (!sameRun)
        Host().MessageBox(DescribeOtherRun(ThisRun(), request), texts::kNoticeCaption,
                          kMbOk | kMbIconInformation);
}

void CLumivarDlg::OnMessage(unsigned message, std::uintptr_t /*wParam*/, std::intptr_t lParam) {
    if (message != kWmTrayCallback)
        return;
    if (lParam == kWmLButtonDblClk)
        RestoreFromTray();
    else if (lParam == kWmRButtonDown)
        OpenTrayMenu();
}

void CLumivarDlg::OnNotificationAreaReset() {
    // The shell started again (Explorer restarted), or the panel holding the
    // area quit, and the icon is gone. If no area takes it back, the hidden
    // window comes back to the taskbar, as arming does with no area.
    if (!m_hiddenInTray || Host().AddTrayIcon(m_trayIcon))
        return;
    m_hiddenInTray = false;
    Host().ShowWindow(kSwShowMinNoActive);
}

// Reached where the host reports the right button (Windows); on Qt the icon
// shows the menu it carries instead.
void CLumivarDlg::OpenTrayMenu() {
    Host().TrackPopupMenu(m_trayIcon.menuId, m_trayIcon.menuPopup, Host().CursorPos(),
                          kTpmLeftAlign | kTpmTopAlign | kTpmRightButton);
}

void CLumivarDlg::OnSize(int type, int /*width*/, int /*height*/) {
    if (type == kSizeMinimized)
        SendToTray();
}

void CLumivarDlg::OnCancel() {
    if (Host().MessageBox(texts::kExitQuestion, texts::kNoticeCaption,
                          kMbYesNo | kMbIconInformation) != kIdYes)
        return;
    Host().DeleteTrayIcon(m_trayIcon);
    Stored(m_services.settings.StoreMode(Host().CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST)),
           "the chosen slot");
    Host().EndDialog(kIdCancel);
}

bool CLumivarDlg::Stored(const StoreResult& result, std::string_view what) const {
    if (!result)
        LogFailure(*m_services.errors, "could not store " + std::string(what), *result.failure);
    return static_cast<bool>(result);
}

void CLumivarDlg::StoreNoticeOption() {
    Stored(m_services.settings.StoreNotice(Host().Check(IDC_NOTICE_CHECK)), "the countdown option");
}

void CLumivarDlg::ShowInstructions() {
    Host().MessageBox(texts::kInstructions, texts::kNoticeCaption, kMbOk | kMbIconExclamation);
}

bool CLumivarDlg::OnSysCommand(unsigned command) {
    if ((command & 0xFFF0u) != IDM_ABOUTBOX)
        return false;
    ShowAbout();
    return true;
}

void CLumivarDlg::ShowAbout() {
    CAboutDlg about;
    Host().RunModal(about);
}

bool CLumivarDlg::OnPaint(Painter& painter) {
    if (!Host().IsMinimized())
        return false;
    const Size icon = Host().IconSize();
    const Rect client = Host().ClientRect();
    const int x = (client.Width() - icon.width + 1) / 2;
    const int y = (client.Height() - icon.height + 1) / 2;
    painter.DrawIcon(x, y, m_hIcon);
    return true;
}

} // namespace lumivar::ui
