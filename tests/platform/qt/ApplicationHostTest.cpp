// The application's run on the Qt host: the main window's run ends with the
// exit procedure, and a window without a template cannot run.
#include "GuiTestSupport.h"
#include "LumivarApp.h"
#include "QtApplicationHost.h"

#include <QTest>

namespace lumivar::test {

class ApplicationHostTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowRunsUntilTheExitIsConfirmed();
    void aWindowWithoutTemplateCannotRun();
};

void ApplicationHostTest::mainWindowRunsUntilTheExitIsConfirmed() {
    TempDir dir;
    FakeClock clock{std::chrono::system_clock::now()};
    RecordingPowerOff powerOff;
    std::ostringstream errors;
    const SettingsStore store([&] { return dir / "Setup.ini"; }, errors);
    const ui::MainWindowServices services{clock, powerOff, store};
    MessageBoxScript boxes;
    boxes.answers = {ui::kIdNo, ui::kIdYes};

    bool shownWhileRunning = false;
    QTimer::singleShot(50, [&] {
        QWidget* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("dialog102"))
                window = top;
        shownWhileRunning = window && window->isVisible();
        if (!window)
            return;
        QTest::keyClick(window, Qt::Key_Escape); // No: the run goes on
        QTest::keyClick(window, Qt::Key_Escape); // Yes: it ends
    });
    qt::QtApplicationHost host;
    CLumivarApp app(host, services);
    QVERIFY(!app.InitInstance());

    QVERIFY(shownWhileRunning);
    QCOMPARE(boxes.shown.size(), std::size_t{2});
    QCOMPARE(store.Load().mode, 1000);
    QVERIFY(
        QApplication::topLevelWidgets().isEmpty() ||
        std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                     [](QWidget* w) { return w->objectName() == QStringLiteral("dialog102"); }));
}

void ApplicationHostTest::aWindowWithoutTemplateCannotRun() {
    ui::Dialog noSuchWindow(9999);
    qt::QtApplicationHost host;
    QCOMPARE(host.RunMainDialog(noSuchWindow), -1);
    QVERIFY(!noSuchWindow.IsAttached());
}

} // namespace lumivar::test

QTEST_MAIN(lumivar::test::ApplicationHostTest)
#include "ApplicationHostTest.moc"
