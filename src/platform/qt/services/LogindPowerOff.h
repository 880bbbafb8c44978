#pragma once

#include "PowerOff.h"

#include <QDBusConnection>
#include <QObject>

#include <iostream>

class QDBusPendingCallWatcher;

namespace lumivar {

/// Powers off through systemd-logind (or elogind) on the system bus:
/// org.freedesktop.login1.Manager.PowerOff(false), so not interactive, not
/// forced, and logind honours the inhibitors. A refused or failed request is
/// written as one line on `errors`; the program carries on.
class LogindPowerOff final : public QObject, public PowerOff {
    Q_OBJECT

public:
    /// `errors` must outlive this object.
    explicit LogindPowerOff(const QDBusConnection& bus = QDBusConnection::systemBus(),
                            std::ostream& errors = std::cerr, QObject* parent = nullptr);

    /// Asks logind's CanPowerOff (briefly blocking) and reports an answer that
    /// promises a refusal. Keeps nothing: the request asks logind afresh.
    void AcquirePowerOffPrivilege() override;

    /// Sends the request and returns at once; the reply is handled later on
    /// the event loop, so the window never waits for logind.
    void RequestPowerOff() override;

signals:
    /// The reply to a request has been handled (refusals already written).
    void requestFinished();

private:
    void finishRequest(QDBusPendingCallWatcher* watcher);
    void reportLine(const QString& line);

    QDBusConnection m_bus;
    std::ostream& m_errors;
};

} // namespace lumivar
