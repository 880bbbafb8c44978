#include "DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QVariantMap>

namespace lumivar::qt {

void SendUrgentNotification(const QString& summary, const QString& body) {
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    constexpr unsigned char kCritical = 2;
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(kCritical)},
                            {QStringLiteral("desktop-entry"), QStringLiteral("lumivar")}};
    // Application, no notification to replace, icon, texts, no actions,
    // hints, and the server's own time-out (a critical one stays).
    notify << QStringLiteral("Lumivar") << 0u << QStringLiteral("lumivar") << summary << body
           << QStringList() << hints << -1;
    QDBusConnection::sessionBus().asyncCall(notify);
}

} // namespace lumivar::qt
