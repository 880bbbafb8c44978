#pragma once

#include "DialogHost.h"
#include "SecondStart.h"
#include "WallSecondPacer.h"
#include "Win32DialogBase.h"

#include "Win32Api.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>

namespace lumivar::ui {
class Dialog;
}

namespace lumivar::win32 {

/// One dialog window on Win32, made from its template in the program's
/// resources, and every DialogHost operation on its HWND. The host made with
/// no owner is the application's main window: it owns every later window and
/// owns the program's message boxes and menus, and a second start of the
/// program finds it and asks it to come forward.
class Win32DialogHost final : public ui::DialogHost, public Win32DialogBase {
public:
    /// `owner`: the main window's host, or null for the main window itself.
    Win32DialogHost(ui::Dialog& dialog, Win32DialogHost* owner);
    ~Win32DialogHost() override;

    /// Runs the dialog modally (DialogBoxParamW) and returns its result, or
    /// -1 if the window could not be created.
    int RunModalLoop();
    /// Creates a modeless window that owns `dialog` and frees itself, and the
    /// dialog, when its window is destroyed. Null if it could not be created.
    static Win32DialogHost* CreateModelessWindow(std::unique_ptr<ui::Dialog> dialog,
                                                 Win32DialogHost& owner);
    bool IsModeless() const { return m_ownedDialog != nullptr; }

    // DialogHost
    void EnableControl(int id, bool enable) override;
    void SetControlText(int id, std::string_view text) override;
    std::string ControlText(int id) const override;
    void SetCheck(int id, int state) override;
    int Check(int id) const override;
    void CheckRadioButton(int first, int last, int checked) override;
    TargetTime PickerTime(int id) const override;
    void SetPickerTime(int id, const TargetTime& time) override;
    void SetSpinBase(int id, int base) override;
    void SetSpinRange(int id, int lower, int upper) override;
    void SetSpinPos(int id, int pos) override;
    void SetFocus(int id) override;
    void SetTimer(int id, std::chrono::milliseconds period, ui::TimerPacing pacing) override;
    void KillTimer(int id) override;
    int MessageBox(std::string_view text, std::string_view caption, unsigned type) override;
    void ShowWindow(int command) override;
    bool IsMinimized() const override;
    void SetForegroundWindow() override;
    ui::Rect WindowRect() const override;
    ui::Rect ClientRect() const override;
    void SetWindowPosTopmost(int x, int y, int width, int height, unsigned flags) override;
    void SetIcon(int iconId, bool big) override;
    void SetWindowTitle(std::string_view title) override;
    void EndDialog(int result) override;
    void RedrawNow() override;
    std::unique_ptr<ui::Painter> ClientPainter() override;
    ui::Size ScreenSize() const override;
    ui::Size IconSize() const override;
    ui::Point CursorPos() const override;
    std::uint32_t TickCount() const override;
    std::string LoadString(int id) const override;
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(int commandId, std::string_view text) override;
    bool AddTrayIcon(const ui::TrayIconData& data) override;
    void DeleteTrayIcon(const ui::TrayIconData& data) override;
    void TrackPopupMenu(int menuId, int popupIndex, ui::Point at, unsigned flags) override;
    DialogHost* CreateModeless(std::unique_ptr<ui::Dialog> dialog) override;
    int RunModal(ui::Dialog& dialog) override;

    /// The module whose resources the windows are made from.
    static HINSTANCE Resources();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WindowDestroyed() override;

private:
    struct Timer {
        std::optional<WallSecondPacer> pacer; // set for TimerPacing::WallSecond
    };

    HWND Control(int id) const { return ::GetDlgItem(Window(), id); }
    HWND MainWindow() const { return m_owner ? m_owner->Window() : Window(); }
    INT_PTR InitDialog();
    void TimerTick(int id);
    INT_PTR Paint();
    INT_PTR Notify(const NMHDR& header);
    INT_PTR Result(LRESULT result);
    INT_PTR SecondStart(const COPYDATASTRUCT& data);

    ui::Dialog& m_dialog;
    Win32DialogHost* m_owner;
    std::unique_ptr<ui::Dialog> m_ownedDialog; // modeless windows own theirs
    bool m_ownedByWindow = false;              // freed by its WM_NCDESTROY
    std::map<int, Timer> m_timers;
    HICON m_bigIcon = nullptr;
    // The id of the icon the shell holds for this window, if any.
    std::optional<unsigned> m_heldTrayIcon;
    // Second starts answered, to act on (main window only).
    std::deque<std::pair<ui::StartRequest, bool>> m_secondStarts;
    // The message the shell sends for mouse activity over the icon; kept
    // after the icon goes, for the callbacks already on their way.
    UINT m_trayCallback = 0;
};

} // namespace lumivar::win32
