#include "LumivarApp.h"

#include "LumivarDlg.h"

namespace lumivar {

CLumivarApp::CLumivarApp(ui::ApplicationHost& host, const ui::MainWindowServices& services)
    : m_host(host), m_services(services) {}

bool CLumivarApp::InitInstance() {
    ui::CLumivarDlg dialog(m_services);
    // However it ends, the program ends with it.
    m_mainWindowFailed = m_host.RunMainDialog(dialog) == ui::kMainDialogNotCreated;
    return false;
}

} // namespace lumivar
