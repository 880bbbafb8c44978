#pragma once

#include "Clock.h"
#include "WallSecondPacer.h"

#include <QObject>
#include <QTimer>

namespace lumivar::qt {

/// Emits tick() just after each wall-clock second begins. Every delivery
/// re-aims a precise single-shot timer at the next boundary, so drift never
/// builds up and no second is skipped or visited twice by a periodic timer
/// slipping across a boundary.
class WallSecondTimer final : public QObject {
    Q_OBJECT

public:
    explicit WallSecondTimer(QObject* parent = nullptr);
    /// `clock` must outlive the timer.
    explicit WallSecondTimer(const Clock& clock, QObject* parent = nullptr);

    /// Starts, or restarts, pacing from now; the first tick comes at the next
    /// second boundary.
    void Start();
    void Stop();
    bool IsActive() const;

signals:
    void tick();

private:
    void Deliver();

    const Clock& m_clock;
    WallSecondPacer m_pacer;
    QTimer m_timer;
};

} // namespace lumivar::qt
