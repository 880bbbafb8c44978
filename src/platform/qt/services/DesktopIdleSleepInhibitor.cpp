#include "DesktopIdleSleepInhibitor.h"

#include "DBusText.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

#include <utility>

namespace lumivar::qt {
namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// Shown by the desktop where it lists what keeps the machine awake.
const QString kReason = QStringLiteral("等待定时关机");

// Arming waits for these answers; a service that hangs must not hang the window.
constexpr int kTimeoutMs = 2000;
constexpr uint kPortalSuspend = 4;

} // namespace

DesktopIdleSleepInhibitor::DesktopIdleSleepInhibitor(const QDBusConnection& sessionBus,
                                                     const QDBusConnection& systemBus,
                                                     std::ostream& errors)
    : m_sessionBus(sessionBus), m_systemBus(systemBus), m_errors(errors) {}

DesktopIdleSleepInhibitor::~DesktopIdleSleepInhibitor() {
    Release();
}

void DesktopIdleSleepInhibitor::Inhibit() {
    if (!m_portalRequest.isEmpty() || m_logindLock.isValid())
        return;
    QString portalWhy, logindWhy;
    if (InhibitThroughPortal(portalWhy) || InhibitThroughLogind(logindWhy))
        return;
    const QString line = QStringLiteral("lumivar: idle sleep is not held off while armed "
                                        "(desktop portal: %1; logind: %2)")
                             .arg(portalWhy, logindWhy);
    m_errors << OneLine(line).toStdString() << std::endl;
}

void DesktopIdleSleepInhibitor::Release() {
    if (!m_portalRequest.isEmpty())
        ClosePortalRequest(std::exchange(m_portalRequest, QString()));
    m_logindLock = QDBusUnixFileDescriptor(); // the last copy closes it, ending the inhibitor
}

bool DesktopIdleSleepInhibitor::InhibitThroughPortal(QString& why) {
    if (!m_sessionBus.isConnected()) {
        why = QStringLiteral("no session bus: ") + Described(m_sessionBus.lastError());
        return false;
    }
    // The token fixes the request's path before the portal answers, so a hold
    // that the portal makes after we stopped waiting can still be ended.
    const QString token = QStringLiteral("lumivar_%1").arg(++m_lastToken);
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortal, kPortalPath, QStringLiteral("org.freedesktop.portal.Inhibit"),
        QStringLiteral("Inhibit"));
    call << QString() << kPortalSuspend
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("reason"), kReason}};
    const QDBusMessage reply = m_sessionBus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        m_portalRequest = reply.arguments().constFirst().value<QDBusObjectPath>().path();
        if (!m_portalRequest.isEmpty())
            return true;
    }
    const QDBusError error(reply);
    if (error.type() == QDBusError::NoReply) {
        QString sender = m_sessionBus.baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        ClosePortalRequest(kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') +
                           token);
    }
    why = Described(error);
    return false;
}

bool DesktopIdleSleepInhibitor::InhibitThroughLogind(QString& why) {
    if (!m_systemBus.isConnected()) {
        why = QStringLiteral("no system bus: ") + Described(m_systemBus.lastError());
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager,
                                                       QStringLiteral("Inhibit"));
    // "idle" alone: a "sleep" or "shutdown" block would stop the user's own
    // suspend and the power-off this program is waiting to make.
    call << QStringLiteral("idle") << QStringLiteral("Lumivar") << kReason
         << QStringLiteral("block");
    const QDBusMessage reply = m_systemBus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        m_logindLock = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
        if (m_logindLock.isValid())
            return true;
        why = QStringLiteral("no file descriptor in the reply");
        return false;
    }
    why = Described(QDBusError(reply));
    return false;
}

// Nobody waits for the answer: a request already gone needs no closing.
void DesktopIdleSleepInhibitor::ClosePortalRequest(const QString& path) {
    m_sessionBus.send(QDBusMessage::createMethodCall(
        kPortal, path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Close")));
}

} // namespace lumivar::qt
