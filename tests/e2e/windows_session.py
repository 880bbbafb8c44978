"""A throwaway X11 session for running Windows programs under Wine: Xvfb, a
Wine prefix of its own bound to that display, and in it the Chinese font faces
the program's resources name ("宋体", "黑体") replaced by an installed CJK font,
as scripts/wine-run.sh does in every prefix it makes.

Run as a script, it runs one Windows program in such a session, a test
suite whose result it gives as tests/support/run_suite.py does:
    windows_session.py PROGRAM.exe [ARGS...]
"""

import hashlib
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import run_suite  # noqa: E402
from x11_session import X11Session  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(REPO, "scripts", "wine-run.sh")
WINE_ARCH = os.path.join(REPO, "scripts", "wine-arch.sh")


class WineSession(X11Session):
    def __init__(self, width=1280, height=1024, name="x11", virtual_desktop=False):
        super().__init__(width, height)
        # A prefix of our own: the shared one's wineserver may be bound to
        # another display. Beside the caller's WINEPREFIX if one is set; the
        # default name carries the architecture, as scripts/wine-run.sh's
        # does. One per checkout: the programs of a prefix share its
        # wineserver and so one Windows session, where a Lumivar.exe under
        # test in another checkout would be taken for this one's running copy.
        arch = subprocess.run([WINE_ARCH], capture_output=True, text=True,
                              check=True).stdout.strip()
        base = os.environ.get("WINEPREFIX") or os.path.join(
            os.environ.get("TMPDIR", "/tmp"), f"lumivar-wine-{arch}-{os.getuid()}")
        checkout = hashlib.sha1(REPO.encode()).hexdigest()[:8]
        self.prefix = f"{base}-{name}-{checkout}"
        self.env["WINEPREFIX"] = self.prefix
        self.env.setdefault("WINEDEBUG", "-all")
        # A crash ends the program instead of waiting in the debugger.
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winedbg.exe=d"
        # The script's first run in a prefix makes it and replaces the fonts.
        self.wine("reg", "query", r"HKCU\Software\Wine\Fonts\Replacements", "/v", "SimSun",
                  check=True, timeout=150)
        if virtual_desktop:
            self._use_virtual_desktop()
        # Server and background services up before the program and the test
        # driver start side by side: neither then races the other through
        # the prefix's boot.
        self.wine("reg", "query", r"HKCU\Software\Wine", check=True, timeout=120)

    def _use_virtual_desktop(self):
        """Every program of the prefix in one Wine desktop filling the screen,
        where Wine draws the window frames itself (Xvfb has no window manager)."""
        self.wine("reg", "add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d", "Default",
                  "/f", check=True)
        self.wine("reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default",
                  "/d", f"{self.width}x{self.height}", "/f", check=True)

    def wine(self, *argv, check=False, timeout=60, **kwargs):
        """Runs a Windows program to its end; returns the CompletedProcess with
        its output as text. The output goes through files, not pipes: Wine's
        background processes may inherit the program's output and would keep
        a pipe open long after the program ended. A program that does not
        end in time is killed and fails with what it had written."""
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            try:
                result = subprocess.run([WINE_RUN, *argv], env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=out, stderr=err, timeout=timeout, **kwargs)
            except subprocess.TimeoutExpired:
                out.seek(0)
                raise AssertionError(f"{os.path.basename(argv[0])} {' '.join(argv[1:])} did not end "
                                     f"within {timeout:.0f} s; its output:\n{out.read()}") from None
            out.seek(0)
            err.seek(0)
            result.stdout, result.stderr = out.read(), err.read()
        if check and result.returncode != 0:
            raise AssertionError(f"{argv[0]} failed ({result.returncode}): {result.stderr}")
        return result

    def start_wine(self, *argv, **kwargs):
        return self.start([WINE_RUN, *argv], **kwargs)

    def close(self):
        super().close()
        # Its programs would otherwise stay bound to a display that is gone.
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        try:
            subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True, timeout=30)
        except subprocess.TimeoutExpired:
            print("wineserver did not end within 30 s", file=sys.stderr)


def main(argv):
    session = WineSession()
    try:
        # Inside the test's own limit, so that a hang still shows its output.
        result = session.wine(*argv, timeout=150)
        sys.stdout.write(result.stdout)
        sys.stderr.write(result.stderr)
        # A test suite's skip, which CTest must not take for a pass.
        return run_suite.status(result.returncode, result.stdout.encode())
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
