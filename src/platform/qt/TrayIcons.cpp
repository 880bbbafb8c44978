#include "TrayIcons.h"

#include "QtText.h"
#include "ResourceImages.h"
#include "ResourceTemplates.h"
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

unsigned TrayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool statusNotifier,
                          bool ownMenu) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return ui::kWmLButtonDblClk;
    case QSystemTrayIcon::Context:
        // On an XEmbed tray Qt has opened the icon's menu already; a
        // StatusNotifierItem host shows it from D-Bus.
        return ownMenu ? 0 : ui::kWmRButtonDown;
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
    connect(m_areaWatch, &QTimer::timeout, this, &TrayIcons::WatchArea);
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
    entry.statusNotifier = StatusNotifierHostPresent();
    entry.icon->show();
    m_areaAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    m_areaWatch->start();
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
    const unsigned mouse = TrayMouseMessage(reason, entry.statusNotifier, entry.menu != nullptr);
    if (mouse != 0 && entry.callbackMessage != 0 && m_callback)
        m_callback(entry.callbackMessage, id, mouse);
}

} // namespace lumivar::qt
