#pragma once

#include "ApplicationHost.h"

namespace lumivar::qt {

/// The application on Qt: the main window is a dialog window whose run is
/// the program's only event loop. Needs a QApplication.
class QtApplicationHost final : public ui::ApplicationHost {
public:
    int RunMainDialog(ui::Dialog& dialog) override;
    /// Another start of the program asks for the main window: its dialog
    /// decides how it comes forward. Nothing while no main window runs.
    void BringForward();

private:
    ui::Dialog* m_running = nullptr;
};

} // namespace lumivar::qt
