#pragma once

#include "ApplicationHost.h"
#include "MainWindowServices.h"

namespace lumivar {

/// The application: runs the main window modally and ends with it.
class CLumivarApp {
public:
    CLumivarApp(ui::ApplicationHost& host, const ui::MainWindowServices& services);

    /// Runs the program's whole life. Returns false: nothing follows the
    /// main window, so there is no message loop of the application's own.
    bool InitInstance();
    /// Whether InitInstance could not create the main window.
    bool MainWindowFailed() const { return m_mainWindowFailed; }

private:
    ui::ApplicationHost& m_host;
    ui::MainWindowServices m_services;
    bool m_mainWindowFailed = false;
};

} // namespace lumivar
