#include "Win32ApplicationHost.h"

#include "ModelessKeyboard.h"
#include "Win32DialogHost.h"

#include <commctrl.h>

namespace lumivar::win32 {

int Win32ApplicationHost::RunMainDialog(ui::Dialog& dialog) {
    // The time pickers and the up-down control of the main window.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_DATE_CLASSES | ICC_UPDOWN_CLASS;
    ::InitCommonControlsEx(&controls);

    const ModelessKeyboard keyboard;
    Win32DialogHost host(dialog, nullptr);
    static_assert(ui::kMainDialogNotCreated == -1, "DialogBoxParamW's failure");
    return host.RunModalLoop();
}

} // namespace lumivar::win32
