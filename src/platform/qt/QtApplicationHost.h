#pragma once

#include "ApplicationHost.h"
#include "SecondStart.h"

namespace lumivar::qt {

/// The application on Qt: the main window is a dialog window whose run is
/// the program's only event loop. Needs a QApplication.
class QtApplicationHost final : public ui::ApplicationHost {
public:
    int RunMainDialog(ui::Dialog& dialog) override;
    /// Another start of the program in the session: whether it runs as this
    /// one does (true while no main window runs yet).
    bool AcceptsSecondStart(const ui::StartRequest& request) const;
    /// Then, once it has its answer, the main window's dialog decides how it
    /// comes forward, with the desktop's leave to take the focus.
    void SecondStart(const ui::StartRequest& request, bool sameRun);

private:
    ui::Dialog* m_running = nullptr;
};

/// Asks the user, when the copy already running does not answer, whether to
/// start another copy anyway.
bool AskRunAnother();

} // namespace lumivar::qt
