#!/usr/bin/python3
"""End to end under a real window manager (openbox) with a tray host: armed
and brought back from the tray again and again, by a double click on the
icon and by a second start, the window comes back every time and stays.
Window managers that honour a window's "start iconic" mark on mapping took
the window back to the tray now and then.

Usage: linux_window_manager_end_to_end.py PATH_TO_LUMIVAR"""

import datetime
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import (TITLE, arm_with_enter, exit_with_yes, main_window,  # noqa: E402
                            write_setup)
from x11_session import e2e_session, wait_while  # noqa: E402

ROUNDS = 6


def main(program):
    with e2e_session("lumivar-e2e-wm") as (session, workdir):
        session.start_window_manager("openbox")
        setup = write_setup(workdir, session.now() + datetime.timedelta(hours=2))
        env = dict(session.env, QT_QPA_PLATFORM="xcb")
        for round in range(1, ROUNDS + 1):
            app = session.start([program, "--dry-run"], cwd=workdir, env=env)
            icon = arm_with_enter(session)
            how = "a second start" if round % 2 == 0 else "a double click"
            if round % 2 == 0:
                second = session.start([program, "--dry-run"], cwd=workdir, env=env)
                assert second.wait(10) == 0, f"the second start ended with {second.returncode}"
            else:
                session.double_click(icon)
            main_window(session, 5)
            # Back, and still back once the window manager is done with it.
            assert not wait_while(lambda: session.visible_windows(name=TITLE), 1), \
                f"round {round}: the window went away again after {how}"
            assert not session.tray_icons("lumivar"), f"round {round}: the icon stayed"
            print(f"round {round}: back from the tray by {how}, and stays", flush=True)
            exit_with_yes(session, app, setup)
    print("window manager end-to-end: 1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
