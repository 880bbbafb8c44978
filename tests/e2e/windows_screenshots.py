#!/usr/bin/python3
"""Takes the README's screenshots of the Windows program under Wine on a
virtual display: the main window, and the countdown notice a moment after it
opens. The program runs in a Wine virtual desktop (a prefix of its own), so
that Wine draws the window frames itself: Xvfb has no window manager.

Usage: tests/e2e/windows_screenshots.py BUILD_DIR/Lumivar.exe BUILD_DIR/.../lumivar_driver.exe [OUTPUT_DIR]
       (default docs/; both programs are built by the windows preset)"""

import datetime
import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from windows_end_to_end import setup_ini  # noqa: E402
from windows_session import WineSession  # noqa: E402

WIDTH, HEIGHT = 1024, 768


def main(program, driver, output):
    os.makedirs(output, exist_ok=True)
    session = WineSession(WIDTH, HEIGHT, name="shots", virtual_desktop=True)
    workdir = tempfile.TemporaryDirectory(prefix="lumivar-shots-")
    try:
        # The countdown opens 30 s before the target: aim 36 s ahead.
        target = (datetime.datetime.now() + datetime.timedelta(seconds=36)).replace(microsecond=0)
        with open(os.path.join(workdir.name, "Setup.ini"), "w", newline="") as file:
            file.write(setup_ini(target))
        app = session.start_wine(program, "--dry-run", cwd=workdir.name)
        where = drive(session, driver, "where")
        time.sleep(1.5)  # let the clock show real values
        shoot(session, rect_of("main", where), os.path.join(output, "windows-main-window.png"))
        drive(session, driver, "arm")
        seen = drive(session, driver, "notice", "40")
        time.sleep(2.3)  # two ticks: the countdown line shows 28
        shoot(session, rect_of("notice", seen), os.path.join(output, "windows-countdown.png"))
        app.kill()
    finally:
        session.close()
        workdir.cleanup()


def drive(session, driver, *args):
    result = session.wine(driver, *args)
    if result.returncode != 0:
        raise SystemExit(f"driver {' '.join(args)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def rect_of(name, text):
    match = re.search(name + r" at (-?\d+),(-?\d+) size (\d+)x(\d+)", text)
    if not match:
        raise SystemExit(f"no position of the {name} window in:\n{text}")
    return tuple(int(value) for value in match.groups())


def shoot(session, rect, path):
    # The virtual desktop fills the root window, so its coordinates are the root's.
    x, y, width, height = rect
    session.run("import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", path)
    print(f"wrote {path}")


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]),
         sys.argv[3] if len(sys.argv) > 3 else os.path.join(here, "..", "..", "docs"))
