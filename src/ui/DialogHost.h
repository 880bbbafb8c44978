#pragma once

#include "Geometry.h"
#include "Painter.h"
#include "TargetTime.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumivar::ui {

class Dialog;

/// How a window timer paces its ticks.
enum class TimerPacing {
    /// Every period after the start, as a plain window timer does.
    Period,
    /// Just after each wall-clock second begins, re-aimed every tick, so that
    /// no second is skipped or visited twice. Used with a period of 1000 ms.
    WallSecond,
};

/// The notification-area icon record, as the main window fills it.
struct TrayIconData {
    unsigned id = 0;              // uID
    unsigned flags = 0;           // NIF_* bits
    unsigned callbackMessage = 0; // uCallbackMessage
    int iconId = 0;               // icon resource
    std::string tip;              // UTF-8
    // The menu the icon carries, for hosts whose icon shows its menu itself
    // (a StatusNotifierItem host reads it over D-Bus). 0: none. Windows opens
    // it from the callback instead, so the Win32 host ignores it.
    int menuId = 0;    // menu resource
    int menuPopup = 0; // popup index in it
    friend bool operator==(const TrayIconData&, const TrayIconData&) = default;
};

/// What a window system offers one dialog window: its controls by id, its
/// timers, message boxes, placement, the tray, menus and painting. Each host
/// (Win32, Qt, the tests' fake) implements it; the windows' behaviour is
/// written once against it. Texts are UTF-8.
class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Controls, by dialog control id.
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void SetControlText(int id, std::string_view text) = 0;
    virtual std::string ControlText(int id) const = 0;
    /// Check state of a check box or radio button: 0 clear, 1 checked. Any
    /// other control, or none, reads as clear.
    virtual void SetCheck(int id, int state) = 0;
    virtual int Check(int id) const = 0;
    /// Checks `checked` and clears every other button with an id in [first, last].
    virtual void CheckRadioButton(int first, int last, int checked) = 0;
    /// The lowest id in [first, last] whose button is checked; 0 if none.
    int CheckedRadioButton(int first, int last) const {
        for (int id = first; id <= last; ++id)
            if (Check(id) == kChecked)
                return id;
        return 0;
    }
    /// A date-time picker's time of day.
    virtual TargetTime PickerTime(int id) const = 0;
    virtual void SetPickerTime(int id, const TargetTime& time) = 0;
    /// An up-down control's number base, range and position.
    virtual void SetSpinBase(int id, int base) = 0;
    virtual void SetSpinRange(int id, int lower, int upper) = 0;
    virtual void SetSpinPos(int id, int pos) = 0;
    /// Gives the keyboard focus to a control (0: to the window itself).
    virtual void SetFocus(int id) = 0;

    // Timers of this window. Starting an id again replaces it.
    virtual void SetTimer(int id, std::chrono::milliseconds period,
                          TimerPacing pacing = TimerPacing::Period) = 0;
    virtual void KillTimer(int id) = 0;

    /// A modal message box owned by the main window; returns the button id.
    virtual int MessageBox(std::string_view text, std::string_view caption, unsigned type) = 0;

    // The window itself.
    virtual void ShowWindow(int command) = 0;
    virtual bool IsMinimized() const = 0;
    virtual void SetForegroundWindow() = 0;
    virtual Rect WindowRect() const = 0; // screen pixels
    virtual Rect ClientRect() const = 0; // client pixels, left and top 0
    /// Moves and sizes the window, topmost in z-order, with SWP_* flags.
    virtual void SetWindowPosTopmost(int x, int y, int width, int height, unsigned flags) = 0;
    virtual void SetIcon(int iconId, bool big) = 0;
    virtual void SetWindowTitle(std::string_view title) = 0;
    /// Ends a modal run with `result`, or hides a modeless window.
    virtual void EndDialog(int result) = 0;
    /// Erases and repaints the whole window before returning.
    virtual void RedrawNow() = 0;
    /// Draws on the client area outside the paint handler; the drawing lasts
    /// until the window is next painted.
    virtual std::unique_ptr<Painter> ClientPainter() = 0;

    /// Tells the user at once through a desktop notification of critical
    /// urgency where the window system cannot keep a window on top (a Wayland
    /// client's); nothing elsewhere, where the window itself is seen.
    virtual void NotifyUrgently(std::string_view /*summary*/, std::string_view /*body*/) {}

    // System and screen.
    virtual Size ScreenSize() const = 0;         // primary screen, pixels
    virtual Size IconSize() const = 0;           // SM_CXICON, SM_CYICON
    virtual Point CursorPos() const = 0;         // screen pixels
    virtual std::uint32_t TickCount() const = 0; // ms since the system started, wrapping
    virtual std::string LoadString(int id) const = 0;

    // System menu. False where the window has none.
    virtual bool HasSystemMenu() const = 0;
    virtual void AppendSystemMenuSeparator() = 0;
    virtual void AppendSystemMenuItem(int commandId, std::string_view text) = 0;

    // Notification area, the icon named by (this window, data.id).
    /// True if the shell holds the icon now, also after a second add of an
    /// icon it holds already; false where no notification area takes it.
    virtual bool AddTrayIcon(const TrayIconData& data) = 0;
    virtual void DeleteTrayIcon(const TrayIconData& data) = 0;
    /// Loads menu resource `menuId`, tracks its popup at `popupIndex` at `at`
    /// (TPM_* flags) and destroys it. A chosen item arrives as OnCommand.
    virtual void TrackPopupMenu(int menuId, int popupIndex, Point at, unsigned flags) = 0;

    // Other windows, owned by the application's main window.
    /// Creates a modeless dialog from its template, not yet shown. The host
    /// keeps the object until its owner is destroyed. Null if it failed.
    virtual DialogHost* CreateModeless(std::unique_ptr<Dialog> dialog) = 0;
    /// Runs a dialog modally and returns its result.
    virtual int RunModal(Dialog& dialog) = 0;
};

} // namespace lumivar::ui
