"""End to end on Windows: the real Lumivar.exe under Wine on Xvfb with a tray
host, driven by lumivar_driver.exe through its windows. Start-up state from a
crafted Setup.ini, arming, the icon's own small picture in the tray, a second
start that ends at once and brings the armed window back from the tray, the
countdown window thirty seconds before, the dry-run power-off at the target
second, the way back from the tray, the exit that stores the mode, and the
trace from a console prompt.

    windows_end_to_end.py Lumivar.exe lumivar_driver.exe
"""

import datetime
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from windows_session import REPO, WineSession  # noqa: E402
from x11_session import midnight_failure, wait_for, wait_while  # noqa: E402

ICON = os.path.join(REPO, "res", "Lumivar.ico")

# Enough lead for Wine to start the program and the start-up checks to run
# before the notice, thirty seconds ahead of the target, is due, even on a
# loaded machine.
LEAD_SECONDS = 60
# The whole run stays inside the test's limit (240 s), so that a step that
# hangs is named and the session still gets closed.
BUDGET_SECONDS = 200


def setup_ini(target):
    return ("[WORK]\r\nHour=21\r\nMinute=10\r\nSecond=20\r\n"
            "[REST]\r\nHour=22\r\nMinute=30\r\nSecond=40\r\n"
            f"[USER]\r\nHour={target.hour}\r\nMinute={target.minute}\r\nSecond={target.second}\r\n"
            "[NOTICE]\r\nShow=1\r\n"
            "[MODE]\r\nMode=1006\r\n")


def icon_picture(path, size):
    """The opaque pixels of the icon's size x size image, {(x, y): (r, g, b)}."""
    for frame in range(2):
        rgba = subprocess.run(["convert", f"{path}[{frame}]", "-depth", "8", "rgba:-"],
                              capture_output=True).stdout
        if len(rgba) == size * size * 4:
            return {(i % size, i // size): tuple(rgba[4 * i:4 * i + 3])
                    for i in range(size * size) if rgba[4 * i + 3] == 255}
    raise AssertionError(f"{path} has no {size}x{size} image")


def shows_picture(session, window, picture, size):
    """Whether the window shows `picture` pixel for pixel somewhere in it."""
    _, _, width, height = session.geometry(window)
    shot = subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"],
                          env=session.env, capture_output=True).stdout
    if len(shot) != width * height * 3:
        return False

    def pixel(x, y):
        at = 3 * (y * width + x)
        return tuple(shot[at:at + 3])
    return any(all(pixel(left + x, top + y) == colour for (x, y), colour in picture.items())
               for top in range(height - size + 1) for left in range(width - size + 1))


class Hung(Exception):
    pass


def main(program, driver):
    deadline = time.monotonic() + BUDGET_SECONDS
    session = WineSession()
    session.start_tray_host()
    workdir = tempfile.mkdtemp(prefix="lumivar-e2e-")
    ini = os.path.join(workdir, "Setup.ini")
    errors = os.path.join(workdir, "stderr.txt")
    failures = []

    def drive(*args):
        print(f"-- {' '.join(args)}", flush=True)
        try:
            result = session.wine(driver, *args, cwd=workdir,
                                  timeout=min(60, max(deadline - time.monotonic(), 1)))
        except AssertionError as error:
            failures.append(str(error))
            raise Hung() from None
        print(result.stdout, end="", flush=True)
        if result.returncode != 0:
            failures.append(f"driver {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout

    try:
        # Local time, as the program reads it; whole seconds.
        target = session.target(LEAD_SECONDS)
        with open(ini, "w", newline="") as file:
            file.write(setup_ini(target))
        with open(errors, "w") as stderr:
            lumivar = session.start_wine(program, "--dry-run", cwd=workdir, stderr=stderr)

        user = target.strftime("%H:%M:%S")
        drive("startup", "21:10:20", "22:30:40", user)
        # The file is read once, at start-up: what the exit writes is new.
        with open(ini, "w", newline="") as file:
            file.write(setup_ini(target).replace("Mode=1006", "Mode=1000"))

        drive("arm")
        # The tray shows small icons: it gets the icon's own 16x16 image, not
        # the 32x32 one shrunk (which looks nothing like it, pixel for pixel).
        # Looked at as first added: Wine's tray sometimes draws an icon added
        # again, after a way back from the tray, as a blank. Now and then it
        # leaves one it docks unpainted, too, whatever image it holds; docked
        # again, into a new tray host, the icon is drawn from that image.
        try:
            small = icon_picture(ICON, 16)

            def shown():
                return any(shows_picture(session, icon, small, 16)
                           for icon in session.tray_icons("explorer.exe"))
            if not wait_while(lambda: not shown(), 5):
                print("the tray icon is blank: docking it again")
                session.stop_tray_host()
                session.start_tray_host()
            wait_for(shown, 10, "the tray does not show the icon's 16x16 picture")
            print("the tray shows the icon's 16x16 picture")
        except AssertionError as error:
            failures.append(str(error))

        # Started again while armed: it opens nothing, and the window comes back.
        try:
            ended = session.wine(program, "--dry-run", cwd=workdir, timeout=30).returncode
        except AssertionError as error:
            failures.append(str(error))
            raise Hung() from None
        print(f"-- a second start ended with {ended}", flush=True)
        if ended != 0:
            failures.append(f"the second start ended with {ended}")
        if not wait_while(lambda: session.tray_icons("explorer.exe"), 5):
            failures.append("the tray icon stayed after the second start")
        drive("forward")
        seconds_to_notice = (target - session.now()).total_seconds() - 30
        if seconds_to_notice < 1:
            failures.append(f"armed too late: {seconds_to_notice:.1f} s before the notice was due")
        seen = drive("notice", f"{max(seconds_to_notice, 0) + 5:.1f}")
        shown = re.search(r"notice shown at (\d\d:\d\d:\d\d)", seen)
        if shown:
            # Times of day: the notice may come the day before its target.
            at = datetime.datetime.combine(target.date(), datetime.time.fromisoformat(shown.group(1)))
            ahead = (target - at).total_seconds() % 86400
            if not 29 <= ahead <= 31:
                failures.append(f"the notice showed {ahead:.0f} s before the target, not 30")

        def dry_run_line():
            with open(errors) as file:
                return re.search(r"dry-run: power-off requested at (\d\d:\d\d:\d\d)\.\d{3}", file.read())
        remaining = (target - session.now()).total_seconds()
        try:
            line = wait_for(dry_run_line, remaining + 5, "no dry-run line")
            print(f"dry-run line at {line.group(1)}, target {user}")
            if line.group(1) != user:
                failures.append(f"power-off requested at {line.group(1)}, not at {user}")
            midnight = shown and midnight_failure(datetime.time.fromisoformat(shown.group(1)),
                                                  datetime.time.fromisoformat(line.group(1)))
            if midnight:
                failures.append(midnight)
        except AssertionError as error:
            failures.append(str(error))

        drive("restore")
        drive("exit")
        try:
            lumivar.wait(15)
        except Exception:
            failures.append("Lumivar.exe did not end after the confirmed exit")
        with open(ini) as file:
            stored = file.read()
        if not re.search(r"^Mode=1006\s*$", stored, re.M):
            failures.append("Setup.ini does not hold Mode=1006 after the exit:\n" + stored)

        # Typed at a command prompt, a GUI program has no standard error.
        drive("console", "Z:" + program.replace("/", "\\"))
    except Hung:
        print("windows on the screen:\n" + session.run("xwininfo", "-root", "-children"), flush=True)
    finally:
        session.close()

    for failure in failures:
        print("FAIL", failure)
    print("passed" if not failures else f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    started = time.monotonic()
    code = main(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
    print(f"took {time.monotonic() - started:.0f} s")
    sys.exit(code)
