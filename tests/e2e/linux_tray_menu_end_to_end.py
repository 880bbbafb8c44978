#!/usr/bin/python3
"""End to end, the tray icon's menu: on an XEmbed tray (trayer) one right click
opens one menu, whose 显示窗体 brings the armed window back; on a
StatusNotifierItem host (gtk-sni-tray-standalone and status-notifier-watcher)
the icon exports that menu over dbusmenu, and 显示窗体 clicked over D-Bus
brings the window back.

Usage: linux_tray_menu_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import sys
import time

import dbus

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import arm_with_enter, exit_with_yes, main_window, write_setup  # noqa: E402
from x11_session import e2e_session, wait_for  # noqa: E402

WATCHER = "org.kde.StatusNotifierWatcher"
ITEMS = ["显示窗体(_S)", "-", "关于程式(_A)", "-", "退出程序(_E)"]


def main(program):
    with e2e_session("lumivar-e2e-menu") as (session, workdir):
        app, setup, icon = start_armed(session, program, workdir, xembed=True)
        session.click(icon, "3")
        wait_for(lambda: menus(session, app.pid), 5, "a right click opened no menu")
        time.sleep(0.5)  # a second menu would be open by now
        assert len(menus(session, app.pid)) == 1, "one right click opened two menus"
        session.key("s")  # 显示窗体(&S)
        main_window(session, 5)
        exit_with_yes(session, app, setup)
        session.stop_tray_host()

        bus = dbus.bus.BusConnection(session.bus_address)
        watcher = start_status_notifier_host(session, bus)
        app, setup, _ = start_armed(session, program, workdir, xembed=False)
        item = wait_for(lambda: watcher.Get(WATCHER, "RegisteredStatusNotifierItems"), 5,
                        "the icon did not register")[0]
        service, _, path = str(item).partition("/")
        menu_path = bus.get_object(service, "/" + (path or "StatusNotifierItem")).Get(
            "org.kde.StatusNotifierItem", "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
        assert menu_path != "/NO_DBUSMENU", "the icon exports no menu"
        menu = dbus.Interface(bus.get_object(service, menu_path), "com.canonical.dbusmenu")
        _, (_, _, children) = menu.GetLayout(0, -1, dbus.Array([], signature="s"))
        labels = ["-" if c[1].get("type") == "separator" else str(c[1].get("label"))
                  for c in children]
        assert labels == ITEMS, f"the icon at {menu_path} exports {labels}"
        menu.Event(children[0][0], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))
        main_window(session, 5)
        exit_with_yes(session, app, setup)
    print("tray menu end-to-end: 1 passed, 0 failed")


def start_armed(session, program, workdir, xembed):
    setup = write_setup(workdir, session.now() + datetime.timedelta(hours=2))
    app = session.start([program, "--dry-run"], cwd=workdir,
                        env=dict(session.env, QT_QPA_PLATFORM="xcb"))
    return app, setup, arm_with_enter(session, xembed)


def start_status_notifier_host(session, bus):
    """Returns the watcher's properties once the host has registered."""
    session.start(["status-notifier-watcher"])
    wait_for(lambda: bus.name_has_owner(WATCHER), 10, "status-notifier-watcher did not start")
    session.start(["gtk-sni-tray-standalone", "--top", "--end"])
    watcher = dbus.Interface(bus.get_object(WATCHER, "/StatusNotifierWatcher"),
                             dbus.PROPERTIES_IFACE)
    wait_for(lambda: watcher.Get(WATCHER, "IsStatusNotifierHostRegistered"), 10,
             "gtk-sni-tray-standalone did not register")
    return watcher


def menus(session, pid):
    """The program's windows on show but its tray icon: with the main window
    hidden, its menus."""
    icons = session.tray_icons("lumivar")
    return [w for w in session.visible_windows(pid=pid) if w not in icons]


if __name__ == "__main__":
    main(sys.argv[1])
