#!/usr/bin/python3
"""The README's first command as a newcomer types it, on a virtual display:
scripts/run.sh --dry-run installs what it needs, builds the release program
and shows its main window. Then the program is ended.

Usage: readme_run.py   (from anywhere; the build takes a few minutes)"""

import os
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lumivar_driver import TITLE  # noqa: E402
from x11_session import e2e_session, wait_for  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD_SECONDS = 1200


def main():
    log = tempfile.TemporaryFile("w+")
    with e2e_session("lumivar-run", tray_host=False) as (session, workdir):
        # run.sh ends by becoming the program, so the process is the program's.
        run = session.start([os.path.join(REPO, "scripts", "run.sh"), "--dry-run"], cwd=workdir,
                            stdout=log, stderr=subprocess.STDOUT)
        try:
            wait_for(lambda: run.poll() is not None or session.visible_windows(name=TITLE),
                     BUILD_SECONDS, "no main window")
            if run.poll() is not None:
                raise AssertionError(f"scripts/run.sh --dry-run ended with {run.returncode}")
            print("scripts/run.sh --dry-run built the program and shows its main window")
        except AssertionError:
            log.seek(0)
            print(log.read()[-4000:], file=sys.stderr)
            raise
        finally:
            if run.poll() is None:
                run.send_signal(signal.SIGTERM)


if __name__ == "__main__":
    main()
