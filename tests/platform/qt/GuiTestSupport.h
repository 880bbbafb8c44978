#pragma once

// What the GUI tests share: a clock they set, message boxes answered from the
// test, and a main window on the real host with the real behaviour, a
// recording power-off and a Setup.ini in a fresh directory.

#include "Clock.h"
#include "FakeClock.h"
#include "LumivarDlg.h"
#include "QtDialogHost.h"
#include "QtMessageBox.h"
#include "RecordingPowerOff.h"
#include "ScheduleCheck.h"
#include "SettingsStore.h"
#include "ShowDlg.h"
#include "TempDir.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

namespace lumivar::test {

/// Answers every message box with the next queued answer (OK when none is
/// queued) and keeps what each box said.
class MessageBoxScript {
public:
    MessageBoxScript() {
        qt::SetMessageBoxAnswerer([this](const qt::MessageBoxRequest& request) {
            shown.push_back(request);
            if (answers.empty())
                return 1;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MessageBoxScript() { qt::SetMessageBoxAnswerer({}); }
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    std::deque<int> answers;
    std::vector<qt::MessageBoxRequest> shown;
};

/// The real main window on the real host, not yet shown.
class MainWindowUnderTest {
public:
    /// `setupIni`: the file's content before start-up; empty for no file.
    explicit MainWindowUnderTest(std::string_view setupIni = {}) {
        // Process-wide state of the behaviour starts afresh for every window.
        ui::g_refreshing = true;
        ui::g_secondsLeft = 30;
        ui::g_armedTarget = {};
        if (!setupIni.empty())
            WriteBytes(IniPath(), setupIni);
        m_dialog = std::make_unique<ui::CLumivarDlg>(m_services);
        m_host = qt::QtDialogHost::Create(*m_dialog, nullptr, qt::QtDialogHost::Run::Modal);
    }
    ~MainWindowUnderTest() {
        m_host.reset();
        m_dialog.reset();
    }

    std::filesystem::path IniPath() const { return m_dir / "Setup.ini"; }
    ScheduleSettings Stored() const { return m_store.Load(); }
    qt::QtDialogHost& Host() { return *m_host; }
    QWidget& Window() { return m_host->Window(); }
    template <class Widget = QWidget> Widget* Find(int id) {
        return Window().findChild<Widget*>(QString::number(id));
    }
    void ResetHost() { m_host.reset(); }

    FakeClock clock{std::chrono::system_clock::now()};
    RecordingPowerOff powerOff;

private:
    TempDir m_dir;
    std::ostringstream m_storeErrors;
    SettingsStore m_store{[this] { return IniPath(); }, m_storeErrors};
    ui::MainWindowServices m_services{clock, powerOff, m_store};
    std::unique_ptr<ui::CLumivarDlg> m_dialog;
    std::unique_ptr<qt::QtDialogHost> m_host;
};

/// Runs `action` on the box (or menu) that opens next, from inside its own
/// event loop, so a test can answer a real modal box without blocking.
inline void WhenModalOpens(std::function<void(QWidget&)> action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        QWidget* open = QApplication::activeModalWidget();
        if (!open)
            open = QApplication::activePopupWidget();
        if (!open || !open->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(*open);
    });
    poll->start();
}

} // namespace lumivar::test
