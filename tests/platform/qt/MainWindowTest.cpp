// The main window on the real Qt host with its real behaviour: start-up
// states, the schedule commands, the refresh controls, default times, the
// exit prompt, keys, layout, the About item and the tray.
#include "DialogUnits.h"
#include "GuiTestSupport.h"
#include "MainDialogIds.h"
#include "UpDownControl.h"

#include <QAccessible>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace lumivar::test {
namespace {

const int kSlotControls[] = {IDC_TIME_WORK,        IDC_TIME_REST,        IDC_TIME_USER,
                             IDC_SET_DEFAULT_WORK, IDC_SET_DEFAULT_REST, IDC_SET_DEFAULT_USER};
const int kRadios[] = {IDC_MODE_WORK, IDC_MODE_REST, IDC_MODE_USER};
const QString kExitQuestion = QStringLiteral("确认要退出Tarnholt定时关机管理程序吗?");

void Show(MainWindowUnderTest& main) {
    main.Window().show();
    main.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main.Window()));
}

// The user minimises the window: the state changes, as the window manager
// reports it.
void Minimise(MainWindowUnderTest& main) {
    main.Window().setWindowState(main.Window().windowState() | Qt::WindowMinimized);
}

void Click(QWidget* widget) {
    QVERIFY(widget);
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpFollowsTheStoredMode_data();
    void startUpFollowsTheStoredMode();
    void startUpShowsTheStoredTimesAndNoticeOption();
    void onlyTheCheckedRadioButtonIsATabStop();
    void assistiveTechnologyReadsWhatASightedUserSees();
    void armAndCancelSwitchTheScheduleControls();
    void refreshToggleSwapsItsCaption();
    void upDownStepsThePeriodWithinItsRange();
    void defaultTimeButtonStoresThePickerAndConfirms();
    void exitAnsweredNoKeepsRunning();
    void exitAnsweredYesStoresTheModeAndEnds();
    void closeBoxAsksTheSameQuestion();
    void enterArmsUnlessAPushButtonHasTheFocus();
    void realExitBoxIgnoresEscAndTakesEnterAsYes();
    void realInstructionsBoxIsAWarning();
    void boxOfAHiddenWindowIsCentredOnTheScreen();
    void layoutConvertsDialogUnitsWithTheTemplateFont();
    void visibleControlsNeitherOverlapNorClip();
    void hiddenControlsStayHidden();
    void rightClickOffersTheAboutBox();
    void withoutANotificationAreaTheWindowStaysMinimised();
    void trayDoubleClickRestoresTheWindow();
    void trayIconCarriesTheTrayMenu();
};

void MainWindowTest::startUpFollowsTheStoredMode_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("checked");
    QTest::addColumn<QList<int>>("enabled"); // among the pickers and default-time buttons
    QTest::addColumn<int>("focused");        // the first tab stop: a checked radio's

    QTest::newRow("no file") << QByteArray() << IDC_MODE_WORK
                             << QList<int>{IDC_TIME_WORK, IDC_SET_DEFAULT_WORK} << IDC_MODE_WORK;
    QTest::newRow("1000") << QByteArray("[MODE]\r\nMode=1000\r\n") << IDC_MODE_WORK
                          << QList<int>{IDC_TIME_WORK, IDC_SET_DEFAULT_WORK} << IDC_MODE_WORK;
    QTest::newRow("1001") << QByteArray("[MODE]\r\nMode=1001\r\n") << IDC_MODE_REST
                          << QList<int>{IDC_TIME_REST, IDC_SET_DEFAULT_REST} << IDC_MODE_REST;
    QTest::newRow("1006") << QByteArray("[MODE]\r\nMode=1006\r\n") << IDC_MODE_USER
                          << QList<int>{IDC_TIME_USER, IDC_SET_DEFAULT_USER} << IDC_MODE_USER;
    QTest::newRow("0") << QByteArray("[MODE]\r\nMode=0\r\n") << 0
                       << QList<int>{IDC_TIME_WORK, IDC_SET_DEFAULT_WORK} << IDC_TIME_WORK;
}

void MainWindowTest::startUpFollowsTheStoredMode() {
    QFETCH(QByteArray, ini);
    QFETCH(int, checked);
    QFETCH(QList<int>, enabled);
    QFETCH(int, focused);
    MainWindowUnderTest main(ini.toStdString());

    for (int radio : kRadios) {
        QVERIFY(main.Find(radio)->isEnabled());
        QCOMPARE(main.Find<QRadioButton>(radio)->isChecked(), radio == checked);
    }
    for (int id : kSlotControls)
        QCOMPARE(main.Find(id)->isEnabled(), enabled.contains(id));
    QVERIFY(!main.Find(IDC_CANCEL_POWER_OFF)->isEnabled());
    for (int id : {IDC_ARM, IDC_REFRESH_TOGGLE, IDC_INSTRUCTIONS, IDC_NOTICE_CHECK})
        QVERIFY(main.Find(id)->isEnabled());
    QCOMPARE(main.Find<QLineEdit>(IDC_REFRESH_PERIOD)->text(), QStringLiteral("1000"));
    QCOMPARE(main.Find<qt::UpDownControl>(IDC_REFRESH_SPIN)->Pos(), 1000);
    QCOMPARE(main.Find<QLabel>(IDC_UPTIME_TEXT)->text(),
             QStringLiteral("系统运行时间:00时00分00秒"));
    QCOMPARE(main.Window().focusWidget(), main.Find(focused));
}

void MainWindowTest::startUpShowsTheStoredTimesAndNoticeOption() {
    MainWindowUnderTest defaults;
    QCOMPARE(defaults.Find<QTimeEdit>(IDC_TIME_WORK)->time(), QTime(22, 59, 0));
    QCOMPARE(defaults.Find<QTimeEdit>(IDC_TIME_REST)->time(), QTime(23, 59, 0));
    QCOMPARE(defaults.Find<QTimeEdit>(IDC_TIME_USER)->time(), QTime(0, 0, 0));
    QVERIFY(defaults.Find<QCheckBox>(IDC_NOTICE_CHECK)->isChecked());

    MainWindowUnderTest stored(
        "[REST]\r\nHour=6\r\nMinute=7\r\nSecond=8\r\n[NOTICE]\r\nShow=0\r\n");
    QCOMPARE(stored.Find<QTimeEdit>(IDC_TIME_REST)->time(), QTime(6, 7, 8));
    QVERIFY(!stored.Find<QCheckBox>(IDC_NOTICE_CHECK)->isChecked());
}

void MainWindowTest::onlyTheCheckedRadioButtonIsATabStop() {
    MainWindowUnderTest main("[MODE]\r\nMode=1001\r\n");
    Show(main);
    QWidget* rest = main.Find(IDC_MODE_REST);
    QCOMPARE(QApplication::focusWidget(), rest);
    QTest::keyClick(rest, Qt::Key_Space); // selects the slot that has the focus
    QVERIFY(main.Find<QRadioButton>(IDC_MODE_REST)->isChecked());

    QTest::keyClick(rest, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), main.Find(IDC_TIME_REST));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), rest);

    // The tab stop moves with the check.
    Click(main.Find(IDC_MODE_USER));
    main.Find(IDC_TIME_USER)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), main.Find(IDC_MODE_USER));
    // The arrow keys still walk the group, selecting as they go.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), rest);
    QVERIFY(main.Find<QRadioButton>(IDC_MODE_REST)->isChecked());
    QVERIFY(main.Find(IDC_TIME_REST)->isEnabled());
}

void MainWindowTest::assistiveTechnologyReadsWhatASightedUserSees() {
    MainWindowUnderTest main;
    const std::pair<int, QString> names[] = {
        {IDC_TIME_WORK, QStringLiteral("星期日--星期四")},
        {IDC_TIME_REST, QStringLiteral("星期五--星期六")},
        {IDC_TIME_USER, QStringLiteral("自定义关机时间")},
        {IDC_REFRESH_PERIOD, QStringLiteral("刷新频率")},
        {IDC_REFRESH_SPIN, QStringLiteral("刷新频率")},
        // The three buttons read alike on screen; each says which slot it stores.
        {IDC_SET_DEFAULT_WORK, QStringLiteral("设置为默认值（星期日--星期四）")},
        {IDC_SET_DEFAULT_REST, QStringLiteral("设置为默认值（星期五--星期六）")},
        {IDC_SET_DEFAULT_USER, QStringLiteral("设置为默认值（自定义关机时间）")},
        {IDC_ARM, QStringLiteral("定时关机")},
    };
    for (const auto& [id, name] : names) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(main.Find(id));
        QVERIFY(control);
        QCOMPARE(control->text(QAccessible::Name), name);
    }
    const auto* spin = main.Find<qt::UpDownControl>(IDC_REFRESH_SPIN);
    QCOMPARE(spin->UpButton()->accessibleName(), QStringLiteral("增加刷新频率"));
    QCOMPARE(spin->DownButton()->accessibleName(), QStringLiteral("减少刷新频率"));
    for (int id : kRadios)
        QCOMPARE(QAccessible::queryAccessibleInterface(main.Find(id))->role(),
                 QAccessible::RadioButton);
}

void MainWindowTest::armAndCancelSwitchTheScheduleControls() {
    MainWindowUnderTest main("[MODE]\r\nMode=1001\r\n");
    main.clock.Set(std::chrono::system_clock::now() -
                   std::chrono::hours(30)); // far from any target
    Show(main);
    main.Find<QTimeEdit>(IDC_TIME_REST)->setTime(QTime(23, 30, 0));

    Click(main.Find(IDC_ARM));
    QCOMPARE(ui::g_armedTarget, (TargetTime{23, 30, 0}));
    QVERIFY(!main.Find(IDC_ARM)->isEnabled());
    QVERIFY(main.Find(IDC_CANCEL_POWER_OFF)->isEnabled());
    for (int id : kRadios)
        QVERIFY(!main.Find(id)->isEnabled());
    for (int id : kSlotControls)
        QVERIFY(!main.Find(id)->isEnabled());
    QVERIFY(main.Find<QRadioButton>(IDC_MODE_REST)->isChecked());
    QVERIFY(main.Host().IsMinimized()); // sent to the tray (here: the taskbar)

    main.Host().ShowWindow(ui::kSwShowNormal);
    Click(main.Find(IDC_CANCEL_POWER_OFF));
    QVERIFY(main.Find(IDC_ARM)->isEnabled());
    QVERIFY(!main.Find(IDC_CANCEL_POWER_OFF)->isEnabled());
    for (int id : kRadios)
        QVERIFY(main.Find(id)->isEnabled());
    QVERIFY(main.Find(IDC_TIME_REST)->isEnabled());
    QVERIFY(main.Find(IDC_SET_DEFAULT_REST)->isEnabled());
    QVERIFY(!main.Find(IDC_TIME_WORK)->isEnabled());
    QVERIFY(main.powerOff.calls.empty());
}

void MainWindowTest::refreshToggleSwapsItsCaption() {
    MainWindowUnderTest main;
    auto* toggle = main.Find<QPushButton>(IDC_REFRESH_TOGGLE);
    QCOMPARE(toggle->text(), QStringLiteral("停止刷新/系统时间"));
    Click(toggle);
    QCOMPARE(toggle->text(), QStringLiteral("开始刷新/系统时间"));
    QVERIFY(!ui::g_refreshing);
    Click(toggle);
    QCOMPARE(toggle->text(), QStringLiteral("停止刷新/系统时间"));
    QVERIFY(ui::g_refreshing);
}

void MainWindowTest::upDownStepsThePeriodWithinItsRange() {
    MainWindowUnderTest main;
    Show(main);
    auto* upDown = main.Find<qt::UpDownControl>(IDC_REFRESH_SPIN);
    auto* edit = main.Find<QLineEdit>(IDC_REFRESH_PERIOD);
    Click(upDown->UpButton());
    QCOMPARE(edit->text(), QStringLiteral("2000"));
    for (int i = 0; i < 4; ++i)
        Click(upDown->UpButton());
    QCOMPARE(edit->text(), QStringLiteral("5000"));
    // The control moves its own position by one a step, as the handler allowed;
    // the period lives in the edit alone.
    QCOMPARE(upDown->Pos(), 1005);
    Click(upDown->DownButton());
    QCOMPARE(edit->text(), QStringLiteral("4000"));
    // The arrow keys in the edit step as the arrows do.
    QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(edit->text(), QStringLiteral("3000"));
}

void MainWindowTest::defaultTimeButtonStoresThePickerAndConfirms() {
    MainWindowUnderTest main;
    MessageBoxScript boxes;
    main.Find<QTimeEdit>(IDC_TIME_WORK)->setTime(QTime(7, 5, 0));
    Click(main.Find(IDC_SET_DEFAULT_WORK));

    QCOMPARE(boxes.shown.size(), std::size_t{1});
    QCOMPARE(boxes.shown[0].text, QStringLiteral("已将 7:5:0 设置为星期日至星期四的默认时间!"));
    QCOMPARE(boxes.shown[0].caption, QStringLiteral("设置默认时间"));
    QCOMPARE(boxes.shown[0].type, 0x40u);
    QCOMPARE(main.Stored().work, (TargetTime{7, 5, 0}));
    QCOMPARE(main.Stored().rest, (TargetTime{23, 59, 0}));
}

void MainWindowTest::exitAnsweredNoKeepsRunning() {
    MainWindowUnderTest main;
    Show(main);
    MessageBoxScript boxes;
    boxes.answers = {ui::kIdNo};
    QTest::keyClick(&main.Window(), Qt::Key_Escape);

    QCOMPARE(boxes.shown.size(), std::size_t{1});
    QCOMPARE(boxes.shown[0].text, kExitQuestion);
    QCOMPARE(boxes.shown[0].caption, QStringLiteral("提示"));
    QCOMPARE(boxes.shown[0].type, 0x44u);
    QVERIFY(!main.Host().EndResult());
    QVERIFY(main.Window().isVisible());
    QVERIFY(!std::filesystem::exists(main.IniPath()));
}

void MainWindowTest::exitAnsweredYesStoresTheModeAndEnds() {
    MainWindowUnderTest main;
    Show(main);
    Click(main.Find(IDC_MODE_REST));
    MessageBoxScript boxes;
    boxes.answers = {ui::kIdYes};
    QTest::keyClick(&main.Window(), Qt::Key_Escape);

    QCOMPARE(main.Host().EndResult(), std::optional<int>(ui::kIdCancel));
    QCOMPARE(main.Stored().mode, IDC_MODE_REST);
    QVERIFY(!main.Window().isVisible());
}

void MainWindowTest::closeBoxAsksTheSameQuestion() {
    MainWindowUnderTest main;
    Show(main);
    MessageBoxScript boxes;
    boxes.answers = {ui::kIdNo};
    QVERIFY(!main.Window().close()); // the window never closes by itself
    QCOMPARE(boxes.shown.size(), std::size_t{1});
    QCOMPARE(boxes.shown[0].text, kExitQuestion);
    QVERIFY(main.Window().isVisible());
}

void MainWindowTest::enterArmsUnlessAPushButtonHasTheFocus() {
    MainWindowUnderTest main;
    main.clock.Set(std::chrono::system_clock::now() - std::chrono::hours(30));
    Show(main);
    MessageBoxScript boxes;

    QWidget* setDefault = main.Find(IDC_SET_DEFAULT_WORK);
    setDefault->setFocus();
    QTest::keyClick(setDefault, Qt::Key_Return);
    QCOMPARE(boxes.shown.size(), std::size_t{1}); // the focused button's own command
    QVERIFY(main.Find(IDC_ARM)->isEnabled());

    QWidget* picker = main.Find(IDC_TIME_WORK);
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Enter);
    QVERIFY(!main.Find(IDC_ARM)->isEnabled()); // IDOK: armed

    // While armed, button 1 is disabled and Enter does nothing.
    main.Host().ShowWindow(ui::kSwShowNormal);
    QTest::keyClick(&main.Window(), Qt::Key_Return);
    QVERIFY(main.Find(IDC_CANCEL_POWER_OFF)->isEnabled());
}

void MainWindowTest::realExitBoxIgnoresEscAndTakesEnterAsYes() {
    MainWindowUnderTest main;
    Show(main);
    QString text;
    QString title;
    bool stayedOnEsc = false;
    WhenModalOpens([&](QWidget& box) {
        text = qobject_cast<QMessageBox*>(&box)->text();
        title = box.windowTitle();
        QTest::keyClick(&box, Qt::Key_Escape);
        stayedOnEsc = box.isVisible();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    QTest::keyClick(&main.Window(), Qt::Key_Escape);

    QCOMPARE(text, kExitQuestion);
    QCOMPARE(title, QStringLiteral("提示"));
    QVERIFY(stayedOnEsc);
    QCOMPARE(main.Host().EndResult(), std::optional<int>(ui::kIdCancel));
    QCOMPARE(main.Stored().mode, IDC_MODE_WORK);
}

void MainWindowTest::realInstructionsBoxIsAWarning() {
    MainWindowUnderTest main;
    Show(main);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    int buttons = 0;
    WhenModalOpens([&](QWidget& widget) {
        auto& box = *qobject_cast<QMessageBox*>(&widget);
        icon = box.icon();
        text = box.text();
        buttons = static_cast<int>(box.buttons().size());
        box.buttons().front()->click();
    });
    Click(main.Find(IDC_INSTRUCTIONS));

    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, 1);
    QCOMPARE(text, QStringLiteral("如果启用此功能,则在关机前30秒内不予取消关机操作,请谨慎使用!"));
    QVERIFY(main.Find<QCheckBox>(IDC_NOTICE_CHECK)->isChecked());
    QVERIFY(!std::filesystem::exists(main.IniPath()));
}

void MainWindowTest::boxOfAHiddenWindowIsCentredOnTheScreen() {
    MainWindowUnderTest main;
    main.Window().move(0, 0); // Qt alone would centre the box on this corner
    QPoint centre;
    WhenModalOpens([&](QWidget& box) {
        centre = box.frameGeometry().center();
        qobject_cast<QMessageBox*>(&box)->buttons().front()->click();
    });
    QCOMPARE(main.Host().MessageBox("x", "y", ui::kMbOk | ui::kMbIconExclamation), ui::kIdOk);
    const QPoint screen = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((centre - screen).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
}

void MainWindowTest::layoutConvertsDialogUnitsWithTheTemplateFont() {
    MainWindowUnderTest main;
    const qt::BaseUnits units = qt::MeasureBaseUnits(main.Window().font());
    QCOMPARE(main.Host().Units(), units);
    // Windows's figures for a 12-pixel dialog font are about 6 x 12; the
    // stand-in font must be in that family of sizes, or the layout is off.
    QVERIFY(units.x >= 5 && units.x <= 9);
    QVERIFY(units.y >= 12 && units.y <= 18);

    QCOMPARE(main.Window().size(), qt::DialogToPixels(222, 213, units));
    QCOMPARE(main.Host().ClientRect(),
             (ui::Rect{0, 0, main.Window().width(), main.Window().height()}));
    QCOMPARE(main.Find(IDC_TIME_WORK)->geometry(), qt::DialogToPixels(87, 83, 55, 14, units));
    // The up-down control takes its room from the right end of its buddy.
    const QRect edit = qt::DialogToPixels(162, 25, 36, 12, units);
    const QRect spin = main.Find(IDC_REFRESH_SPIN)->geometry();
    QCOMPARE(spin.right(), edit.right());
    QCOMPARE(spin.height(), edit.height());
    QCOMPARE(main.Find(IDC_REFRESH_PERIOD)->geometry().right() + 1, spin.left());
}

void MainWindowTest::visibleControlsNeitherOverlapNorClip() {
    MainWindowUnderTest main;
    Show(main);
    std::vector<QWidget*> controls;
    for (QWidget* widget : main.Window().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* frame = qobject_cast<QFrame*>(widget);
        const bool line =
            frame && !qobject_cast<QLabel*>(widget) && frame->frameShape() == QFrame::HLine;
        if (widget->isVisible() && !line && widget->inherits("QGroupBox") == false &&
            !widget->objectName().isEmpty())
            controls.push_back(widget);
    }
    QVERIFY(controls.size() >= 20);
    const QRect client = main.Window().rect();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QVERIFY2(client.contains(controls[i]->geometry()), qPrintable(controls[i]->objectName()));
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                     qPrintable(controls[i]->objectName() + " / " + controls[j]->objectName()));
        // Texts fit their controls: nothing is cut off.
        if (auto* label = qobject_cast<QLabel*>(controls[i]); label && !label->text().isEmpty()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->text()));
        } else if (auto* button = qobject_cast<QAbstractButton*>(controls[i])) {
            const QFontMetrics metrics(button->font());
            const int textWidth = metrics.horizontalAdvance(button->text());
            QVERIFY2(metrics.height() <= button->height(), qPrintable(button->text()));
            if (qobject_cast<QPushButton*>(button)) {
                QVERIFY2(textWidth + 8 <= button->width(), qPrintable(button->text()));
            } else {
                const int indicator = button->style()->pixelMetric(
                    QStyle::PM_ExclusiveIndicatorWidth, nullptr, button);
                QVERIFY2(indicator <= button->height(), qPrintable(button->text()));
                QVERIFY2(indicator + textWidth + 4 <= button->width(), qPrintable(button->text()));
            }
        }
    }
}

void MainWindowTest::hiddenControlsStayHidden() {
    MainWindowUnderTest main;
    Show(main);
    QVERIFY(main.Find(IDC_HIDDEN_CANCEL));
    QVERIFY(!main.Find(IDC_HIDDEN_CANCEL)->isVisible());
    QVERIFY(!main.Find(IDC_SEND_TO_TRAY)->isVisible());
    QVERIFY(main.Find(IDC_ARM)->isVisible());
}

void MainWindowTest::rightClickOffersTheAboutBox() {
    MainWindowUnderTest main;
    Show(main);
    QStringList items;
    QString aboutTitle;
    bool aboutHasIcon = false;
    WhenModalOpens([&](QWidget& popup) {
        auto& menu = *qobject_cast<QMenu*>(&popup);
        for (const QAction* action : menu.actions())
            items << action->text();
        WhenModalOpens([&](QWidget& about) {
            aboutTitle = about.windowTitle();
            for (const QLabel* label : about.findChildren<QLabel*>())
                aboutHasIcon = aboutHasIcon || !label->pixmap().isNull();
            QTest::keyClick(&about, Qt::Key_Escape);
        });
        menu.setActiveAction(menu.actions().front());
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    const QPoint at(20, 20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, main.Window().mapToGlobal(at));
    QApplication::sendEvent(&main.Window(), &event);

    QCOMPARE(items, QStringList{QStringLiteral("关于 Lumivar(&A)...")});
    QTRY_COMPARE(aboutTitle, QStringLiteral("关于 Lumivar"));
    QVERIFY(aboutHasIcon);
    QVERIFY(main.Window().isVisible());
    QVERIFY(!main.Host().EndResult());
}

void MainWindowTest::withoutANotificationAreaTheWindowStaysMinimised() {
    if (QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("this display has a notification area");
    MainWindowUnderTest main;
    Show(main);
    Minimise(main);
    // Sent to the tray, but with no tray it stays in the taskbar.
    QVERIFY(main.Window().isMinimized());
    QVERIFY(main.Window().isVisible());
    QVERIFY(main.Host().IsMinimized());
    main.Host().ShowWindow(ui::kSwShowNormal);
    QVERIFY(!main.Window().isMinimized());
    QVERIFY(main.Window().isVisible());
}

void MainWindowTest::trayDoubleClickRestoresTheWindow() {
    MainWindowUnderTest main;
    Show(main);
    Minimise(main); // sends the window to the tray
    auto* icon = main.Window().findChild<QSystemTrayIcon*>(QStringLiteral("tray:102"));
    QVERIFY(icon);
    QVERIFY(icon->isVisible());
    QCOMPARE(icon->toolTip(), QStringLiteral("Tarnholt定时关机管理程序"));
    QVERIFY(!icon->icon().isNull());

    // The icon's activity comes through the event queue.
    emit icon->activated(QSystemTrayIcon::Trigger); // a single click: nothing
    QCoreApplication::processEvents();
    QVERIFY(main.Window().isMinimized());
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    QCoreApplication::processEvents();
    QVERIFY(!main.Window().isMinimized());
    QVERIFY(main.Window().isVisible());
    QVERIFY(!icon->isVisible());
}

void MainWindowTest::trayIconCarriesTheTrayMenu() {
    MainWindowUnderTest main;
    Show(main);
    Minimise(main);
    auto* icon = main.Window().findChild<QSystemTrayIcon*>(QStringLiteral("tray:102"));
    QVERIFY(icon);
    QMenu* menu = icon->contextMenu();
    QVERIFY(menu);
    QStringList items;
    for (const QAction* action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items, (QStringList{QStringLiteral("显示窗体(&S)"), QStringLiteral("-"),
                                 QStringLiteral("关于程式(&A)"), QStringLiteral("-"),
                                 QStringLiteral("退出程序(&E)")}));
    QCoreApplication::processEvents(); // the window system's word on the minimising first
    menu->actions().front()->trigger();
    QVERIFY(main.Window().isMinimized()); // the command comes after the menu has gone
    QTRY_VERIFY(!main.Window().isMinimized());
    QVERIFY(!icon->isVisible());
}

} // namespace lumivar::test

QTEST_MAIN(lumivar::test::MainWindowTest)
#include "MainWindowTest.moc"
