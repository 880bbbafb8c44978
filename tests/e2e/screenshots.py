#!/usr/bin/python3
"""Takes the README's screenshots of the Linux program on a virtual display:
the main window, and the countdown notice a moment after it opens.

Usage: tests/e2e/screenshots.py BUILD_DIR/lumivar [OUTPUT_DIR]   (default docs/)"""

import datetime
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import arm_with_enter, main_window, write_setup  # noqa: E402
from x11_session import X11Session, wait_for  # noqa: E402


def main(program, output):
    os.makedirs(output, exist_ok=True)
    session = X11Session(1024, 768)
    workdir = tempfile.TemporaryDirectory(prefix="lumivar-shots-")
    try:
        session.start_tray_host()
        # The countdown opens 30 s before the target: aim 34 s ahead.
        target = datetime.datetime.now() + datetime.timedelta(seconds=34)
        write_setup(workdir.name, target)
        app = session.start([program, "--dry-run"], cwd=workdir.name,
                            env=dict(session.env, QT_QPA_PLATFORM="xcb"))
        window = main_window(session)
        time.sleep(1.5)  # let the clock show real values
        shoot(session, window, os.path.join(output, "main-window.png"))
        arm_with_enter(session)
        notice = wait_for(lambda: [w for w in session.visible_windows(pid=app.pid)
                                   if session.geometry(w)[2:] == (313, 198)], 10,
                          "the countdown did not open")[0]
        time.sleep(2.3)  # two ticks: the countdown line shows 28
        shoot(session, notice, os.path.join(output, "countdown.png"))
        app.kill()
    finally:
        session.close()
        workdir.cleanup()


def shoot(session, window, path):
    session.run("import", "-window", str(window), path)
    print(f"wrote {path}")


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    main(os.path.abspath(sys.argv[1]),
         sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "docs"))
