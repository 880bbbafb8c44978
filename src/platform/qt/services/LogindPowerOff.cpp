#include "LogindPowerOff.h"

#include "DBusText.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>

#include <climits>
#include <utility>

namespace lumivar::qt {
namespace {

const QString kBusDaemon = QStringLiteral("org.freedesktop.DBus");
const QString kAuthorisationRequired =
    QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired");

// CanPowerOff answers at once unless logind hangs; the tick must not hang with it.
constexpr int kCanPowerOffTimeoutMs = 2000;
// libdbus's "no time-out": a password prompt may wait for as long as the user
// takes, and only logind's answer says whether it was refused.
constexpr int kNoTimeout = INT_MAX;

Failure Make(FailureKind kind, const QString& detail) {
    return {kind, OneLine(detail).toStdString()};
}

// What logind's CanPowerOff answer foretells for a request; nothing for "yes".
std::optional<Failure> ForeseenFailure(const QString& answer) {
    const QString detail = QStringLiteral("logind CanPowerOff: ") + answer;
    if (answer == QLatin1String("yes"))
        return std::nullopt;
    if (answer == QLatin1String("challenge"))
        return Make(FailureKind::NeedsAuthorisation, detail);
    if (answer == QLatin1String("na"))
        return Make(FailureKind::NotSupported, detail);
    return Make(FailureKind::Refused, detail);
}

Failure NoSystemBus(const QDBusConnection& bus) {
    return Make(FailureKind::NoSystemBus, Described(bus.lastError()));
}

} // namespace

LogindPowerOff::LogindPowerOff(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus) {}

std::optional<QString> LogindPowerOff::AskCanPowerOff(QDBusError& error) {
    const QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager,
                                                             QStringLiteral("CanPowerOff"));
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCanPowerOffTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error = QDBusError(reply);
        return std::nullopt;
    }
    return reply.arguments().constFirst().toString();
}

void LogindPowerOff::AcquirePowerOffPrivilege() {
    m_interactive = false;
    // Without a bus or an answer the request reports the failure itself.
    if (!m_bus.isConnected())
        return;
    QDBusError error;
    // "challenge": polkit wants a password. Asked interactively, an agent can
    // prompt for it, and a user still at the machine can let the power-off by.
    m_interactive = AskCanPowerOff(error) == QStringLiteral("challenge");
}

void LogindPowerOff::RequestPowerOff() {
    const bool interactive = std::exchange(m_interactive, false);
    if (!m_bus.isConnected()) {
        ReportFailure(NoSystemBus(m_bus));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager,
                                                       QStringLiteral("PowerOff"));
    call << interactive;
    const QDBusPendingCall pending = m_bus.asyncCall(call, interactive ? kNoTimeout : -1);
    auto* watcher = new QDBusPendingCallWatcher(pending, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &LogindPowerOff::FinishRequest);
}

void LogindPowerOff::FinishRequest(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    if (watcher->isError()) {
        // An error sent by logind itself is a refusal; one from the bus daemon
        // or from our own side (no logind, time-out) is a failure to ask.
        const QString sender = watcher->reply().service();
        const QDBusError error = watcher->error();
        FailureKind kind = FailureKind::NoLogind;
        if (!sender.isEmpty() && sender != kBusDaemon)
            kind = error.name() == kAuthorisationRequired ? FailureKind::NeedsAuthorisation
                                                          : FailureKind::Refused;
        ReportFailure(Make(kind, Described(error)));
    }
    emit requestFinished();
}

std::optional<Failure> LogindPowerOff::LikelyRefusal() {
    if (!m_bus.isConnected())
        return NoSystemBus(m_bus);
    QDBusError error;
    const std::optional<QString> answer = AskCanPowerOff(error);
    if (!answer)
        return Make(FailureKind::NoLogind, Described(error));
    return ForeseenFailure(*answer);
}

} // namespace lumivar::qt
