#!/usr/bin/python3
"""The built program powering off through logind, for real but harmlessly: the
session's private bus stands in for the system bus too, and python3-dbusmock's
logind template for logind, which wants a password and then refuses. The
program must warn of that when armed, hold idle sleep off through logind (no
desktop portal answers) while armed, call PowerOff(true) exactly once at the
target, and then come back from the tray saying why it was refused, with the
warning, still unanswered, above it.

Usage: linux_logind_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import re
import sys
import time

import dbus

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import (arm_with_enter, exit_with_yes, main_window,  # noqa: E402
                            stored_mode, write_setup)
from x11_session import e2e_session, wait_for  # noqa: E402

LEAD = 8
LOGIND = "org.freedesktop.login1"
# Where to leave screenshots of the boxes, for a person to look at; none when unset.
SCREENSHOTS = os.environ.get("LUMIVAR_E2E_SCREENSHOTS")


def main(program):
    with e2e_session("lumivar-logind") as (session, workdir):
        call_log = os.path.join(workdir, "logind-calls.log")
        logind = start_mock_logind(session, session.bus_address, call_log)
        run_scenario(session, program, workdir, session.bus_address, call_log, logind)
    print("logind end-to-end: 1 passed, 0 failed")


def start_mock_logind(session, bus_address, call_log):
    env = dict(session.env, DBUS_SYSTEM_BUS_ADDRESS=bus_address)
    session.start(["/usr/bin/python3", "-m", "dbusmock", "--template", "logind", "-l", call_log],
                  env=env)
    bus = dbus.bus.BusConnection(bus_address)
    wait_for(lambda: bus.name_has_owner(LOGIND), 20, "the mock logind did not start")
    logind = bus.get_object(LOGIND, "/org/freedesktop/login1")
    mock = dbus.Interface(logind, "org.freedesktop.DBus.Mock")
    # polkit would ask for a password (another user is logged in, say), and
    # nobody gives it
    mock.AddMethod("org.freedesktop.login1.Manager", "CanPowerOff", "", "s", "ret = 'challenge'")
    mock.AddMethod("org.freedesktop.login1.Manager", "PowerOff", "b", "",
                   "raise dbus.exceptions.DBusException('Not allowed here.', "
                   "name='org.freedesktop.DBus.Error.AccessDenied')")
    return dbus.Interface(logind, "org.freedesktop.login1.Manager")


def run_scenario(session, program, workdir, bus_address, call_log, logind):
    target = (session.now() + datetime.timedelta(seconds=LEAD)).replace(microsecond=0)
    setup = write_setup(workdir, target, notice=False)
    stderr_path = os.path.join(workdir, "stderr.txt")
    env = dict(session.env, QT_QPA_PLATFORM="xcb", DBUS_SYSTEM_BUS_ADDRESS=bus_address)
    with open(stderr_path, "w") as stderr:
        app = session.start([program], cwd=workdir, env=env, stderr=stderr)
    arm_with_enter(session)
    # The warning is left unanswered until the refusal has come and gone.
    warning = wait_for(lambda: session.visible_windows(name="提示"), 5, "no warning")[0]
    held = [tuple(str(field) for field in inhibitor[:4]) for inhibitor in logind.ListInhibitors()]
    assert held == [("idle", "Lumivar", "等待定时关机", "block")], f"logind holds {held}"
    print("armed: warned of the password, idle sleep held off through logind")

    wait_for(lambda: power_off_calls(call_log), LEAD + 5, "PowerOff was never called")
    window = main_window(session, 5)  # back from the tray
    dismiss_notice(session, "refused.png", besides=warning)
    # The window came back over the warning; the warning, which blocks it,
    # must not stay hidden behind it.
    stacking = session.stacking()
    assert warning in stacking and stacking.index(warning) < stacking.index(window), \
        "the unanswered warning is behind the window it blocks"
    dismiss_notice(session, "armed-warning.png")
    time.sleep(1)  # room for a second call, which must not come
    calls = power_off_calls(call_log)
    assert calls == ["PowerOff True"], f"logind saw {calls}"
    assert app.poll() is None, "the program did not survive the refusal"
    assert not logind.ListInhibitors(), "idle sleep still held off after the schedule ended"
    with open(stderr_path) as f:
        ours = [line for line in f if line.startswith("lumivar:")]  # Qt may warn too
    assert len(ours) == 2 and "CanPowerOff: challenge" in ours[0] and "AccessDenied" in ours[1], \
        f"the program reported: {ours}"
    print(f"refused as expected, program reported: {ours[1].strip()}")

    content = exit_with_yes(session, app, setup)
    assert stored_mode(content) == 1006, f"Setup.ini holds:\n{content}"


def dismiss_notice(session, screenshot_name, besides=None):
    """Waits for a "提示" box (another than `besides`), keeps a picture of it
    when asked to, and answers it with Enter."""
    box = wait_for(lambda: [w for w in session.visible_windows(name="提示") if w != besides], 5,
                   "no 提示 box")[0]
    if SCREENSHOTS:
        time.sleep(0.3)  # let it paint
        session.screenshot(os.path.join(SCREENSHOTS, screenshot_name))
    session.focus(box)
    session.key("Return")
    wait_for(lambda: box not in session.visible_windows(name="提示"), 5, "the 提示 box stayed")


def power_off_calls(call_log):
    if not os.path.exists(call_log):
        return []
    with open(call_log) as f:  # "<time> PowerOff False"; a raise is logged on a line of its own
        return [match.group(1) for match in re.finditer(r"^\S+ (PowerOff \S+)$", f.read(), re.M)]


if __name__ == "__main__":
    main(sys.argv[1])
