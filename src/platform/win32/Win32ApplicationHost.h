#pragma once

#include "ApplicationHost.h"

namespace lumivar::win32 {

/// The application on Win32: the common controls the templates use, then the
/// main window's modal run (DialogBoxParamW), the program's only message
/// loop. Nothing follows it.
class Win32ApplicationHost final : public ui::ApplicationHost {
public:
    int RunMainDialog(ui::Dialog& dialog) override;
};

} // namespace lumivar::win32
