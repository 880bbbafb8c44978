#pragma once

#include "SecondStart.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QVariantMap>

#include <functional>

namespace lumivar::qt {

/// One copy of the program per desktop session, over the session bus: the
/// copy that owns the name org.lumivar.lumivar answers Activate there (the
/// one method of org.freedesktop.Application the program has a use for),
/// whose platform data carries, besides the desktop's launch tokens, how
/// the new start would run. Later starts queue for the name, so that the
/// next of them takes it over when the running copy ends.
class SessionInstance final : public QObject, protected QDBusContext, public ui::SessionCopy {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    /// What this copy does for a new start, in this object's thread.
    struct Receiver {
        /// Whether the new start runs as this copy does; no window shows.
        std::function<bool(const ui::StartRequest&)> accepts;
        /// Once the new start has its answer.
        std::function<void(const ui::StartRequest&, bool sameRun)> arrived;
    };

    explicit SessionInstance(Receiver receiver,
                             const QDBusConnection& sessionBus = QDBusConnection::sessionBus());

    Claim ClaimSession() override;
    Answer HandOver(const ui::StartRequest& request, std::chrono::milliseconds patience) override;

    /// The platform data a new start sends, and back.
    static QVariantMap PlatformData(const ui::StartRequest& request);
    static ui::StartRequest FromPlatformData(const QVariantMap& platformData);

public slots:
    /// Without the program's own keys (an activation from elsewhere) the
    /// window just comes forward. A new start that runs otherwise gets the
    /// error org.lumivar.Lumivar.Error.OtherRun.
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

private:
    Receiver m_receiver;
    QDBusConnection m_bus;
};

} // namespace lumivar::qt
