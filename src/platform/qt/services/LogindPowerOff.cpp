#include "LogindPowerOff.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>

namespace lumivar {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kBusDaemon = QStringLiteral("org.freedesktop.DBus");

// CanPowerOff answers at once unless logind hangs; the tick must not hang with it.
constexpr int kCanPowerOffTimeoutMs = 2000;

QString Described(const QDBusError& error) {
    return error.name() + QStringLiteral(": ") + error.message();
}

} // namespace

LogindPowerOff::LogindPowerOff(const QDBusConnection& bus, std::ostream& errors, QObject* parent)
    : QObject(parent), m_bus(bus), m_errors(errors) {}

void LogindPowerOff::AcquirePowerOffPrivilege() {
    // Without a bus or an answer stay silent: the request reports that itself,
    // and one failure should read as one line.
    if (!m_bus.isConnected())
        return;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kManager, QStringLiteral("CanPowerOff"));
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCanPowerOffTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return;
    const QString answer = reply.arguments().constFirst().toString();
    // "challenge" means polkit would ask for a password; the request is not
    // interactive, but an agent or a rule may still let it through.
    if (answer == QLatin1String("yes") || answer == QLatin1String("challenge"))
        return;
    reportLine(
        QStringLiteral("lumivar: logind will not allow a power-off (CanPowerOff: %1)").arg(answer));
}

void LogindPowerOff::RequestPowerOff() {
    if (!m_bus.isConnected()) {
        reportLine(QStringLiteral("lumivar: power-off failed: no system bus: ") +
                   Described(m_bus.lastError()));
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kManager, QStringLiteral("PowerOff"));
    call << false; // not interactive: no password prompt from a timer tick
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &LogindPowerOff::finishRequest);
}

void LogindPowerOff::finishRequest(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    if (watcher->isError()) {
        // An error sent by logind itself is a refusal; one from the bus daemon
        // or from our own side (no logind, time-out) is a failure to ask.
        const QString sender = watcher->reply().service();
        const bool fromLogind = !sender.isEmpty() && sender != kBusDaemon;
        reportLine((fromLogind ? QStringLiteral("lumivar: power-off refused by logind: ")
                               : QStringLiteral("lumivar: power-off failed: ")) +
                   Described(watcher->error()));
    }
    emit requestFinished();
}

void LogindPowerOff::reportLine(const QString& line) {
    QString text = line;
    // The message comes from another process: keep it to the one line.
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_errors << text.toStdString() << std::endl;
}

} // namespace lumivar
