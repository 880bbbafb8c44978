#include "SessionInstance.h"

#include "DBusText.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <utility>

namespace lumivar::qt {
namespace {

// The AppStream id (res/linux), and its object path as the interface wants it.
const QString kName = QStringLiteral("org.lumivar.lumivar");
const QString kPath = QStringLiteral("/org/lumivar/lumivar");
const QString kInterface = QStringLiteral("org.freedesktop.Application");

// A running copy answers at once; one that does not is hung, and the user
// should not wait long for the window this start then opens.
constexpr int kTimeoutMs = 5000;

} // namespace

SessionInstance::SessionInstance(std::function<void()> bringForward,
                                 const QDBusConnection& sessionBus, std::ostream& errors)
    : m_bringForward(std::move(bringForward)), m_bus(sessionBus), m_errors(errors) {}

bool SessionInstance::HandOverToRunningCopy() {
    // The object first: whoever finds the name then finds the method too.
    if (!m_bus.isConnected() ||
        !m_bus.registerObject(kPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claim =
        m_bus.interface()->registerService(kName, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!claim.isValid() || claim.value() == QDBusConnectionInterface::ServiceRegistered)
        return false;

    QDBusMessage call =
        QDBusMessage::createMethodCall(kName, kPath, kInterface, QStringLiteral("Activate"));
    call << QVariantMap();
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    m_errors << OneLine(QStringLiteral("lumivar: the copy already running did not answer (%1); "
                                       "starting another")
                            .arg(Described(QDBusError(reply))))
                    .toStdString()
             << std::endl;
    return false;
}

void SessionInstance::Activate(const QVariantMap& /*platformData*/) {
    if (m_bringForward)
        m_bringForward();
}

} // namespace lumivar::qt
