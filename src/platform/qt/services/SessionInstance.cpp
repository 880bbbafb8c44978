#include "SessionInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>

namespace lumivar::qt {
namespace {

// The AppStream id (res/linux), and its object path as the interface wants it.
const QString kName = QStringLiteral("org.lumivar.lumivar");
const QString kPath = QStringLiteral("/org/lumivar/lumivar");
const QString kInterface = QStringLiteral("org.freedesktop.Application");
const QString kOtherRun = QStringLiteral("org.lumivar.Lumivar.Error.OtherRun");

// The platform data's keys: the desktop's, then the program's own.
const QString kStartupId = QStringLiteral("desktop-startup-id");
const QString kActivationToken = QStringLiteral("activation-token");
const QString kDryRun = QStringLiteral("org.lumivar.dry-run");
const QString kSettingsFile = QStringLiteral("org.lumivar.settings-file");

} // namespace

SessionInstance::SessionInstance(Receiver receiver, const QDBusConnection& sessionBus)
    : m_receiver(std::move(receiver)), m_bus(sessionBus) {}

SessionInstance::Claim SessionInstance::ClaimSession() {
    // The object first: whoever finds the name then finds the method too.
    if (!m_bus.isConnected() ||
        !m_bus.registerObject(kPath, this, QDBusConnection::ExportScriptableSlots))
        return Claim::Alone;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claim =
        m_bus.interface()->registerService(kName, QDBusConnectionInterface::QueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!claim.isValid())
        return Claim::Alone;
    return claim.value() == QDBusConnectionInterface::ServiceRegistered ? Claim::First
                                                                        : Claim::Held;
}

SessionInstance::Answer SessionInstance::HandOver(const ui::StartRequest& request,
                                                  std::chrono::milliseconds patience) {
    // Queued behind a copy that has ended meanwhile: the name is this one's.
    const auto ours = [this] {
        return m_bus.interface()->serviceOwner(kName).value() == m_bus.baseService();
    };
    if (ours())
        return Answer::Gone;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kName, kPath, kInterface, QStringLiteral("Activate"));
    call << PlatformData(request);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, static_cast<int>(patience.count()));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Answer::CameForward;
    if (reply.errorName() == kOtherRun)
        return Answer::OtherRun;
    return ours() ? Answer::Gone : Answer::NoAnswer;
}

QVariantMap SessionInstance::PlatformData(const ui::StartRequest& request) {
    QVariantMap data{{kDryRun, request.dryRun},
                     {kSettingsFile, QFile::decodeName(request.settingsFile.c_str())}};
    if (!request.startupId.empty())
        data.insert(kStartupId, QString::fromStdString(request.startupId));
    if (!request.activationToken.empty())
        data.insert(kActivationToken, QString::fromStdString(request.activationToken));
    return data;
}

ui::StartRequest SessionInstance::FromPlatformData(const QVariantMap& platformData) {
    return {platformData.value(kDryRun).toBool(),
            QFile::encodeName(platformData.value(kSettingsFile).toString()).toStdString(),
            platformData.value(kStartupId).toString().toStdString(),
            platformData.value(kActivationToken).toString().toStdString()};
}

void SessionInstance::Activate(const QVariantMap& platformData) {
    const ui::StartRequest request = FromPlatformData(platformData);
    const bool sameRun =
        !platformData.contains(kSettingsFile) || !m_receiver.accepts || m_receiver.accepts(request);
    if (!sameRun && calledFromDBus())
        sendErrorReply(kOtherRun, QStringLiteral("this copy runs otherwise"));
    // After the answer has gone: the window may then open a box.
    QMetaObject::invokeMethod(
        this,
        [this, request, sameRun] {
            if (m_receiver.arrived)
                m_receiver.arrived(request, sameRun);
        },
        Qt::QueuedConnection);
}

} // namespace lumivar::qt
