#include "Win32DialogBase.h"

namespace lumivar::win32 {

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
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->Unbind();
        self->WindowDestroyed();
    }
    return result;
}

} // namespace lumivar::win32
