// The Win32 host on real dialog windows made from the program's templates:
// controls, message routing, owned windows and painting.
#include "Win32DialogHost.h"
#include "GdiPainter.h"
#include "LumivarDlg.h"
#include "MainDialogIds.h"
#include "ModelessKeyboard.h"
#include "RecordingDialog.h"
#include "RecordingPowerOff.h"
#include "ResourceIds.h"
#include "TempDir.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace lumivar::win32 {
namespace {

using test::RecordingDialog;

class Win32DialogHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
        ::InitCommonControlsEx(&controls);
    }

    /// Runs `dialog` as the main window; its body runs inside the loop.
    int Run(ui::Dialog& dialog) {
        Win32DialogHost host(dialog, nullptr);
        m_host = &host;
        const int result = host.RunModalLoop();
        m_host = nullptr;
        return result;
    }
    Win32DialogHost& Host() const { return *m_host; }
    HWND Window() const { return m_host->Window(); }
    HWND Item(int id) const { return ::GetDlgItem(Window(), id); }

    static std::wstring ClassOf(HWND window) {
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        return name;
    }
    static std::wstring TextOf(HWND window) {
        wchar_t text[256] = {};
        ::GetWindowTextW(window, text, 256);
        return text;
    }

    RecordingDialog m_main{IDD_LUMIVAR_DIALOG};

private:
    Win32DialogHost* m_host = nullptr;
};

TEST_F(Win32DialogHostTest, MainTemplateHasEveryControlWithItsClass) {
    m_main.body = [&] {
        const struct {
            int id;
            const wchar_t* className;
        } expected[] = {
            {IDC_MODE_WORK, L"Button"},
            {IDC_MODE_REST, L"Button"},
            {IDC_MODE_USER, L"Button"},
            {IDC_TIME_WORK, L"SysDateTimePick32"},
            {IDC_TIME_REST, L"SysDateTimePick32"},
            {IDC_TIME_USER, L"SysDateTimePick32"},
            {IDC_ARM, L"Button"},
            {IDC_HIDDEN_CANCEL, L"Button"},
            {IDC_SET_DEFAULT_WORK, L"Button"},
            {IDC_SET_DEFAULT_REST, L"Button"},
            {IDC_SET_DEFAULT_USER, L"Button"},
            {IDC_REFRESH_TOGGLE, L"Button"},
            {IDC_CANCEL_POWER_OFF, L"Button"},
            {IDC_SEND_TO_TRAY, L"Button"},
            {IDC_INSTRUCTIONS, L"Button"},
            {IDC_NOTICE_CHECK, L"Button"},
            {IDC_DATE_TIME_TEXT, L"Static"},
            {IDC_UPTIME_TEXT, L"Static"},
            {IDC_REFRESH_PERIOD, L"Edit"},
            {IDC_REFRESH_SPIN, L"msctls_updown32"},
        };
        for (const auto& control : expected) {
            SCOPED_TRACE(control.id);
            ASSERT_NE(Item(control.id), nullptr);
            EXPECT_EQ(::lstrcmpiW(ClassOf(Item(control.id)).c_str(), control.className), 0);
        }
        EXPECT_FALSE(::IsWindowVisible(Item(IDC_HIDDEN_CANCEL)));
        EXPECT_FALSE(::IsWindowVisible(Item(IDC_SEND_TO_TRAY)));
        EXPECT_EQ(TextOf(Window()), L"Tarnholt定时关机管理程序");
        EXPECT_EQ(TextOf(Item(IDC_ARM)), L"定时关机");
    };
    EXPECT_EQ(Run(m_main), 0);
    EXPECT_EQ(m_main.initDialogs, 1);
}

TEST_F(Win32DialogHostTest, PickersShow24HourTimesAndKeepWhatTheyAreGiven) {
    m_main.body = [&] {
        Host().SetPickerTime(IDC_TIME_USER, {13, 5, 9});
        EXPECT_EQ(Host().PickerTime(IDC_TIME_USER), (TargetTime{13, 5, 9}));
        EXPECT_EQ(TextOf(Item(IDC_TIME_USER)), L"13:05:09");
        Host().SetPickerTime(IDC_TIME_WORK, {0, 0, 0});
        EXPECT_EQ(Host().PickerTime(IDC_TIME_WORK), (TargetTime{0, 0, 0}));
        // No picker takes an impossible time: it keeps its value.
        Host().SetPickerTime(IDC_TIME_USER, {24, 0, 0});
        EXPECT_EQ(Host().PickerTime(IDC_TIME_USER), (TargetTime{13, 5, 9}));
    };
    Run(m_main);
}

TEST_F(Win32DialogHostTest, RadioGroupChecksOneAndReportsTheLowestChecked) {
    m_main.body = [&] {
        Host().CheckRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST, IDC_MODE_USER);
        EXPECT_EQ(Host().CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST), IDC_MODE_USER);
        EXPECT_EQ(Host().Check(IDC_MODE_WORK), 0);
        EXPECT_EQ(Host().Check(IDC_MODE_USER), 1);
        Host().CheckRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST, IDC_MODE_REST);
        EXPECT_EQ(Host().Check(IDC_MODE_USER), 0);
        EXPECT_EQ(Host().CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST), IDC_MODE_REST);
        // A stored mode of 0 leaves none checked.
        Host().CheckRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST, 0);
        EXPECT_EQ(Host().CheckedRadioButton(IDC_MODE_FIRST, IDC_MODE_LAST), 0);
        Host().SetCheck(IDC_NOTICE_CHECK, 1);
        EXPECT_EQ(::IsDlgButtonChecked(Window(), IDC_NOTICE_CHECK), BST_CHECKED);
        Host().SetCheck(IDC_NOTICE_CHECK, 0);
        EXPECT_EQ(Host().Check(IDC_NOTICE_CHECK), 0);
    };
    Run(m_main);
}

TEST_F(Win32DialogHostTest, TextsEnablingAndStringsGoThroughUtf16) {
    m_main.body = [&] {
        Host().SetControlText(IDC_UPTIME_TEXT, "系统运行时间:01时02分03秒");
        EXPECT_EQ(TextOf(Item(IDC_UPTIME_TEXT)), L"系统运行时间:01时02分03秒");
        EXPECT_EQ(Host().ControlText(IDC_UPTIME_TEXT), "系统运行时间:01时02分03秒");
        Host().EnableControl(IDC_CANCEL_POWER_OFF, false);
        EXPECT_FALSE(::IsWindowEnabled(Item(IDC_CANCEL_POWER_OFF)));
        Host().EnableControl(IDC_CANCEL_POWER_OFF, true);
        EXPECT_TRUE(::IsWindowEnabled(Item(IDC_CANCEL_POWER_OFF)));
        EXPECT_EQ(Host().LoadString(IDS_ABOUTBOX), "关于 Lumivar(&A)...");
        EXPECT_EQ(Host().LoadString(4242), "");
    };
    Run(m_main);
}

TEST_F(Win32DialogHostTest, SpinIsSetUpAndItsNotificationGetsTheDialogsAnswer) {
    m_main.spinAnswer = 1;
    LRESULT answer = -1;
    m_main.body = [&] {
        Host().SetSpinBase(IDC_REFRESH_SPIN, 10);
        Host().SetSpinRange(IDC_REFRESH_SPIN, 1000, 5000);
        Host().SetSpinPos(IDC_REFRESH_SPIN, 1000);
        const HWND spin = Item(IDC_REFRESH_SPIN);
        EXPECT_EQ(::SendMessageW(spin, UDM_GETBASE, 0, 0), 10);
        EXPECT_EQ(::SendMessageW(spin, UDM_GETPOS32, 0, 0), 1000);
        int lower = 0, upper = 0;
        ::SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                       reinterpret_cast<LPARAM>(&upper));
        EXPECT_EQ(lower, 1000);
        EXPECT_EQ(upper, 5000);

        NMUPDOWN change{};
        change.hdr = {spin, IDC_REFRESH_SPIN, UDN_DELTAPOS};
        change.iPos = 1000;
        change.iDelta = -1;
        answer = ::SendMessageW(Window(), WM_NOTIFY, IDC_REFRESH_SPIN,
                                reinterpret_cast<LPARAM>(&change));
    };
    Run(m_main);
    ASSERT_EQ(m_main.spins.size(), 1u);
    EXPECT_EQ(m_main.spins[0], (std::pair{IDC_REFRESH_SPIN, -1}));
    EXPECT_EQ(answer, 1); // non-zero keeps the up-down control from moving
}

TEST_F(Win32DialogHostTest, ClicksAndMenuCommandsReachOnCommandOtherNotificationsDoNot) {
    m_main.body = [&] {
        ::SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_SET_DEFAULT_WORK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(IDC_SET_DEFAULT_WORK)));
        ::SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDC_REFRESH_PERIOD, EN_CHANGE),
                       reinterpret_cast<LPARAM>(Item(IDC_REFRESH_PERIOD)));
        ::SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(ID_TRAY_SHOW, 0), 0);
    };
    Run(m_main);
    EXPECT_EQ(m_main.commands, (std::vector<int>{IDC_SET_DEFAULT_WORK, ID_TRAY_SHOW}));
}

TEST_F(Win32DialogHostTest, UnhandledCloseBecomesTheCancelCommandThatEndsTheRun) {
    m_main.endAfterBody = false;
    m_main.body = [&] { ::PostMessageW(Window(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(Run(m_main), IDCANCEL);
    EXPECT_EQ(m_main.closes, 1);
    EXPECT_EQ(m_main.commands, (std::vector<int>{IDCANCEL}));
}

TEST_F(Win32DialogHostTest, TrayCallbackReachesOnMessageWithItsParameters) {
    m_main.body = [&] {
        ::SendMessageW(Window(), 0x0401, IDC_TRAY_ICON, WM_LBUTTONDBLCLK);
        ::SendMessageW(Window(), 0x0401, IDC_TRAY_ICON, WM_RBUTTONDOWN);
    };
    Run(m_main);
    using Callback = std::pair<std::uintptr_t, std::intptr_t>;
    EXPECT_EQ(m_main.trayCallbacks, (std::vector<Callback>{{IDC_TRAY_ICON, WM_LBUTTONDBLCLK},
                                                           {IDC_TRAY_ICON, WM_RBUTTONDOWN}}));
}

// Asks the shell about the window's icon: a change (NIM_MODIFY) to an icon
// the shell does not hold fails.
bool AskShell(DWORD request, HWND window) {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = window;
    record.uID = IDC_TRAY_ICON;
    return ::Shell_NotifyIconW(request, &record) != FALSE;
}

TEST_F(Win32DialogHostTest, MainWindowHidesBehindItsIconAndGivesItBackToANewShell) {
    const test::TempDir dir;
    const SystemClock clock;
    test::RecordingPowerOff powerOff;
    const SettingsStore settings([&] { return dir / "Setup.ini"; });
    test::WithBody<ui::CLumivarDlg> main({clock, powerOff, settings});
    main.body = [&] {
        const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
        ::ShowWindow(Window(), SW_SHOW);
        main.SendToTray();
        ASSERT_TRUE(AskShell(NIM_MODIFY, Window()));
        EXPECT_FALSE(::IsWindowVisible(Window()));

        // The shell restarts without it; the window gives it again.
        AskShell(NIM_DELETE, Window());
        ::SendMessageW(Window(), taskbarCreated, 0, 0);
        EXPECT_TRUE(AskShell(NIM_MODIFY, Window()));
        EXPECT_FALSE(::IsWindowVisible(Window()));

        // Once the window is back, the icon is gone for good.
        main.RestoreFromTray();
        EXPECT_TRUE(::IsWindowVisible(Window()));
        ::SendMessageW(Window(), taskbarCreated, 0, 0);
        EXPECT_FALSE(AskShell(NIM_MODIFY, Window()));
    };
    Run(main);
}

TEST_F(Win32DialogHostTest, SystemMenuGetsTheSeparatorAndTheAboutItem) {
    m_main.body = [&] {
        ASSERT_TRUE(Host().HasSystemMenu());
        const HMENU menu = ::GetSystemMenu(Window(), FALSE);
        const int before = ::GetMenuItemCount(menu);
        Host().AppendSystemMenuSeparator();
        Host().AppendSystemMenuItem(IDM_ABOUTBOX, "关于 Lumivar(&A)...");
        ASSERT_EQ(::GetMenuItemCount(menu), before + 2);
        EXPECT_EQ(::GetMenuState(menu, static_cast<UINT>(before), MF_BYPOSITION) & MF_SEPARATOR,
                  static_cast<UINT>(MF_SEPARATOR));
        EXPECT_EQ(::GetMenuItemID(menu, before + 1), static_cast<UINT>(IDM_ABOUTBOX));
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, IDM_ABOUTBOX, text, 64, MF_BYCOMMAND);
        EXPECT_STREQ(text, L"关于 Lumivar(&A)...");
    };
    Run(m_main);
}

// A dialog that does not place itself opens in the middle of the work area,
// or of the window it is modal to.
TEST_F(Win32DialogHostTest, DialogsThatDoNotPlaceThemselvesAreCentred) {
    const auto centre = [](HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    };
    m_main.body = [&] {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoW(::MonitorFromWindow(Window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
        const POINT main = centre(Window());
        EXPECT_NEAR(main.x, (monitor.rcWork.left + monitor.rcWork.right) / 2, 1);
        EXPECT_NEAR(main.y, (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 1);
        RecordingDialog about{IDD_ABOUTBOX};
        about.body = [&] {
            const POINT over = centre(::FindWindowW(nullptr, L"关于 Lumivar"));
            EXPECT_NEAR(over.x, main.x, 1);
            EXPECT_NEAR(over.y, main.y, 1);
        };
        Host().RunModal(about);
    };
    Run(m_main);
}

TEST_F(Win32DialogHostTest, ModelessWindowIsOwnedHidesOnEndAndGoesWithItsOwner) {
    bool noticeDestroyed = false;
    m_main.body = [&] {
        auto notice = std::make_unique<RecordingDialog>(IDD_SHOW, &noticeDestroyed);
        RecordingDialog& behaviour = *notice;
        ui::DialogHost* host = Host().CreateModeless(std::move(notice));
        ASSERT_NE(host, nullptr);
        EXPECT_EQ(behaviour.initDialogs, 1);
        const HWND window = static_cast<Win32DialogHost*>(host)->Window();
        EXPECT_EQ(::GetWindow(window, GW_OWNER), Window());
        EXPECT_FALSE(::IsWindowVisible(window)); // shown by its creator

        const ui::Rect rect = host->WindowRect();
        host->SetWindowPosTopmost(10, 20, rect.Width(), rect.Height(), SWP_SHOWWINDOW);
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(host->WindowRect(), (ui::Rect{10, 20, 10 + rect.Width(), 20 + rect.Height()}));

        host->EndDialog(IDCANCEL);
        EXPECT_TRUE(::IsWindow(window));
        EXPECT_FALSE(::IsWindowVisible(window));
        EXPECT_FALSE(noticeDestroyed);
    };
    Run(m_main);
    EXPECT_TRUE(noticeDestroyed); // freed with its window, when the owner went
}

TEST_F(Win32DialogHostTest, EscInAModelessWindowIsItsCancelCommand) {
    m_main.endAfterBody = false;
    std::vector<int> noticeCommands;
    HWND noticeWindow = nullptr;
    m_main.body = [&] {
        auto notice = std::make_unique<RecordingDialog>(IDD_SHOW);
        notice->onCommand = [&](int id) { noticeCommands.push_back(id); };
        auto* host = static_cast<Win32DialogHost*>(Host().CreateModeless(std::move(notice)));
        ASSERT_NE(host, nullptr);
        noticeWindow = host->Window();
        ::ShowWindow(noticeWindow, SW_SHOW);
        // The keys as the main window's loop gets them, then the end of the run.
        ::PostMessageW(noticeWindow, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageW(noticeWindow, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
        ::PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    const ModelessKeyboard keyboard;
    Run(m_main);
    EXPECT_EQ(noticeCommands, (std::vector<int>{IDCANCEL}));
}

TEST(GdiPainter, CopiesThePictureAndLeavesTheContextAsItFoundIt) {
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP surface = ::CreateCompatibleBitmap(screen, 320, 200);
    ::ReleaseDC(nullptr, screen);
    const HGDIOBJ previousSurface = ::SelectObject(dc, surface);
    const HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
    ::PatBlt(dc, 0, 0, 320, 200, WHITENESS);
    {
        GdiPainter painter(Win32DialogHost::Resources(), dc);
        painter.CopyBitmap(IDB_NOTICE, 0, 0, 313, 198);
        painter.SelectFont("黑体", 150);
        painter.SetTransparentBackground();
        painter.SelectFont("宋体", 100);
        painter.SetTextColor(0x00A6389F);
        painter.DrawText(100, 120, "离关机还有 29 秒");
        EXPECT_NE(::GetCurrentObject(dc, OBJ_FONT), originalFont);
        EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);
        EXPECT_EQ(::GetTextColor(dc), 0x00A6389Fu);
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), originalFont);
    // The picture covers the surface: its pixels are not all the white it had.
    int nonWhite = 0;
    for (int x = 0; x < 313; x += 16)
        for (int y = 0; y < 198; y += 16)
            nonWhite += ::GetPixel(dc, x, y) != RGB(255, 255, 255);
    EXPECT_GT(nonWhite, 100);
    EXPECT_EQ(::GetPixel(dc, 316, 100), RGB(255, 255, 255)); // not stretched past it
    ::SelectObject(dc, previousSurface);
    ::DeleteObject(surface);
    ::DeleteDC(dc);
}

} // namespace
} // namespace lumivar::win32
