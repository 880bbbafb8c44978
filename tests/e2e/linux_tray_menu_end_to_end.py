#!/usr/bin/python3
"""End to end, the tray icon's menu: on an XEmbed tray (trayer) one right click
opens one menu, whose 显示窗体 brings the armed window back; on a
StatusNotifierItem host (gtk-sni-tray-standalone and status-notifier-watcher)
the icon exports that menu over dbusmenu, the power-off comes in its second
while the host's watcher hangs, the menu opens when the host asks for it
(ContextMenu), and 显示窗体 clicked over D-Bus brings the window back.

Usage: linux_tray_menu_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import signal
import sys
import time

import dbus

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import (arm_with_enter, dry_run_line, exit_with_yes,  # noqa: E402
                            main_window, write_setup)
from x11_session import e2e_session, wait_for  # noqa: E402

WATCHER = "org.kde.StatusNotifierWatcher"
ITEMS = ["显示窗体(_S)", "-", "关于程式(_A)", "-", "退出程序(_E)"]
# Seconds from the start to the power-off on the StatusNotifierItem host.
LEAD = 10


def main(program):
    with e2e_session("lumivar-e2e-menu") as (session, workdir):
        app, setup, icon = start_armed(session, program, workdir, xembed=True)
        session.wait_until_settled(icon)
        session.click(icon, "3")
        wait_for(lambda: menus(session, app.pid), 5, "a right click opened no menu")
        time.sleep(0.5)  # a second menu would be open by now
        assert len(menus(session, app.pid)) == 1, "one right click opened two menus"
        session.key("s")  # 显示窗体(&S)
        main_window(session, 5)
        exit_with_yes(session, app, setup)
        session.stop_tray_host()

        bus = dbus.bus.BusConnection(session.bus_address)
        watcher, watcher_process = start_status_notifier_host(session, bus)
        target = (session.now() + datetime.timedelta(seconds=LEAD)).replace(microsecond=0)
        errors = os.path.join(workdir, "stderr.txt")
        app, setup, _ = start_armed(session, program, workdir, xembed=False, target=target,
                                    stderr=errors)
        item = wait_for(lambda: watcher.Get(WATCHER, "RegisteredStatusNotifierItems"), 5,
                        "the icon did not register")[0]
        service, _, path = str(item).partition("/")
        item = bus.get_object(service, "/" + (path or "StatusNotifierItem"))
        menu_path = item.Get("org.kde.StatusNotifierItem", "Menu",
                             dbus_interface=dbus.PROPERTIES_IFACE)
        assert menu_path != "/NO_DBUSMENU", "the icon exports no menu"
        menu = dbus.Interface(bus.get_object(service, menu_path), "com.canonical.dbusmenu")
        _, (_, _, children) = menu.GetLayout(0, -1, dbus.Array([], signature="s"))
        labels = ["-" if c[1].get("type") == "separator" else str(c[1].get("label"))
                  for c in children]
        assert labels == ITEMS, f"the icon at {menu_path} exports {labels}"

        # A hung panel holds nothing up: the power-off comes in its second.
        os.kill(watcher_process.pid, signal.SIGSTOP)
        try:
            assert session.now() < target, "set-up ran past the target"
            line = wait_for(lambda: dry_run_line(errors), LEAD + 5,
                            "no power-off while the watcher hung")
        finally:
            os.kill(watcher_process.pid, signal.SIGCONT)
        assert line.startswith(f"{target:%H:%M:%S}."), f"power-off at {line}, target {target}"

        # A host that asks the program for the menu (swaybar) gets one.
        item.ContextMenu(dbus.Int32(10), dbus.Int32(10),
                         dbus_interface="org.kde.StatusNotifierItem")
        wait_for(lambda: menus(session, app.pid), 5, "ContextMenu opened no menu")
        session.key("Escape")
        menu.Event(children[0][0], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))
        main_window(session, 5)
        exit_with_yes(session, app, setup)
    print("tray menu end-to-end: 1 passed, 0 failed")


def start_armed(session, program, workdir, xembed, target=None, stderr=os.devnull):
    """Armed for `target`, two hours ahead if none, without a countdown."""
    target = target or session.now() + datetime.timedelta(hours=2)
    setup = write_setup(workdir, target, notice=False)
    with open(stderr, "w") as errors:
        app = session.start([program, "--dry-run"], cwd=workdir, stderr=errors,
                            env=dict(session.env, QT_QPA_PLATFORM="xcb"))
    return app, setup, arm_with_enter(session, xembed)


def start_status_notifier_host(session, bus):
    """Returns the watcher's properties, and its process, once the host has
    registered."""
    process = session.start(["status-notifier-watcher"])
    wait_for(lambda: bus.name_has_owner(WATCHER), 10, "status-notifier-watcher did not start")
    session.start(["gtk-sni-tray-standalone", "--top", "--end"])
    watcher = dbus.Interface(bus.get_object(WATCHER, "/StatusNotifierWatcher"),
                             dbus.PROPERTIES_IFACE)
    wait_for(lambda: watcher.Get(WATCHER, "IsStatusNotifierHostRegistered"), 10,
             "gtk-sni-tray-standalone did not register")
    return watcher, process


def menus(session, pid):
    """The program's windows on show but its tray icon: with the main window
    hidden, its menus."""
    icons = session.tray_icons("lumivar")
    return [w for w in session.visible_windows(pid=pid) if w not in icons]


if __name__ == "__main__":
    main(sys.argv[1])
