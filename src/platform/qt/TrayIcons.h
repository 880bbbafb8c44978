#pragma once

#include "DialogHost.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <map>

namespace lumivar::qt {

/// Whether a StatusNotifierItem host (KDE, or GNOME with the AppIndicator
/// extension) shows the notification-area icons; Qt then uses that protocol
/// for them. Asked once, as Qt does.
bool StatusNotifierHostPresent();

/// The mouse message (WM_LBUTTONDBLCLK, WM_RBUTTONDOWN) a tray activation
/// stands for; 0 for one the program does not hear about. Over the
/// StatusNotifierItem protocol Qt never reports a double click, so there a
/// single click stands in for it.
unsigned TrayMouseMessage(QSystemTrayIcon::ActivationReason reason, bool statusNotifier);

/// The notification-area icons of one window, by icon id. An icon delivers
/// its mouse activity to `callback` as (callback message, icon id, mouse
/// message), like the shell's callback message.
class TrayIcons final : public QObject {
    Q_OBJECT

public:
    using Callback = std::function<void(unsigned message, unsigned id, unsigned mouseMessage)>;

    /// `areaLost` runs when the notification area goes away (its panel quit
    /// or crashed) while an icon is on show in it.
    TrayIcons(QObject* parent, Callback callback, std::function<void()> areaLost);

    /// Shows the icon (a second add of the same id keeps one icon).
    void Add(const ui::TrayIconData& data);
    /// Hides the icon; nothing if it is not shown.
    void Delete(const ui::TrayIconData& data);
    /// Whether the icon is on show in a notification area that exists.
    bool Shown(unsigned id) const;

private:
    struct Entry {
        QSystemTrayIcon* icon = nullptr;
        unsigned callbackMessage = 0;
        bool statusNotifier = false;
    };
    void Activated(unsigned id, QSystemTrayIcon::ActivationReason reason);
    void WatchArea();

    Callback m_callback;
    std::function<void()> m_areaLost;
    std::map<unsigned, Entry> m_icons;
    // Qt says nothing when the area goes away, so it is asked while an icon
    // is on show: a window hidden behind the icon would otherwise be lost.
    QTimer* m_areaWatch;
    bool m_areaAvailable = false;
};

} // namespace lumivar::qt
