#pragma once

#include "PowerOff.h"

#include <QDBusConnection>
#include <QObject>

#include <optional>

class QDBusPendingCallWatcher;

namespace lumivar::qt {

/// Powers off through systemd-logind (or elogind) on the system bus:
/// org.freedesktop.login1.Manager.PowerOff, not forced, so logind honours the
/// inhibitors, and interactive only where polkit would want a password. A
/// refused or failed request is reported to the failure handler; the program
/// carries on.
class LogindPowerOff final : public QObject, public PowerOff {
    Q_OBJECT

public:
    explicit LogindPowerOff(const QDBusConnection& bus = QDBusConnection::systemBus(),
                            QObject* parent = nullptr);

    /// Asks logind's CanPowerOff (briefly blocking). Keeps only whether the
    /// request that follows should let polkit ask for a password.
    void AcquirePowerOffPrivilege() override;

    /// Sends the request and returns at once; the reply is handled later on
    /// the event loop, so the window never waits for logind.
    void RequestPowerOff() override;

    /// Asks logind's CanPowerOff, blocking for at most two seconds.
    std::optional<Failure> LikelyRefusal() override;

signals:
    /// The reply to a request has been handled (refusals already reported).
    void requestFinished();

private:
    /// CanPowerOff's answer, or nothing with `error` set.
    std::optional<QString> AskCanPowerOff(QDBusError& error);
    void FinishRequest(QDBusPendingCallWatcher* watcher);

    QDBusConnection m_bus;
    bool m_interactive = false;
};

} // namespace lumivar::qt
