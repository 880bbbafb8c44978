#include "LumivarApp.h"

#include "LumivarDlg.h"

namespace lumivar {

CLumivarApp::CLumivarApp(ui::ApplicationHost& host, const ui::MainWindowServices& services)
    : m_host(host), m_services(services) {}

bool CLumivarApp::InitInstance() {
    ui::CLumivarDlg dialog(m_services);
    m_host.RunMainDialog(dialog); // however it ends, the program ends with it
    return false;
}

} // namespace lumivar
