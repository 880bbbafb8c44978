#include "QtApplicationHost.h"

#include "QtDialogHost.h"

namespace lumivar::qt {

int QtApplicationHost::RunMainDialog(ui::Dialog& dialog) {
    // The host, and every window it owns, is gone before the dialog object.
    const std::unique_ptr<QtDialogHost> host =
        QtDialogHost::Create(dialog, nullptr, QtDialogHost::Run::Modal);
    return host ? host->RunMainWindow() : ui::kMainDialogNotCreated;
}

} // namespace lumivar::qt
