#pragma once

#include "DialogHost.h"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

namespace lumivar::qt {

/// Whether a StatusNotifierItem host (KDE, or GNOME with the AppIndicator
/// extension) shows the notification-area icons; Qt then uses that protocol
/// for them. Asked once, as Qt does, and waiting half a second at most.
bool StatusNotifierHostPresent();

/// The mouse message (WM_LBUTTONDBLCLK, WM_RBUTTONDOWN) a tray activation
/// stands for; 0 for one the program does not hear about. Over the
/// StatusNotifierItem protocol Qt never reports a double click, so there a
/// single click stands in for it. An icon with a menu of its own shows it on
/// the right button on an XEmbed tray, so the window does not hear of that
/// button there; a StatusNotifierItem host that asks for the menu
/// (swaybar) gets it from the window.
unsigned TrayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool statusNotifier,
                          bool ownMenu);

/// Fills `menu` with popup `popupIndex` of menu resource `menuId`: an action
/// per item, with its command id as data, and the separators. False if the
/// resource has no such popup.
bool LoadPopupMenu(QMenu& menu, int menuId, int popupIndex);

/// The notification-area icons of one window, by icon id. An icon delivers
/// its mouse activity to `callback` as (callback message, icon id, mouse
/// message), like the shell's callback message, and the item chosen in the
/// menu it carries to `command`.
class TrayIcons final : public QObject {
    Q_OBJECT

public:
    using Callback = std::function<void(unsigned message, unsigned id, unsigned mouseMessage)>;

    /// `areaLost` runs when the notification area goes away (its panel quit
    /// or crashed) while an icon is on show in it.
    TrayIcons(QObject* parent, Callback callback, std::function<void(int id)> command,
              std::function<void()> areaLost);

    /// Shows the icon (a second add of the same id keeps one icon).
    void Add(const ui::TrayIconData& data);
    /// Hides the icon; nothing if it is not shown.
    void Delete(const ui::TrayIconData& data);
    /// Whether the icon is on show in a notification area that exists.
    bool Shown(unsigned id) const;
    /// Whether any icon is.
    bool AnyShown() const;

private slots:
    void AskWhetherHostRegistered();

private:
    struct Entry {
        // Qt does not own an icon's menu; the icon is destroyed first, as it
        // refers to the menu.
        std::unique_ptr<QMenu> menu;
        std::unique_ptr<QSystemTrayIcon> icon;
        unsigned callbackMessage = 0;
    };
    void Activated(unsigned id, QSystemTrayIcon::ActivationReason reason);
    void CarryMenu(Entry& entry, const ui::TrayIconData& data);
    void FollowStatusNotifierHost();
    void AreaChanged(bool available);
    bool AnyVisible() const;

    Callback m_callback;
    std::function<void(int id)> m_command;
    std::function<void()> m_areaLost;
    std::map<unsigned, Entry> m_icons;
    bool m_protocolKnown = false;
    bool m_statusNotifier = false;
    // Qt says nothing when the area goes away, so it is followed while an
    // icon is on show: a window hidden behind the icon would otherwise be
    // lost. An XEmbed tray is asked every second (of the X server, which
    // answers at once); a StatusNotifierItem host is followed over D-Bus.
    QTimer* m_areaWatch;
    bool m_areaAvailable = false;
};

} // namespace lumivar::qt
