#pragma once

#include "Win32Api.h"

namespace lumivar::win32 {

/// Dialog keyboard handling (Esc, Enter, Tab) for the modeless windows. The
/// only message loop is the main window's DialogBoxParamW run, which calls
/// IsDialogMessage for the main window alone; this message filter makes it
/// for the modeless window a message is for. One per thread, for the length
/// of the program's run.
class ModelessKeyboard {
public:
    ModelessKeyboard();
    ~ModelessKeyboard();
    ModelessKeyboard(const ModelessKeyboard&) = delete;
    ModelessKeyboard& operator=(const ModelessKeyboard&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
};

} // namespace lumivar::win32
