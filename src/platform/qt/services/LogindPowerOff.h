#pragma once

#include "PowerOff.h"

#include <QDBusConnection>
#include <QObject>

#include <iostream>
#include <optional>

class QDBusPendingCallWatcher;

namespace lumivar::qt {

/// Powers off through systemd-logind (or elogind) on the system bus:
/// org.freedesktop.login1.Manager.PowerOff, not forced, so logind honours the
/// inhibitors, and interactive only where polkit would want a password. A
/// refused or failed request is written as one line on `errors` and reported
/// to the failure handler; the program carries on.
class LogindPowerOff final : public QObject, public PowerOff {
    Q_OBJECT

public:
    /// `errors` must outlive this object.
    explicit LogindPowerOff(const QDBusConnection& bus = QDBusConnection::systemBus(),
                            std::ostream& errors = std::cerr, QObject* parent = nullptr);

    /// Asks logind's CanPowerOff (briefly blocking) and reports an answer that
    /// promises a refusal. Keeps only whether the request that follows should
    /// let polkit ask for a password.
    void AcquirePowerOffPrivilege() override;

    /// Sends the request and returns at once; the reply is handled later on
    /// the event loop, so the window never waits for logind.
    void RequestPowerOff() override;

    /// Asks logind's CanPowerOff, blocking for at most two seconds.
    std::string LikelyRefusal() override;

signals:
    /// The reply to a request has been handled (refusals already reported).
    void requestFinished();

private:
    /// CanPowerOff's answer, or nothing with `error` set.
    std::optional<QString> AskCanPowerOff(QDBusError& error);
    void FinishRequest(QDBusPendingCallWatcher* watcher);
    void Fail(const QString& line, const QString& reason);

    QDBusConnection m_bus;
    std::ostream& m_errors;
    bool m_interactive = false;
};

} // namespace lumivar::qt
