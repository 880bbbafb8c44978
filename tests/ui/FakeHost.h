#pragma once

#include "Dialog.h"
#include "DialogHost.h"
#include "FakeClock.h"
#include "WallSecondPacer.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lumivar::test {

class FakeDesktop;

struct FakeControl {
    std::string className;
    bool radio = false;
    bool checkBox = false;
    bool enabled = true;
    bool visible = true;
    std::string text;
    int check = 0;
    TargetTime time{};
    int spinBase = 0, spinLower = 0, spinUpper = 0, spinPos = 0;
};

struct FakeTimer {
    std::chrono::milliseconds period{};
    ui::TimerPacing pacing = ui::TimerPacing::Period;
    WallTime due{};
    WallSecondPacer pacer; // aims WallSecond timers as the real hosts do
};

struct MessageBoxCall {
    std::string text;
    std::string caption;
    unsigned type = 0;
};

/// One window of the fake window system: controls seeded from the dialog's
/// template, and a record of everything the behaviour asked of it.
class FakeHost final : public ui::DialogHost {
public:
    FakeHost(FakeDesktop& desktop, ui::Dialog& dialog, FakeHost* owner);
    ~FakeHost() override;

    // User actions, delivered as the window system would.
    void Click(int id);   // a button, radio button or check box
    void Command(int id); // a menu command or key (1 Enter, 2 Esc)
    void SetPicker(int id, TargetTime time) { Control(id).time = time; }
    void Spin(int delta); // one press of the refresh up-down control
    void TrayMouse(unsigned mouseMessage);
    void Minimize() { ShowWindow(ui::kSwMinimize); }
    bool Close(); // the close box: WM_CLOSE then IDCANCEL

    FakeControl& Control(int id);
    const FakeControl& Control(int id) const;
    bool IsControlEnabled(int id) const { return Control(id).enabled; }
    bool TimerRunning(int id) const { return m_timers.count(id) != 0; }
    const FakeTimer& Timer(int id) const { return m_timers.at(id); }

    // DialogHost
    void EnableControl(int id, bool enable) override { Control(id).enabled = enable; }
    void SetControlText(int id, std::string_view text) override { Control(id).text = text; }
    std::string ControlText(int id) const override { return Control(id).text; }
    void SetCheck(int id, int state) override { Control(id).check = state; }
    int Check(int id) const override;
    void CheckRadioButton(int first, int last, int checked) override;
    TargetTime PickerTime(int id) const override { return Control(id).time; }
    void SetPickerTime(int id, const TargetTime& time) override { Control(id).time = time; }
    void SetSpinBase(int id, int base) override { Control(id).spinBase = base; }
    void SetSpinRange(int id, int lower, int upper) override;
    void SetSpinPos(int id, int pos) override { Control(id).spinPos = pos; }
    void SetFocus(int id) override { focus = id; }
    void SetTimer(int id, std::chrono::milliseconds period, ui::TimerPacing pacing) override;
    void KillTimer(int id) override { m_timers.erase(id); }
    int MessageBox(std::string_view text, std::string_view caption, unsigned type) override;
    void ShowWindow(int command) override;
    bool IsMinimized() const override { return minimized; }
    void SetForegroundWindow() override { log.push_back("foreground"); }
    ui::Rect WindowRect() const override { return windowRect; }
    ui::Rect ClientRect() const override { return clientRect; }
    void SetWindowPosTopmost(int x, int y, int width, int height, unsigned flags) override;
    void SetIcon(int iconId, bool big) override;
    void SetWindowTitle(std::string_view title) override;
    void EndDialog(int result) override;
    void RedrawNow() override;
    std::unique_ptr<ui::Painter> ClientPainter() override;
    ui::Size ScreenSize() const override { return {1280, 1024}; }
    ui::Size IconSize() const override { return {32, 32}; }
    ui::Point CursorPos() const override { return cursor; }
    std::uint32_t TickCount() const override { return tickCount; }
    std::string LoadString(int id) const override;
    bool HasSystemMenu() const override { return hasSystemMenu; }
    void AppendSystemMenuSeparator() override { systemMenu.push_back("separator"); }
    void AppendSystemMenuItem(int commandId, std::string_view text) override;
    bool AddTrayIcon(const ui::TrayIconData& data) override;
    void DeleteTrayIcon(const ui::TrayIconData& data) override;
    void TrackPopupMenu(int menuId, int popupIndex, ui::Point at, unsigned flags) override;
    ui::DialogHost* CreateModeless(std::unique_ptr<ui::Dialog> dialog) override;
    int RunModal(ui::Dialog& dialog) override;

    // What the behaviour did, for the tests to look at.
    std::vector<std::string> log;      // show commands, tray, menus, placement...
    std::vector<std::string> paintLog; // paints and client drawing
    std::vector<std::string> systemMenu;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<WallTime> wallSecondTicks; // when each wall-second tick reached the window
    std::deque<int> answers;               // message-box answers, in order
    std::function<void()> whileMessageBoxOpen;
    int menuChoice = 0; // item chosen from the next tracked menu
    std::string title;  // set at run time; empty: the template's
    bool visible = true;
    bool minimized = false;
    bool topmost = false;
    bool ended = false;
    int result = 0;
    int focus = -1;
    ui::Point cursor{600, 700};
    std::uint32_t tickCount = 0;
    bool hasSystemMenu = true;
    ui::Rect windowRect{0, 0, 339, 347};
    ui::Rect clientRect{0, 0, 333, 319};

private:
    friend class FakeDesktop;
    FakeDesktop& m_desktop;
    ui::Dialog& m_dialog;
    FakeHost* m_owner;
    std::map<int, FakeControl> m_controls;
    std::map<int, FakeTimer> m_timers;
    bool m_trayIconShown = false;
};

/// The fake window system: the main window, the windows it creates, the
/// tray, and simulated time that fires every window's timers in order.
class FakeDesktop {
public:
    FakeDesktop() = default;
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    /// Creates the main window for `dialog` and runs its start-up.
    FakeHost& Open(ui::Dialog& dialog);
    /// Moves the clock on by `span`, firing each timer when it falls due.
    void RunFor(std::chrono::milliseconds span);
    /// Moves the clock on to `until`.
    void RunUntil(WallTime until);
    /// Sets the wall clock by `delta`. Timers run on elapsed time, not on the
    /// wall clock, so each keeps what was left of its delay.
    void JumpWallClock(std::chrono::milliseconds delta);
    /// The machine sleeps for `span`: nothing fires meanwhile, and what fell
    /// due fires once on waking.
    void Sleep(std::chrono::milliseconds span) { clock.Advance(span); }
    /// The shell starts again, holding no icon, and tells every window.
    void RestartShell();

    /// How late (or, negative, early) each wall-second timer delivery comes
    /// after its aim; none when unset.
    std::function<std::chrono::milliseconds()> wallSecondLateness;

    FakeClock clock;
    std::vector<std::unique_ptr<ui::Dialog>> ownedDialogs; // modeless windows' objects
    std::vector<std::unique_ptr<FakeHost>> windows;        // every window, main first
    int trayIcons = 0;                                     // icons currently shown
    bool shellTakesIcons = true;                           // false: there is no notification area

private:
    friend class FakeHost;
    bool FireNext(WallTime until);
    WallTime AimWallSecond(WallTime now, std::chrono::milliseconds delay) const;
};

} // namespace lumivar::test
