#include "WallSecondTimer.h"

namespace lumivar::qt {
namespace {

const Clock& DefaultClock() {
    static const SystemClock clock;
    return clock;
}

} // namespace

WallSecondTimer::WallSecondTimer(QObject* parent) : WallSecondTimer(DefaultClock(), parent) {}

WallSecondTimer::WallSecondTimer(const Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer); // a coarse one may be 5 % early or late
    connect(&m_timer, &QTimer::timeout, this, &WallSecondTimer::Deliver);
}

void WallSecondTimer::Start() {
    m_timer.start(m_pacer.Start(m_clock.Now()));
}

void WallSecondTimer::Stop() {
    m_timer.stop();
}

bool WallSecondTimer::IsActive() const {
    return m_timer.isActive();
}

void WallSecondTimer::Deliver() {
    if (m_pacer.Deliver(m_clock.Now(),
                        [this](std::chrono::milliseconds delay) { m_timer.start(delay); }))
        emit tick();
}

} // namespace lumivar::qt
