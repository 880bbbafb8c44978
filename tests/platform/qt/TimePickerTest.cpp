// The custom slot's picker in the real main window, driven as a user would.
#include "GuiTestSupport.h"
#include "MainDialogIds.h"

#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>

namespace lumivar::test {

class TimePickerTest : public QObject {
    Q_OBJECT

private slots:
    void keysAndClicksWorkTheWindowsWay_data();
    void keysAndClicksWorkTheWindowsWay();
};

static void Row(const char* name, const char* keys, const char* time, int field) {
    QTest::newRow(name) << QString(keys) << QString(time) << field;
}

// keys, from 23:59:59: h m s click that field, + - the arrows, < > ^ v the
// arrow keys, H Home, T Tab, t Shift+Tab, B Backspace; the rest is typed.
// field: the one selected in the focused picker, or the focused control.
void TimePickerTest::keysAndClicksWorkTheWindowsWay_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("field");
    Row("click, Home, digits", "sH073015", "07:30:15", 2);
    Row("a digit waits in its field", "h1>2", "01:02:59", 1);
    Row("out of range starts anew", "h24", "04:59:59", 1);
    Row("the last field stays", "s0512", "23:59:12", 2);
    Row("Left and Right wrap", "s>5<<9", "05:59:09", 2);
    Row("steps wrap one field", "h^s+", "00:59:00", 2);
    Row("steps go down", "mv-", "23:57:59", 1);
    Row("a step ends a number", "h1v2", "02:59:59", 0);
    Row("other text refused", "mx:B", "23:59:59", 1);
    Row("Tab leaves", "mT", "23:59:59", IDC_SET_DEFAULT_USER);
    Row("back to its field", "mTt", "23:59:59", 1);
    Row("Tab in: first field", "tT1", "01:59:59", 0);
}

void TimePickerTest::keysAndClicksWorkTheWindowsWay() {
    QFETCH(QString, keys);
    QFETCH(QString, time);
    QFETCH(int, field);
    MainWindowUnderTest main(
        "[USER]\r\nHour=23\r\nMinute=59\r\nSecond=59\r\n[MODE]\r\nMode=1006\r\n");
    main.Window().show();
    QVERIFY(QTest::qWaitForWindowActive(&main.Window()));
    auto& picker = *main.Find<QTimeEdit>(IDC_TIME_USER);
    QLineEdit& edit = *picker.findChild<QLineEdit*>();
    picker.setFocus();

    const QString special = QStringLiteral("hms+-<>^vHTtB");
    const Qt::Key specialKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,  Qt::Key_Down,
                                   Qt::Key_Home, Qt::Key_Tab,   Qt::Key_Tab, Qt::Key_Backspace};
    for (const QChar key : keys) {
        const auto index = special.indexOf(key);
        int x = 0; // in the middle of the field clicked
        while (index < 3 && x < edit.width() &&
               edit.cursorPositionAt({x, edit.height() / 2}) != 3 * index + 1)
            ++x;
        if (index < 0)
            QTest::keyClicks(QApplication::focusWidget(), key);
        else if (index < 3)
            QTest::mouseClick(&edit, Qt::LeftButton, {}, {x, edit.height() / 2});
        else if (index < 5)
            QTest::mouseClick(&picker, Qt::LeftButton, {},
                              {picker.width() - 4, picker.height() * (index == 3 ? 1 : 3) / 4});
        else
            QTest::keyClick(QApplication::focusWidget(), specialKeys[index - 5],
                            key == u't' ? Qt::ShiftModifier : Qt::NoModifier);
    }

    const TargetTime read = main.Host().PickerTime(IDC_TIME_USER);
    QCOMPARE(QString::asprintf("%02d:%02d:%02d", read.hour, read.minute, read.second), time);
    QCOMPARE(main.Window().focusWidget(), field > 2 ? main.Find(field) : &picker);
    if (field <= 2)
        QCOMPARE(std::pair(edit.selectionStart(), edit.selectionLength()), std::pair(3 * field, 2));
}

} // namespace lumivar::test

QTEST_MAIN(lumivar::test::TimePickerTest)
#include "TimePickerTest.moc"
