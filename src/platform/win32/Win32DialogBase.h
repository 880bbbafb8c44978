#pragma once

#include "Win32Api.h"

namespace lumivar::win32 {

/// A dialog window procedure bound to an object: the static procedure stores
/// the object given to CreateDialogParamW or DialogBoxParamW at WM_INITDIALOG
/// and forwards every later message to HandleMessage. The pointer is cleared
/// when the window goes (WM_NCDESTROY) and when the object goes first, so no
/// message ever reaches a destroyed or half-destroyed object. A dialog that
/// does not place itself in its start-up is centred: on the screen, or over
/// the owner it is modal to.
class Win32DialogBase {
public:
    Win32DialogBase() = default;
    virtual ~Win32DialogBase();
    Win32DialogBase(const Win32DialogBase&) = delete;
    Win32DialogBase& operator=(const Win32DialogBase&) = delete;

    HWND Window() const { return m_hwnd; }

    /// The object bound to a window of ours; null for any other window.
    static Win32DialogBase* FromWindow(HWND hwnd);

protected:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    /// The value to pass with DialogProc to CreateDialogParamW or
    /// DialogBoxParamW: this base's own address, which in a class with more
    /// than one base is not the derived object's.
    LPARAM CreationParam() { return reinterpret_cast<LPARAM>(this); }

    /// A dialog procedure's result: TRUE when handled, FALSE for the default.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    /// The window is gone (after WM_NCDESTROY); the object may delete itself.
    virtual void WindowDestroyed() {}

private:
    void Unbind();

    HWND m_hwnd = nullptr;
};

} // namespace lumivar::win32
