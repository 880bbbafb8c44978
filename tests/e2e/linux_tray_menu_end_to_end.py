#!/usr/bin/python3
"""End to end, the tray icon's menu on both kinds of notification area. On an
XEmbed tray (trayer) one right click on the icon opens one menu, and its
显示窗体 brings the armed window back. On a StatusNotifierItem host
(gtk-sni-tray-standalone, with status-notifier-watcher) the icon exports the
same menu over dbusmenu; a right click there opens the host's menu and none of
the program's, and 显示窗体 clicked over D-Bus brings the window back.

Usage: linux_tray_menu_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import sys
import tempfile
import time

import dbus

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import arm_with_enter, exit_with_yes, main_window, write_setup  # noqa: E402
from x11_session import X11Session, wait_for  # noqa: E402

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU_ITEMS = ["显示窗体(_S)", "-", "关于程式(_A)", "-", "退出程序(_E)"]
SNI_BAR_HEIGHT = 32
# Where to leave screenshots of the two menus, for a person to look at.
SCREENSHOTS = os.environ.get("LUMIVAR_E2E_SCREENSHOTS")


def main(program):
    session = X11Session()
    workdir = tempfile.TemporaryDirectory(prefix="lumivar-e2e-menu-")
    try:
        run_xembed(session, program, workdir.name)
        run_status_notifier(session, program, workdir.name)
    except BaseException:
        shot = os.path.join(tempfile.gettempdir(), "lumivar-e2e-tray-menu-failure.png")
        session.screenshot(shot)
        print(f"screenshot of the failure: {shot}", file=sys.stderr)
        raise
    finally:
        session.close()
        workdir.cleanup()
    print("tray menu end-to-end: 1 passed, 0 failed")


def start_armed(session, program, workdir, xembed):
    setup = write_setup(workdir, datetime.datetime.now() + datetime.timedelta(hours=2))
    app = session.start([program, "--dry-run"], cwd=workdir,
                        env=dict(session.env, QT_QPA_PLATFORM="xcb"))
    return app, setup, arm_with_enter(session, xembed)


def run_xembed(session, program, workdir):
    session.start_tray_host()
    app, setup, icon = start_armed(session, program, workdir, xembed=True)
    session.click(icon, "3")
    wait_for(lambda: popups(session, app.pid), 5, "a right click opened no menu")
    time.sleep(0.5)  # a second menu would be open by now
    menus = popups(session, app.pid)
    assert len(menus) == 1, f"one right click opened {len(menus)} menus"
    screenshot("xembed-tray-menu.png", session)
    session.key("s")  # 显示窗体(&S)
    main_window(session, 5)
    step("trayer: a right click opened one menu; its 显示窗体 brought the window back")
    exit_with_yes(session, app, setup)
    session.stop_tray_host()


def run_status_notifier(session, program, workdir):
    bus = dbus.bus.BusConnection(session.bus_address)
    watcher = start_status_notifier_host(session, bus)
    app, setup, _ = start_armed(session, program, workdir, xembed=False)
    items = wait_for(lambda: watcher.Get(WATCHER, "RegisteredStatusNotifierItems"), 5,
                     "the icon never registered with the watcher")
    service, _, path = str(items[0]).partition("/")
    item = bus.get_object(service, "/" + (path or "StatusNotifierItem"))
    menu_path = item.Get(ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
    assert menu_path != "/NO_DBUSMENU", "the icon exports no menu"
    menu = dbus.Interface(bus.get_object(service, menu_path), "com.canonical.dbusmenu")
    _, (_, _, children) = menu.GetLayout(0, -1, dbus.Array([], signature="s"))
    labels = ["-" if entry[1].get("type") == "separator" else str(entry[1].get("label"))
              for entry in children]
    assert labels == MENU_ITEMS, f"the exported menu holds {labels}"
    step(f"the icon exports its menu at {menu_path}: {' '.join(labels)}")

    # The host draws the icon at the right end of its bar, as the first one.
    bar = session.visible_windows(classname="gtk-sni-tray-standalone")
    session.run("xdotool", "mousemove", "--sync", str(session.width - SNI_BAR_HEIGHT // 2),
                str(SNI_BAR_HEIGHT // 2))
    session.run("xdotool", "click", "3")
    wait_for(lambda: len(session.visible_windows(classname="gtk-sni-tray-standalone")) > len(bar),
             5, "a right click on the icon opened no menu of the host")
    time.sleep(0.5)
    assert not session.visible_windows(pid=app.pid), "the program opened a window of its own"
    screenshot("status-notifier-tray-menu.png", session)
    session.key("Escape")

    show = next(int(entry[0]) for entry in children if str(entry[1].get("label")) == MENU_ITEMS[0])
    menu.Event(show, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0))
    main_window(session, 5)
    step("StatusNotifierItem host: the host's menu alone opened; 显示窗体 over D-Bus brought the window back")
    exit_with_yes(session, app, setup)


def start_status_notifier_host(session, bus):
    """status-notifier-watcher and gtk-sni-tray-standalone in a bar across the
    top; returns the watcher once the host has registered with it."""
    session.start(["status-notifier-watcher"])
    wait_for(lambda: bus.name_has_owner(WATCHER), 10, "status-notifier-watcher did not start")
    session.start(["gtk-sni-tray-standalone", "--top", "--end", "--size", str(SNI_BAR_HEIGHT)])
    watcher = dbus.Interface(bus.get_object(WATCHER, "/StatusNotifierWatcher"),
                             dbus.PROPERTIES_IFACE)
    wait_for(lambda: watcher.Get(WATCHER, "IsStatusNotifierHostRegistered"), 10,
             "gtk-sni-tray-standalone did not register as a host")
    return watcher


def popups(session, pid):
    """The program's windows on show other than its tray icons: with the main
    window hidden, its menus."""
    icons = set(session.tray_icons("lumivar"))
    return [w for w in session.visible_windows(pid=pid) if w not in icons]


def screenshot(name, session):
    if SCREENSHOTS:
        session.screenshot(os.path.join(SCREENSHOTS, name))


def step(text):
    print(f"{datetime.datetime.now():%H:%M:%S.%f} {text}", flush=True)


if __name__ == "__main__":
    main(sys.argv[1])
