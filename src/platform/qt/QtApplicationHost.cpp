#include "QtApplicationHost.h"

#include "Dialog.h"
#include "QtDialogHost.h"

namespace lumivar::qt {

int QtApplicationHost::RunMainDialog(ui::Dialog& dialog) {
    // The host, and every window it owns, is gone before the dialog object.
    const std::unique_ptr<QtDialogHost> host =
        QtDialogHost::Create(dialog, nullptr, QtDialogHost::Run::Modal);
    if (!host)
        return ui::kMainDialogNotCreated;
    m_running = &dialog;
    const int result = host->RunMainWindow();
    m_running = nullptr;
    return result;
}

void QtApplicationHost::BringForward() {
    if (m_running)
        m_running->OnBringForward();
}

} // namespace lumivar::qt
