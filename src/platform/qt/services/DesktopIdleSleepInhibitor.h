#pragma once

#include "IdleSleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>

#include <iostream>

namespace lumivar::qt {

/// Holds idle sleep off through the desktop portal on the session bus
/// (Inhibit with the Suspend flag, which GNOME and KDE honour for idle
/// suspend), or, where no portal answers, through a logind "idle" inhibitor
/// on the system bus. Only idle sleep: a sleep the user asks for still comes,
/// and the power-off itself is never held up. When neither answers it says so
/// in one line on `errors` and holds nothing. Each call blocks for at most a
/// few seconds, and only when a service hangs.
class DesktopIdleSleepInhibitor final : public IdleSleepInhibitor {
public:
    /// `errors` must outlive this object.
    explicit DesktopIdleSleepInhibitor(
        const QDBusConnection& sessionBus = QDBusConnection::sessionBus(),
        const QDBusConnection& systemBus = QDBusConnection::systemBus(),
        std::ostream& errors = std::cerr);
    ~DesktopIdleSleepInhibitor() override;
    DesktopIdleSleepInhibitor(const DesktopIdleSleepInhibitor&) = delete;
    DesktopIdleSleepInhibitor& operator=(const DesktopIdleSleepInhibitor&) = delete;

    void Inhibit() override;
    void Release() override;

private:
    bool InhibitThroughPortal(QString& why);
    bool InhibitThroughLogind(QString& why);
    void ClosePortalRequest(const QString& path);

    QDBusConnection m_sessionBus;
    QDBusConnection m_systemBus;
    std::ostream& m_errors;
    QString m_portalRequest;              // while the portal holds sleep off
    QDBusUnixFileDescriptor m_logindLock; // while logind does
    int m_lastToken = 0;
};

} // namespace lumivar::qt
