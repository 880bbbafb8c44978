// The countdown window on the real Qt host: its size, flags and placement,
// its picture and countdown line, its keys and closing, its owner, and the
// schedule tick that opens it.
#include "GuiTestSupport.h"
#include "MainDialogIds.h"
#include "ResourceIds.h"
#include "ResourceImages.h"

#include <QScreen>
#include <QTest>
#include <QTimeEdit>

namespace lumivar::test {
namespace {

qt::QtDialogHost& OpenNotice(MainWindowUnderTest& main) {
    ui::DialogHost* notice = main.Host().CreateModeless(std::make_unique<ui::CShowDlg>());
    if (!notice)
        qFatal("no countdown window");
    return *static_cast<qt::QtDialogHost*>(notice);
}

// Placed and shown as its creator does; true once it is on the screen.
bool ShowAt(qt::QtDialogHost& notice, int x, int y) {
    const ui::Rect rect = notice.WindowRect();
    notice.SetWindowPosTopmost(x, y, rect.Width(), rect.Height(), ui::kSwpShowWindow);
    return QTest::qWaitForWindowExposed(&notice.Window());
}

// Pixels of `shot` that differ from the picture, inside `area`.
int DiffersFromPicture(const QImage& shot, QRect area) {
    const QImage picture = qt::LoadBitmapResource(IDB_NOTICE).toImage();
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            differing += shot.pixel(x, y) != picture.pixel(x, y);
    return differing;
}

QImage Shot(qt::QtDialogHost& notice) {
    return notice.Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QRect kCountdownLine(100, 120, 90, 14); // where "离关机还有 29 秒" goes

} // namespace

class NoticeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void createdHiddenAtThePicturesSize();
    void placedTopmostAndShownByItsCreator();
    void paintsThePictureUnscaledAndTheCountdownLine();
    void escHidesButTheCountGoesOn();
    void enterLeavesItShown();
    void closeStopsItsTimer();
    void theLastTickEndsIt();
    void destroyedWithTheMainWindow();
    void scheduleTickOpensItCentredThenPowersOff();
};

void NoticeWindowTest::createdHiddenAtThePicturesSize() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    const ui::Rect rect = notice.WindowRect();
    QCOMPARE(rect.Width(), 313);
    QCOMPARE(rect.Height(), 198);
    QCOMPARE(notice.Window().size(), QSize(313, 198));
    QVERIFY(!notice.Window().isVisible());
    const Qt::WindowFlags flags = notice.Window().windowFlags();
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);          // no taskbar button
    QCOMPARE(notice.Window().parentWidget(), &main.Window()); // owned by the main window
    QWidget* count = notice.Window().findChild<QWidget*>(QStringLiteral("1011"));
    QVERIFY(count);
    QVERIFY(count->isHidden());
}

void NoticeWindowTest::placedTopmostAndShownByItsCreator() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    QVERIFY(ShowAt(notice, 120, 80));
    QVERIFY(notice.Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(notice.Window().windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(notice.Window().pos(), QPoint(120, 80));
    QCOMPARE(notice.Window().size(), QSize(313, 198));
}

void NoticeWindowTest::paintsThePictureUnscaledAndTheCountdownLine() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    QVERIFY(ShowAt(notice, 0, 0));

    QImage shot = Shot(notice);
    // Away from the texts, the window is the picture pixel for pixel.
    QCOMPARE(DiffersFromPicture(shot, QRect(250, 30, 60, 40)), 0);
    QCOMPARE(DiffersFromPicture(shot, QRect(0, 150, 100, 45)), 0);
    // The fixed texts are painted; the countdown line is not there yet.
    QVERIFY(DiffersFromPicture(shot, QRect(20, 80, 200, 22)) > 50);
    QVERIFY(DiffersFromPicture(shot, QRect(13, 16, 60, 14)) > 20);
    QCOMPARE(DiffersFromPicture(shot, kCountdownLine), 0);

    QTRY_COMPARE_WITH_TIMEOUT(ui::g_secondsLeft, 29, 2000);
    QCOMPARE(ui::g_countdownText, std::string("离关机还有 29 秒"));
    QTRY_VERIFY(DiffersFromPicture(Shot(notice), kCountdownLine) > 20);
    // A repaint between ticks keeps the line.
    notice.Window().repaint();
    QVERIFY(DiffersFromPicture(Shot(notice), kCountdownLine) > 20);
}

void NoticeWindowTest::escHidesButTheCountGoesOn() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    QVERIFY(ShowAt(notice, 0, 0));
    ui::g_secondsLeft = 12;
    QTest::keyClick(&notice.Window(), Qt::Key_Escape);
    QVERIFY(!notice.Window().isVisible());
    QCOMPARE(ui::g_secondsLeft, 30);
    QTRY_COMPARE_WITH_TIMEOUT(ui::g_secondsLeft, 29, 2000); // its timer runs on
}

void NoticeWindowTest::enterLeavesItShown() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    QVERIFY(ShowAt(notice, 0, 0));
    QTest::keyClick(&notice.Window(), Qt::Key_Return);
    QVERIFY(notice.Window().isVisible());
    QVERIFY(!notice.EndResult());
}

void NoticeWindowTest::closeStopsItsTimer() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    QVERIFY(ShowAt(notice, 0, 0));
    ui::g_secondsLeft = 12;
    notice.Window().close();
    QVERIFY(!notice.Window().isVisible());
    QCOMPARE(ui::g_secondsLeft, 30);
    QTest::qWait(1200); // a running timer would have ticked by now
    QCOMPARE(ui::g_secondsLeft, 30);
}

void NoticeWindowTest::theLastTickEndsIt() {
    MainWindowUnderTest main;
    qt::QtDialogHost& notice = OpenNotice(main);
    QVERIFY(ShowAt(notice, 0, 0));
    ui::g_secondsLeft = 1;
    QTRY_VERIFY_WITH_TIMEOUT(!notice.Window().isVisible(), 2000);
    QCOMPARE(ui::g_countdownText, std::string("离关机还有 0 秒"));
    QCOMPARE(ui::g_secondsLeft, 30);
}

void NoticeWindowTest::destroyedWithTheMainWindow() {
    MainWindowUnderTest main;
    const QPointer<QWidget> notice = &OpenNotice(main).Window();
    main.ResetHost();
    QVERIFY(notice.isNull());
}

void NoticeWindowTest::scheduleTickOpensItCentredThenPowersOff() {
    MainWindowUnderTest main(
        "[MODE]\r\nMode=1006\r\n[USER]\r\nHour=10\r\nMinute=0\r\nSecond=30\r\n");
    main.Window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&main.Window()));
    // Any date will do: only the time of day counts.
    const WallTime base = std::chrono::system_clock::now();
    const LocalTime local = ToLocalTime(base);
    const auto atTimeOfDay = [&](int hour, int minute, int second) {
        return base + std::chrono::seconds((hour - local.hour) * 3600 +
                                           (minute - local.minute) * 60 + (second - local.second));
    };
    main.clock.Set(atTimeOfDay(10, 0, 0)); // thirty seconds before the target
    QTest::mouseClick(main.Find(IDC_ARM), Qt::LeftButton);

    QWidget* notice = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (notice = main.Window().findChild<QWidget*>(QStringLiteral("dialog132"))) != nullptr, 2000);
    QTRY_VERIFY(notice->isVisible());
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(notice->pos(), QPoint((screen.width() - 313) / 2, (screen.height() - 198) / 2));
    QVERIFY(!main.Find(IDC_CANCEL_POWER_OFF)->isEnabled());
    QVERIFY(main.powerOff.calls.empty());

    main.clock.Set(atTimeOfDay(10, 0, 30));
    QTRY_VERIFY_WITH_TIMEOUT(
        (main.powerOff.calls == std::vector<std::string>{"privilege", "request"}), 2000);
    QVERIFY(main.Find(IDC_ARM)->isEnabled());
    QVERIFY(!main.Find(IDC_CANCEL_POWER_OFF)->isEnabled());
}

} // namespace lumivar::test

QTEST_MAIN(lumivar::test::NoticeWindowTest)
#include "NoticeWindowTest.moc"
