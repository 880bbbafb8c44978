#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>
#include <iostream>

namespace lumivar::qt {

/// One copy of the program per desktop session: the copy that owns the name
/// org.lumivar.lumivar on the session bus answers Activate there (the one
/// method of org.freedesktop.Application the program has a use for) by
/// bringing its main window forward; a later start asks it to and ends.
class SessionInstance final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    /// `bringForward` runs in this object's thread for each Activate;
    /// `errors` must outlive this object.
    explicit SessionInstance(std::function<void()> bringForward,
                             const QDBusConnection& sessionBus = QDBusConnection::sessionBus(),
                             std::ostream& errors = std::cerr);

    /// Takes the name for this process's life, or, when a running copy owns
    /// it, asks that copy to come forward. True when the running copy
    /// answered and this start has nothing more to do; false to run, also
    /// with no session bus or with a copy that does not answer in time.
    bool HandOverToRunningCopy();

public slots:
    /// The platform data (a startup id or activation token) is not used.
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

private:
    std::function<void()> m_bringForward;
    QDBusConnection m_bus;
    std::ostream& m_errors;
};

} // namespace lumivar::qt
