#include "TrayIcons.h"

#include "QtText.h"
#include "ResourceImages.h"
#include "ResourceTemplates.h"
#include "WinConstants.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <algorithm>
#include <chrono>

namespace lumivar::qt {
namespace {

// How soon a window hidden behind its icon comes back once an XEmbed tray
// is gone.
constexpr std::chrono::seconds kAreaWatchPeriod{1};

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
// The window thread also runs the schedule's tick: a hung panel may hold
// it up no longer than this.
constexpr int kWatcherTimeoutMs = 500;

QDBusMessage HostRegisteredQuestion() {
    QDBusMessage question = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    question << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    return question;
}

bool HostRegistered(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace

bool StatusNotifierHostPresent() {
    static const bool present = [] {
        QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.isConnected() &&
               HostRegistered(bus.call(HostRegisteredQuestion(), QDBus::Block, kWatcherTimeoutMs));
    }();
    return present;
}

unsigned TrayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool statusNotifier,
                          bool ownMenu) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return ui::kWmLButtonDblClk;
    case QSystemTrayIcon::Context:
        // On an XEmbed tray Qt has opened the icon's menu already. Most
        // StatusNotifierItem hosts show the exported menu themselves and never
        // ask; one that asks (swaybar) wants the program to open it.
        return ownMenu && !statusNotifier ? 0 : ui::kWmRButtonDown;
    case QSystemTrayIcon::Trigger:
        return statusNotifier ? ui::kWmLButtonDblClk : 0;
    default:
        return 0;
    }
}

bool LoadPopupMenu(QMenu& menu, int menuId, int popupIndex) {
    const ui::MenuTemplate* source = ui::FindMenuTemplate(menuId);
    if (!source || popupIndex < 0 || static_cast<std::size_t>(popupIndex) >= source->popups.size())
        return false;
    for (const ui::MenuItemTemplate& item :
         source->popups[static_cast<std::size_t>(popupIndex)].items) {
        if (item.id == 0)
            menu.addSeparator();
        else
            menu.addAction(FromUtf8(item.text))->setData(item.id);
    }
    return true;
}

TrayIcons::TrayIcons(QObject* parent, Callback callback, std::function<void(int id)> command,
                     std::function<void()> areaLost)
    : QObject(parent), m_callback(std::move(callback)), m_command(std::move(command)),
      m_areaLost(std::move(areaLost)), m_areaWatch(new QTimer(this)) {
    m_areaWatch->setInterval(kAreaWatchPeriod);
    m_areaWatch->setTimerType(Qt::VeryCoarseTimer);
    connect(m_areaWatch, &QTimer::timeout, this,
            [this] { AreaChanged(QSystemTrayIcon::isSystemTrayAvailable()); });
}

void TrayIcons::Add(const ui::TrayIconData& data) {
    Entry& entry = m_icons[data.id];
    if (!entry.icon) {
        entry.icon = std::make_unique<QSystemTrayIcon>(this);
        entry.icon->setObjectName(QStringLiteral("tray:%1").arg(data.id));
        const unsigned id = data.id;
        connect(entry.icon.get(), &QSystemTrayIcon::activated, this,
                [this, id](QSystemTrayIcon::ActivationReason reason) { Activated(id, reason); });
        CarryMenu(entry, data);
    }
    entry.callbackMessage = (data.flags & ui::kNifMessage) ? data.callbackMessage : 0;
    if (data.flags & ui::kNifIcon)
        entry.icon->setIcon(LoadIconResource(data.iconId));
    if (data.flags & ui::kNifTip)
        entry.icon->setToolTip(QString::fromStdString(data.tip));
    if (!m_protocolKnown) {
        // Qt picks the protocol once, as this does.
        m_protocolKnown = true;
        m_statusNotifier = StatusNotifierHostPresent();
        m_areaAvailable = m_statusNotifier;
        if (m_statusNotifier)
            FollowStatusNotifierHost();
    }
    entry.icon->show();
    if (!m_statusNotifier) {
        m_areaAvailable = QSystemTrayIcon::isSystemTrayAvailable();
        m_areaWatch->start();
    }
}

// Asking Qt whether the area exists would ask the watcher, and wait for it,
// on every call. The host is followed through the bus instead: the watcher's
// name changing owner, and the host's comings and goings, each answered by a
// question that nothing waits for.
void TrayIcons::FollowStatusNotifierHost() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    auto* owner =
        new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty())
                    AreaChanged(false);
                else
                    AskWhetherHostRegistered();
            });
    // From any sender: naming the watcher would make Qt look up its owner first.
    for (const QString& signal : {QStringLiteral("StatusNotifierHostRegistered"),
                                  QStringLiteral("StatusNotifierHostUnregistered")})
        bus.connect(QString(), kWatcherPath, kWatcher, signal, this,
                    SLOT(AskWhetherHostRegistered()));
}

void TrayIcons::AskWhetherHostRegistered() {
    auto* answer = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(HostRegisteredQuestion(), kWatcherTimeoutMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                // A watcher too busy to answer says nothing either way.
                if (call->isError() && call->error().type() == QDBusError::NoReply)
                    return;
                AreaChanged(HostRegistered(call->reply()));
            });
}

// The menu travels with the icon, before it is shown: most StatusNotifierItem
// hosts read it over D-Bus (dbusmenu) and never ask the program to open one.
void TrayIcons::CarryMenu(Entry& entry, const ui::TrayIconData& data) {
    if (data.menuId == 0)
        return;
    auto menu = std::make_unique<QMenu>();
    if (!LoadPopupMenu(*menu, data.menuId, data.menuPopup))
        return;
    connect(menu.get(), &QMenu::triggered, this, [this](const QAction* action) {
        if (m_command)
            m_command(action->data().toInt());
    });
    entry.icon->setContextMenu(menu.get());
    entry.menu = std::move(menu);
}

void TrayIcons::Delete(const ui::TrayIconData& data) {
    const auto found = m_icons.find(data.id);
    // Hidden, not destroyed: this may run inside the icon's own signal.
    if (found != m_icons.end())
        found->second.icon->hide();
    if (!AnyVisible())
        m_areaWatch->stop();
}

bool TrayIcons::Shown(unsigned id) const {
    const auto found = m_icons.find(id);
    return m_areaAvailable && found != m_icons.end() && found->second.icon->isVisible();
}

bool TrayIcons::AnyVisible() const {
    return std::any_of(m_icons.begin(), m_icons.end(),
                       [](const auto& icon) { return icon.second.icon->isVisible(); });
}

bool TrayIcons::AnyShown() const {
    return m_areaAvailable && AnyVisible();
}

void TrayIcons::AreaChanged(bool available) {
    const bool lost = m_areaAvailable && !available;
    m_areaAvailable = available;
    if (lost && AnyVisible() && m_areaLost)
        m_areaLost();
}

void TrayIcons::Activated(unsigned id, QSystemTrayIcon::ActivationReason reason) {
    const Entry& entry = m_icons.at(id);
    const unsigned mouse = TrayMouseMessage(reason, m_statusNotifier, entry.menu != nullptr);
    if (mouse == 0 || entry.callbackMessage == 0 || !m_callback)
        return;
    // Through the event queue, as the shell posts its callback message: a
    // menu opened from it must not keep the host's D-Bus call waiting.
    QMetaObject::invokeMethod(
        this,
        [this, message = entry.callbackMessage, id, mouse] { m_callback(message, id, mouse); },
        Qt::QueuedConnection);
}

} // namespace lumivar::qt
