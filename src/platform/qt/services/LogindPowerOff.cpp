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

// CanPowerOff answers at once unless logind hangs; the tick must not hang with it.
constexpr int kCanPowerOffTimeoutMs = 2000;
// libdbus's "no time-out": a password prompt may wait for as long as the user
// takes, and only logind's answer says whether it was refused.
constexpr int kNoTimeout = INT_MAX;

} // namespace

LogindPowerOff::LogindPowerOff(const QDBusConnection& bus, std::ostream& errors, QObject* parent)
    : QObject(parent), m_bus(bus), m_errors(errors) {}

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
    // Without a bus or an answer stay silent: the request reports that itself,
    // and one failure should read as one line.
    if (!m_bus.isConnected())
        return;
    QDBusError error;
    const std::optional<QString> answer = AskCanPowerOff(error);
    if (!answer)
        return;
    // "challenge": polkit wants a password. Asked interactively, an agent can
    // prompt for it, and a user still at the machine can let the power-off by.
    m_interactive = *answer == QLatin1String("challenge");
    if (*answer == QLatin1String("yes") || m_interactive)
        return;
    m_errors << QStringLiteral("lumivar: logind will not allow a power-off (CanPowerOff: %1)")
                    .arg(OneLine(*answer))
                    .toStdString()
             << std::endl;
}

void LogindPowerOff::RequestPowerOff() {
    const bool interactive = std::exchange(m_interactive, false);
    if (!m_bus.isConnected()) {
        const QString why = Described(m_bus.lastError());
        Fail(QStringLiteral("lumivar: power-off failed: no system bus: ") + why,
             QStringLiteral("没有系统总线: ") + why);
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
        const QString why = Described(watcher->error());
        if (!sender.isEmpty() && sender != kBusDaemon)
            Fail(QStringLiteral("lumivar: power-off refused by logind: ") + why,
                 QStringLiteral("logind 拒绝了关机请求: ") + why);
        else
            Fail(QStringLiteral("lumivar: power-off failed: ") + why,
                 QStringLiteral("无法联系 logind: ") + why);
    }
    emit requestFinished();
}

std::string LogindPowerOff::LikelyRefusal() {
    if (!m_bus.isConnected())
        return OneLine(QStringLiteral("没有系统总线,无法请求关机 (%1)")
                           .arg(Described(m_bus.lastError())))
            .toStdString();
    QDBusError error;
    const std::optional<QString> answer = AskCanPowerOff(error);
    if (!answer)
        return OneLine(QStringLiteral("无法询问 logind 能否关机 (%1)").arg(Described(error)))
            .toStdString();
    if (*answer == QLatin1String("yes"))
        return {};
    QString meaning;
    if (*answer == QLatin1String("challenge"))
        meaning = QStringLiteral("关机需要管理员密码,到时须有人在场输入");
    else if (*answer == QLatin1String("no"))
        meaning = QStringLiteral("系统不允许本用户关机");
    else if (*answer == QLatin1String("na"))
        meaning = QStringLiteral("本系统不支持关机");
    else
        meaning = QStringLiteral("logind 没有允许关机");
    return OneLine(meaning + QStringLiteral(" (logind CanPowerOff: %1)").arg(*answer))
        .toStdString();
}

void LogindPowerOff::Fail(const QString& line, const QString& reason) {
    m_errors << OneLine(line).toStdString() << std::endl;
    ReportFailure(OneLine(reason).toStdString());
}

} // namespace lumivar::qt
