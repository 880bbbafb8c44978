#include "Win32DialogBase.h"

#include "CentredPlacement.h"
#include "Win32Geometry.h"

namespace lumivar::win32 {
namespace {

// Where a dialog goes that did not place itself: over its owner while the
// owner is on show, otherwise in the middle of the work area of the owner's
// (or the primary) monitor, and wholly inside that work area.
void CentreDialog(HWND dialog) {
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    const bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR nearest = owner ? ::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                   : ::MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY);
    if (!::GetMonitorInfoW(nearest, &monitor))
        return;
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (overOwner)
        ::GetWindowRect(owner, &around);
    RECT rect{};
    ::GetWindowRect(dialog, &rect);
    const ui::Rect window = FromRect(rect);
    const ui::Point corner =
        ui::CentredPlace({window.Width(), window.Height()}, FromRect(around), FromRect(area));
    ::SetWindowPos(dialog, nullptr, corner.x, corner.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// Centred after its start-up unless it is a child, it placed or showed itself
// there, or it is a modeless window beside an owner that stays usable (the
// countdown, which its creator places).
bool WantsCentring(HWND dialog, const RECT& before) {
    RECT after{};
    ::GetWindowRect(dialog, &after);
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    const LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
    return !(style & (WS_CHILD | WS_VISIBLE)) && after.left == before.left &&
           after.top == before.top && (!owner || !::IsWindowEnabled(owner));
}

} // namespace

Win32DialogBase::~Win32DialogBase() {
    Unbind();
}

Win32DialogBase* Win32DialogBase::FromWindow(HWND hwnd) {
    if (!hwnd || reinterpret_cast<DLGPROC>(::GetWindowLongPtrW(hwnd, DWLP_DLGPROC)) != DialogProc)
        return nullptr;
    return reinterpret_cast<Win32DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
}

void Win32DialogBase::Unbind() {
    if (m_hwnd)
        ::SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
    m_hwnd = nullptr;
}

INT_PTR CALLBACK Win32DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    Win32DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Win32DialogBase*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    } else {
        self = reinterpret_cast<Win32DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, WM_CREATE) and after the
    // object went get the default handling.
    if (!self)
        return FALSE;
    RECT before{};
    if (message == WM_INITDIALOG)
        ::GetWindowRect(hwnd, &before);
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_INITDIALOG && WantsCentring(hwnd, before))
        CentreDialog(hwnd);
    if (message == WM_NCDESTROY) {
        self->Unbind();
        self->WindowDestroyed();
    }
    return result;
}

} // namespace lumivar::win32
