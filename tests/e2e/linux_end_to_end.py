#!/usr/bin/python3
"""End to end, in real time, on a real X server with a real tray host: arm a
custom time 35 seconds ahead with --dry-run, see the window go to the tray,
the countdown open centred and on top thirty seconds before, the power-off
request in the target second, the window come back when the tray host goes
away and the icon return with it, bring the window back from the tray and exit.

Usage: linux_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import (TITLE, arm_with_enter, dry_run_line,  # noqa: E402
                            exit_with_yes, looks_armed, main_window, restore_from_tray,
                            stored_mode, write_setup)
from x11_session import e2e_session, midnight_failure, wait_for  # noqa: E402

LEAD = 35
# Where to leave a screenshot of the window a second start brought back, for a
# person to look at; none when unset.
SCREENSHOTS = os.environ.get("LUMIVAR_E2E_SCREENSHOTS")


def main(program):
    run_without_display(program)
    with e2e_session("lumivar-e2e") as (session, workdir):
        run_second_start(session, program, workdir)
        run_scenario(session, program, workdir)
    print("end-to-end: 1 passed, 0 failed")


def run_scenario(session, program, workdir):
    target = session.target(LEAD)
    setup = write_setup(workdir, target)
    stderr_path = os.path.join(workdir, "stderr.txt")
    env = dict(session.env, QT_QPA_PLATFORM="xcb")
    with open(stderr_path, "w") as stderr:
        app = session.start([program, "--dry-run"], cwd=workdir, env=env, stderr=stderr)
    first = session.geometry(main_window(session))
    # With no window manager here the frame is Qt's guess: a title bar's
    # height of leeway.
    x, y, width, height = first
    assert abs(x + width // 2 - session.width // 2) <= 2 and \
        abs(y + height // 2 - session.height // 2) <= 24, f"main window at {x},{y} is not centred"
    step("main window shown, centred")

    icon = arm_with_enter(session)
    step(f"armed for {target:%H:%M:%S}: window hidden, tray icon {icon:#x}")

    notice_due = target - datetime.timedelta(seconds=30)
    notice = wait_for(lambda: notice_window(session, app.pid), LEAD, "the countdown never appeared")
    opened = session.now()
    assert abs((opened - notice_due).total_seconds() - 0.5) < 1.0, \
        f"countdown opened at {opened:%H:%M:%S.%f}, due at {notice_due:%H:%M:%S}"
    x, y, width, height = session.geometry(notice)
    assert (width, height) == (313, 198), f"countdown is {width}x{height}"
    assert abs(x - (session.width - width) // 2) <= 1 and abs(y - (session.height - height) // 2) <= 1, \
        f"countdown at {x},{y} is not centred"
    assert "_NET_WM_STATE_ABOVE" in session.property(notice, "_NET_WM_STATE"), "countdown not on top"
    step(f"countdown opened at {opened:%H:%M:%S.%f}, centred and on top")

    line = wait_for(lambda: dry_run_line(stderr_path), 40, "no power-off request")
    requested = datetime.datetime.strptime(line, "%H:%M:%S.%f").time()
    assert requested.replace(microsecond=0) == target.time(), \
        f"power-off requested at {line}, target {target:%H:%M:%S}"
    step(f"power-off requested at {line} (offset {requested.microsecond // 1000} ms)")
    failure = midnight_failure(opened.time(), requested)
    assert not failure, failure

    session.stop_tray_host()
    main_window(session, 5)
    step("tray host gone: the window is back from the tray")
    session.start_tray_host()
    icon = wait_for(lambda: session.tray_icons("lumivar"), 5, "the icon did not return")[0]
    step("tray host back: so is the icon")

    back = session.geometry(restore_from_tray(session, icon))
    assert back == first, f"the window came back at {back}, not where it was: {first}"
    step("window back from the tray, where it was")
    content = exit_with_yes(session, app, setup)
    assert stored_mode(content) == 1006, f"Setup.ini holds:\n{content}"
    step(f"exited with {app.returncode}; Setup.ini keeps Mode=1006")


def run_second_start(session, program, workdir):
    """Started again while armed, the program opens nothing and ends, and the
    armed window comes back from the tray. It runs on the X display although
    QT_QPA_PLATFORM says wayland, as some sessions set it for every program."""
    target = session.now() + datetime.timedelta(hours=2)
    setup = write_setup(workdir, target)
    env = dict(session.env, QT_QPA_PLATFORM="wayland")
    app = session.start([program, "--dry-run"], cwd=workdir, env=env)
    arm_with_enter(session)
    second = session.start([program, "--dry-run"], cwd=workdir, env=env)
    assert second.wait(10) == 0, f"the second start ended with {second.returncode}"
    window = main_window(session, 5)
    assert session.visible_windows(name=TITLE) == [window], "more than one main window"
    assert not session.tray_icons("lumivar"), "a tray icon is left"
    wait_for(lambda: looks_armed(session, window), 5, "the window that came back is not armed")
    if SCREENSHOTS:
        session.screenshot(os.path.join(SCREENSHOTS, "second-start.png"))
    step("a second start ended at once; the armed window came back from the tray")

    # A real start against this dry run: not handed over in silence.
    real = subprocess.run([program], cwd=workdir, env=env, capture_output=True, text=True,
                          timeout=20)
    said = [line for line in real.stderr.splitlines() if line.startswith("lumivar:")]
    assert real.returncode == 3 and len(said) == 1 and "not started" in said[0], \
        f"a real start beside a dry run ended with {real.returncode}: {real.stderr!r}"
    box = wait_for(lambda: session.visible_windows(name="提示"), 5, "the dry run said nothing")[0]
    assert "(试运行)" in session.run("xdotool", "getwindowname", str(window)), \
        "the dry run's title does not say so"
    if SCREENSHOTS:
        time.sleep(0.3)  # let it paint
        session.screenshot(os.path.join(SCREENSHOTS, "other-run.png"))
    step(f"a real start beside the dry run ended with 3: {said[0]}")
    session.focus(box)
    session.key("Return")
    exit_with_yes(session, app, setup)


def run_without_display(program):
    """With no display at all, the program says so in a line and ends."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    result = subprocess.run([program, "--dry-run"], env=env, capture_output=True, text=True,
                            timeout=10)
    assert result.returncode == 1 and "no graphical display" in result.stderr, \
        f"without a display: exit status {result.returncode}, {result.stderr!r}"
    step("without a display: one line on standard error, exit status 1")


def notice_window(session, pid):
    for window in session.visible_windows(pid=pid):
        if session.geometry(window)[2:] == (313, 198):
            return window
    return None


def step(text):
    print(f"{datetime.datetime.now():%H:%M:%S.%f} {text}", flush=True)


if __name__ == "__main__":
    main(sys.argv[1])
