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
