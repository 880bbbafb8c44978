#include "TrayIcons.h"

#include "ResourceImages.h"
#include "WinConstants.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>

#include <algorithm>
#include <chrono>

namespace lumivar::qt {
namespace {

// How soon a window hidden behind its icon comes back once the area is gone.
constexpr std::chrono::seconds kAreaWatchPeriod{1};

} // namespace

bool StatusNotifierHostPresent() {
    static const bool present = [] {
        const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface() ||
            !bus.interface()->isServiceRegistered(watcher).value())
            return false;
        QDBusInterface watcherObject(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher,
                                     bus);
        return watcherObject.property("IsStatusNotifierHostRegistered").toBool();
    }();
    return present;
}

unsigned TrayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool statusNotifier) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return ui::kWmLButtonDblClk;
    case QSystemTrayIcon::Context:
        return ui::kWmRButtonDown;
    case QSystemTrayIcon::Trigger:
        return statusNotifier ? ui::kWmLButtonDblClk : 0;
    default:
        return 0;
    }
}

TrayIcons::TrayIcons(QObject* parent, Callback callback, std::function<void()> areaLost)
    : QObject(parent), m_callback(std::move(callback)), m_areaLost(std::move(areaLost)),
      m_areaWatch(new QTimer(this)) {
    m_areaWatch->setInterval(kAreaWatchPeriod);
    m_areaWatch->setTimerType(Qt::VeryCoarseTimer);
    connect(m_areaWatch, &QTimer::timeout, this, &TrayIcons::WatchArea);
}

void TrayIcons::Add(const ui::TrayIconData& data) {
    Entry& entry = m_icons[data.id];
    if (!entry.icon) {
        entry.icon = new QSystemTrayIcon(this);
        entry.icon->setObjectName(QStringLiteral("tray:%1").arg(data.id));
        const unsigned id = data.id;
        connect(entry.icon, &QSystemTrayIcon::activated, this,
                [this, id](QSystemTrayIcon::ActivationReason reason) { Activated(id, reason); });
        // No context menu of Qt's own: the window opens its menu itself when
        // it hears of the right button.
    }
    entry.callbackMessage = (data.flags & ui::kNifMessage) ? data.callbackMessage : 0;
    if (data.flags & ui::kNifIcon)
        entry.icon->setIcon(LoadIconResource(data.iconId));
    if (data.flags & ui::kNifTip)
        entry.icon->setToolTip(QString::fromStdString(data.tip));
    entry.statusNotifier = StatusNotifierHostPresent();
    entry.icon->show();
    m_areaAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    m_areaWatch->start();
}

void TrayIcons::Delete(const ui::TrayIconData& data) {
    const auto found = m_icons.find(data.id);
    // Hidden, not destroyed: this may run inside the icon's own signal.
    if (found != m_icons.end())
        found->second.icon->hide();
    if (std::none_of(m_icons.begin(), m_icons.end(),
                     [](const auto& icon) { return icon.second.icon->isVisible(); }))
        m_areaWatch->stop();
}

bool TrayIcons::Shown(unsigned id) const {
    const auto found = m_icons.find(id);
    return QSystemTrayIcon::isSystemTrayAvailable() && found != m_icons.end() &&
           found->second.icon->isVisible();
}

void TrayIcons::WatchArea() {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    const bool lost = m_areaAvailable && !available;
    m_areaAvailable = available;
    if (lost && m_areaLost)
        m_areaLost();
}

void TrayIcons::Activated(unsigned id, QSystemTrayIcon::ActivationReason reason) {
    const Entry& entry = m_icons.at(id);
    const unsigned mouse = TrayMouseMessage(reason, entry.statusNotifier);
    if (mouse != 0 && entry.callbackMessage != 0 && m_callback)
        m_callback(entry.callbackMessage, id, mouse);
}

} // namespace lumivar::qt
