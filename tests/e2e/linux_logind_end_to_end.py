#!/usr/bin/python3
"""The built program powering off through logind, for real but harmlessly: a
private bus stands in for the system bus and python3-dbusmock's logind
template for logind, which refuses. The program must call PowerOff(false)
exactly once at the target, say why it was refused, and carry on.

Usage: linux_logind_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import re
import subprocess
import sys
import tempfile
import time

import dbus

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import (arm_with_enter, exit_with_yes, restore_from_tray,  # noqa: E402
                            stored_mode, write_setup)
from x11_session import X11Session, wait_for  # noqa: E402

LEAD = 6
LOGIND = "org.freedesktop.login1"


def main(program):
    workdir = tempfile.TemporaryDirectory(prefix="lumivar-logind-")
    session = X11Session()
    try:
        session.start_tray_host()
        bus_address = start_private_bus(session, workdir.name)
        call_log = os.path.join(workdir.name, "logind-calls.log")
        start_mock_logind(session, bus_address, call_log)
        run_scenario(session, program, workdir.name, bus_address, call_log)
    finally:
        session.close()
        workdir.cleanup()
    print("logind end-to-end: 1 passed, 0 failed")


def start_private_bus(session, workdir):
    daemon = session.start(["dbus-daemon", "--session", "--nofork", "--print-address",
                            f"--address=unix:dir={workdir}"], stdout=subprocess.PIPE)
    return daemon.stdout.readline().decode().strip()


def start_mock_logind(session, bus_address, call_log):
    env = dict(session.env, DBUS_SYSTEM_BUS_ADDRESS=bus_address)
    session.start(["/usr/bin/python3", "-m", "dbusmock", "--template", "logind", "-l", call_log],
                  env=env)
    bus = dbus.bus.BusConnection(bus_address)
    wait_for(lambda: bus.name_has_owner(LOGIND), 20, "the mock logind did not start")
    mock = dbus.Interface(bus.get_object(LOGIND, "/org/freedesktop/login1"),
                          "org.freedesktop.DBus.Mock")
    mock.AddMethod("org.freedesktop.login1.Manager", "PowerOff", "b", "",
                   "raise dbus.exceptions.DBusException('Not allowed here.', "
                   "name='org.freedesktop.DBus.Error.AccessDenied')")


def run_scenario(session, program, workdir, bus_address, call_log):
    target = (datetime.datetime.now() + datetime.timedelta(seconds=LEAD)).replace(microsecond=0)
    setup = write_setup(workdir, target, notice=False)
    stderr_path = os.path.join(workdir, "stderr.txt")
    env = dict(session.env, QT_QPA_PLATFORM="xcb", DBUS_SYSTEM_BUS_ADDRESS=bus_address)
    with open(stderr_path, "w") as stderr:
        app = session.start([program], cwd=workdir, env=env, stderr=stderr)
    icon = arm_with_enter(session)

    wait_for(lambda: power_off_calls(call_log), LEAD + 5, "PowerOff was never called")
    time.sleep(2)  # room for a second call, which must not come
    calls = power_off_calls(call_log)
    assert calls == ["PowerOff False"], f"logind saw {calls}"
    assert app.poll() is None, "the program did not survive the refusal"
    with open(stderr_path) as f:
        ours = [line for line in f if line.startswith("lumivar:")]  # Qt may warn too
    assert len(ours) == 1 and "AccessDenied" in ours[0], f"the program reported: {ours}"
    print(f"refused as expected, program reported: {ours[0].strip()}")

    restore_from_tray(session, icon)
    content = exit_with_yes(session, app, setup)
    assert stored_mode(content) == 1006, f"Setup.ini holds:\n{content}"


def power_off_calls(call_log):
    if not os.path.exists(call_log):
        return []
    with open(call_log) as f:  # "<time> PowerOff False"; a raise is logged on a line of its own
        return [match.group(1) for match in re.finditer(r"^\S+ (PowerOff \S+)$", f.read(), re.M)]


if __name__ == "__main__":
    main(sys.argv[1])
