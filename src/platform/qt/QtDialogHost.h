#pragma once

#include "ControlFactory.h"
#include "DialogHost.h"
#include "DialogUnits.h"
#include "DialogWindow.h"

#include <QPixmap>
#include <QPointer>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAbstractButton;
class QEventLoop;
class QTimer;

namespace lumivar::ui {
class Dialog;
}

namespace lumivar::qt {

class TrayIcons;
class UpDownControl;
class WallSecondTimer;

/// One dialog window on Qt: the window and its controls built from the
/// dialog's template, and every DialogHost operation on them. The first
/// host, made with no owner, is the application's main window: it owns every
/// later window and answers for the program's message boxes.
class QtDialogHost final : public ui::DialogHost, private WindowEvents {
public:
    enum class Run { Modal, Modeless };

    /// Creates the window of `dialog` from its template and runs the dialog's
    /// start-up; the window is not shown yet. Null if there is no template.
    static std::unique_ptr<QtDialogHost> Create(ui::Dialog& dialog, QtDialogHost* owner, Run run);
    ~QtDialogHost() override;
    QtDialogHost(const QtDialogHost&) = delete;
    QtDialogHost& operator=(const QtDialogHost&) = delete;

    /// The main window's modal run: shows it if its template says visible
    /// and returns the result it ends with. The other windows of the program
    /// stay usable meanwhile (the tray icon, the countdown).
    int RunMainWindow();
    /// A modal run for a window with an owner (QDialog::exec).
    int Exec();
    /// The result the dialog ended with; empty while it has not ended.
    std::optional<int> EndResult() const { return m_endResult; }

    DialogWindow& Window() const { return *m_window; }
    QWidget* Control(int id) const;
    BaseUnits Units() const { return m_units; }

    // DialogHost
    void EnableControl(int id, bool enable) override;
    void SetControlText(int id, std::string_view text) override;
    std::string ControlText(int id) const override;
    void SetCheck(int id, int state) override;
    int Check(int id) const override;
    void CheckRadioButton(int first, int last, int checked) override;
    TargetTime PickerTime(int id) const override;
    void SetPickerTime(int id, const TargetTime& time) override;
    // The buddy edit's text is the dialog's to write: it is always decimal.
    void SetSpinBase(int /*id*/, int /*base*/) override {}
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
    void NotifyUrgently(std::string_view summary, std::string_view body) override;
    ui::Size ScreenSize() const override;
    ui::Size IconSize() const override;
    ui::Point CursorPos() const override;
    std::uint32_t TickCount() const override;
    std::string LoadString(int id) const override;
    // A Qt window has no system menu: what is appended to it becomes the
    // window's right-click menu, its choice coming back as OnSysCommand.
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(int commandId, std::string_view text) override;
    bool AddTrayIcon(const ui::TrayIconData& data) override;
    void DeleteTrayIcon(const ui::TrayIconData& data) override;
    void TrackPopupMenu(int menuId, int popupIndex, ui::Point at, unsigned flags) override;
    DialogHost* CreateModeless(std::unique_ptr<ui::Dialog> dialog) override;
    int RunModal(ui::Dialog& dialog) override;

private:
    struct Timer;
    struct OwnedWindow;

    QtDialogHost(ui::Dialog& dialog, const ui::DialogTemplate& source, QtDialogHost* owner,
                 Run run);
    void Initialise();
    void ConnectControls();
    QtDialogHost& MainHost() { return m_owner ? *m_owner : *this; }
    QAbstractButton* Button(int id) const;
    UpDownControl* UpDown(int id) const;
    void Command(int id);
    void PostCommand(int id);
    void TimerTick(int id);
    void Spin(int id, int delta);
    bool RenderSurface();
    int Dpi() const;
    // Tells the dialog of a change of its minimised state (WM_SIZE).
    void ReportMinimized(bool minimized);

    // WindowEvents
    void KeyCommand(int id) override;
    void CloseRequested() override;
    void MinimizedChanged(bool minimized) override;
    void Deactivated() override;
    bool Paint(QPainter& painter) override;
    void ContextMenu(const QPoint& globalPos) override;

    ui::Dialog& m_dialog;
    const ui::DialogTemplate& m_template;
    QtDialogHost* m_owner;
    Run m_run;
    bool m_alive = true; // false once destruction has begun: no more handlers
    std::unique_ptr<DialogWindow> m_window;
    BaseUnits m_units;
    std::vector<DialogControl> m_controls;
    std::map<int, std::unique_ptr<Timer>> m_timers;
    TrayIcons* m_tray = nullptr; // owned by m_window
    std::vector<std::unique_ptr<OwnedWindow>> m_ownedWindows;
    std::vector<std::pair<int, QString>> m_systemMenu; // command id (0: separator), text
    QPixmap m_surface; // what the dialog painted, shown by paintEvent
    bool m_surfacePainted = false;
    std::optional<QPoint> m_lastPlace; // the frame's corner while last on show
    // Minimised as far as the dialog knows, though only hidden behind its
    // tray icon (see ShowWindow), and what the dialog was last told.
    bool m_minimizedBehindIcon = false;
    bool m_reportedMinimized = false;
    QEventLoop* m_loop = nullptr; // the main window's run
    bool m_execRunning = false;
    std::optional<int> m_endResult;
};

} // namespace lumivar::qt
