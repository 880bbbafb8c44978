#pragma once

#include "Dialog.h"
#include "ResourceIds.h"

namespace lumivar::ui {

/// The About box: icon, version and credit; OK, Enter, Esc or the close box
/// end it.
class CAboutDlg : public Dialog {
public:
    CAboutDlg() : Dialog(IDD_ABOUTBOX) {}
};

} // namespace lumivar::ui
