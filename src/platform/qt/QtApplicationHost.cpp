#include "QtApplicationHost.h"

#include "Dialog.h"
#include "DisplayEnvironment.h"
#include "QtDialogHost.h"
#include "QtMessageBox.h"
#include "QtText.h"
#include "StartupNotification.h"
#include "UiTexts.h"
#include "WinConstants.h"

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

bool QtApplicationHost::AcceptsSecondStart(const ui::StartRequest& request) const {
    return !m_running || m_running->AcceptsSecondStart(request);
}

void QtApplicationHost::SecondStart(const ui::StartRequest& request, bool sameRun) {
    if (!m_running)
        return;
    // The launcher's leave to take the focus: Qt's Wayland shell reads the
    // token when the window next asks for it.
    if (!request.activationToken.empty() && NativeWayland())
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(request.activationToken));
    m_running->OnSecondStart(request, sameRun);
    // The launcher shows that the new start is busy until this copy answers.
    EndStartupNotification(request.startupId);
}

bool AskRunAnother() {
    return ShowMessageBox(nullptr, {FromUtf8(ui::texts::kRunningCopyNoAnswer),
                                    FromUtf8(ui::texts::kNoticeCaption),
                                    ui::kMbYesNo | ui::kMbIconQuestion}) == ui::kIdYes;
}

} // namespace lumivar::qt
