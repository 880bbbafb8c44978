#include "WallSecondTimer.h"
#include "FakeClock.h"

#include <QtTest>

#include <vector>

namespace lumivar::qt {
namespace {

using std::chrono::milliseconds;

// A moment `ms` milliseconds into second 1,700,000,000 of the epoch.
WallTime At(long long ms) {
    return WallTime(milliseconds(1'700'000'000'000LL + ms));
}

} // namespace

class WallSecondTimerTest : public QObject {
    Q_OBJECT

private slots:
    void delayAimsJustPastTheNextBoundary_data() {
        QTest::addColumn<qint64>("nowUs"); // since the epoch
        QTest::addColumn<qint64>("delayMs");
        const qint64 second = 1'700'000'000'000'000LL;
        QTest::newRow("on the boundary") << second << qint64(1005);
        QTest::newRow("inside the lead") << second + 2'000 << qint64(1003);
        QTest::newRow("at the aim") << second + 5'000 << qint64(1000);
        QTest::newRow("mid-second") << second + 500'000 << qint64(505);
        QTest::newRow("rounded up, never short") << second + 999'500 << qint64(6);
        QTest::newRow("before 1970") << qint64(-250'000) << qint64(255);
    }

    void delayAimsJustPastTheNextBoundary() {
        QFETCH(qint64, nowUs);
        QFETCH(qint64, delayMs);
        const WallTime now(
            std::chrono::duration_cast<WallTime::duration>(std::chrono::microseconds(nowUs)));
        QCOMPARE(qint64(DelayUntilNextSecond(now).count()), delayMs);
    }

    void pacerTicksOncePerWallSecond() {
        WallSecondPacer pacer;
        QCOMPARE(pacer.Start(At(300)).count(), 705);
        QVERIFY(!pacer.Deliver(At(998)).tick); // early, still in the starting second
        QVERIFY(pacer.Deliver(At(1005)).tick);
        QVERIFY(!pacer.Deliver(At(1900)).tick); // early again: no second tick in 1
        const WallSecondPacer::Step late = pacer.Deliver(At(3400)); // second 2 is gone
        QVERIFY(late.tick);
        QCOMPARE(late.nextDelay.count(), 605);
        QVERIFY(!pacer.Deliver(At(3999)).tick);
        QVERIFY(pacer.Deliver(At(-5000)).tick); // the clock was set back
    }

    void readsTheInjectedClock() {
        test::FakeClock clock(At(990));
        WallSecondTimer timer(clock);
        int ticks = 0;
        connect(&timer, &WallSecondTimer::tick, this, [&] { ++ticks; });
        timer.Start();
        QTest::qWait(1100); // across a real boundary: only the clock given counts
        QCOMPARE(ticks, 0);
        QVERIFY(timer.IsActive());
        clock.Set(At(1002));
        QTRY_COMPARE(ticks, 1);
        QTest::qWait(100);
        QCOMPARE(ticks, 1);
    }

    void ticksInConsecutiveSecondsJustAfterTheBoundary() {
        const SystemClock clock;
        WallSecondTimer timer;
        std::vector<WallTime> ticks;
        connect(&timer, &WallSecondTimer::tick, this, [&] { ticks.push_back(clock.Now()); });
        timer.Start();
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 4, 8000);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const auto since = ticks[i].time_since_epoch();
            const auto second = std::chrono::floor<std::chrono::seconds>(since);
            const auto offset = std::chrono::duration_cast<milliseconds>(since - second);
            qInfo("tick %zu: %lld ms after the boundary", i,
                  static_cast<long long>(offset.count()));
            QVERIFY(offset < milliseconds(200));
            if (i > 0)
                QCOMPARE(second - std::chrono::floor<std::chrono::seconds>(
                                      ticks[i - 1].time_since_epoch()),
                         std::chrono::seconds(1));
        }
    }

    void stopInsideTickEndsTicking() {
        WallSecondTimer timer;
        int ticks = 0;
        connect(&timer, &WallSecondTimer::tick, this, [&] {
            ++ticks;
            timer.Stop();
        });
        timer.Start();
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 3000);
        QVERIFY(!timer.IsActive());
        QTest::qWait(1200);
        QCOMPARE(ticks, 1);
    }
};

} // namespace lumivar::qt

QTEST_GUILESS_MAIN(lumivar::qt::WallSecondTimerTest)
#include "WallSecondTimerTest.moc"
