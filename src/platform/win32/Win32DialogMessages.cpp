// The Win32 dialog host: routing each window message to the dialog's handler.
#include "Win32DialogHost.h"

#include "Dialog.h"
#include "GdiPainter.h"
#include "Win32SessionCopy.h"

#include <commctrl.h>

namespace lumivar::win32 {

namespace {

constexpr wchar_t kTimeOfDayFormat[] = L"HH:mm:ss";

// Every picker shows 24-hour time, whatever the user's locale would pick.
BOOL CALLBACK SetPickerFormat(HWND child, LPARAM) {
    wchar_t className[32] = {};
    if (::GetClassNameW(child, className, 32) && ::lstrcmpiW(className, DATETIMEPICK_CLASSW) == 0)
        ::SendMessageW(child, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kTimeOfDayFormat));
    return TRUE;
}

} // namespace

INT_PTR Win32DialogHost::Result(LRESULT result) {
    ::SetWindowLongPtrW(Window(), DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR Win32DialogHost::InitDialog() {
    ::EnumChildWindows(Window(), SetPickerFormat, 0);
    if (!m_owner)
        MarkMainWindow(Window(), true);
    m_dialog.Attach(this);
    return m_dialog.OnInitDialog() ? TRUE : FALSE;
}

// A second start's request: answered at once, acted on once the answer has
// gone back, so that a box the window then opens keeps nobody waiting.
INT_PTR Win32DialogHost::SecondStart(const COPYDATASTRUCT& data) {
    const std::optional<ui::StartRequest> request =
        data.dwData == kSecondStartTag ? DecodeStartRequest(data.lpData, data.cbData)
                                       : std::nullopt;
    if (!request)
        return FALSE;
    const bool sameRun = m_dialog.AcceptsSecondStart(*request);
    m_secondStarts.emplace_back(*request, sameRun);
    ::PostMessageW(Window(), SecondStartMessage(), 0, 0);
    return Result(sameRun ? kSameRun : kOtherRun);
}

INT_PTR Win32DialogHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Sent to every top-level window when the shell's taskbar is (re)created.
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (message == taskbarCreated && taskbarCreated != 0) {
        m_heldTrayIcon.reset(); // a new shell holds no icon
        m_dialog.OnNotificationAreaReset();
    }
    // The tray callback (WM_USER + 1) is also DM_SETDEFID: passed on to the
    // default handling, every mouse movement over the icon would make the
    // icon's id the default button, and Enter would no longer arm.
    if (message == m_trayCallback && m_trayCallback != 0) {
        m_dialog.OnMessage(message, wParam, lParam);
        return Result(0);
    }
    if (message == SecondStartMessage() && message != 0 && !m_owner) {
        if (!m_secondStarts.empty()) {
            const auto [request, sameRun] = m_secondStarts.front();
            m_secondStarts.pop_front();
            m_dialog.OnSecondStart(request, sameRun);
        }
        return Result(0);
    }
    if (message == WM_COPYDATA && !m_owner)
        return SecondStart(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    switch (message) {
    case WM_INITDIALOG:
        return InitDialog();
    case WM_COMMAND:
        // Button clicks, menu items, and IDOK/IDCANCEL from Enter and Esc
        // all carry code 0 (BN_CLICKED); other notifications are not ours.
        if (HIWORD(wParam) == BN_CLICKED)
            m_dialog.OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        TimerTick(static_cast<int>(wParam));
        return TRUE;
    case WM_PAINT:
        return Paint();
    case WM_CLOSE:
        // FALSE: the default handling posts IDCANCEL.
        return m_dialog.OnClose() ? Result(0) : FALSE;
    case WM_SYSCOMMAND:
        return m_dialog.OnSysCommand(static_cast<unsigned>(wParam)) ? Result(0) : FALSE;
    case WM_SIZE:
        // A dialog's default WM_SIZE handling does nothing, so running the
        // handler here is running it after the default.
        m_dialog.OnSize(static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_KILLFOCUS:
        m_dialog.OnKillFocus();
        return FALSE;
    case WM_NOTIFY:
        return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_bigIcon);
    case WM_NCDESTROY:
        if (!m_owner)
            MarkMainWindow(Window(), false);
        return FALSE;
    default:
        // Each then gets its default handling.
        m_dialog.OnMessage(message, wParam, lParam);
        return FALSE;
    }
}

INT_PTR Win32DialogHost::Notify(const NMHDR& header) {
    if (header.code != UDN_DELTAPOS)
        return FALSE;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    return Result(m_dialog.OnSpinDelta(static_cast<int>(header.idFrom), change.iDelta));
}

INT_PTR Win32DialogHost::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(Window(), &paint);
    // A minimised window's background is the icon's: erase it as the
    // system would before the dialog draws the icon.
    if (::IsIconic(Window()))
        ::SendMessageW(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    {
        GdiPainter painter(Resources(), dc);
        // A dialog that leaves the painting to the default is already done:
        // BeginPaint erased the background, and the controls paint themselves.
        m_dialog.OnPaint(painter);
    }
    ::EndPaint(Window(), &paint);
    return TRUE;
}

} // namespace lumivar::win32
