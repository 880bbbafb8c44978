"""A throwaway X11 session for running Windows programs under Wine: Xvfb, a
Wine prefix of its own bound to that display, and the Chinese font faces the
program's resources name ("宋体", "黑体") replaced by an installed CJK font.

Run as a script, it runs one Windows program in such a session:
    windows_session.py PROGRAM.exe [ARGS...]
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x11_session import X11Session  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(REPO, "scripts", "wine-run.sh")
CJK_FONT = "WenQuanYi Micro Hei"
# The faces the templates and the notice name, in Chinese and in English.
REPLACED_FACES = ["宋体", "SimSun", "新宋体", "NSimSun", "黑体", "SimHei"]


class WineSession(X11Session):
    def __init__(self, width=1280, height=1024, name="x11", virtual_desktop=False):
        super().__init__(width, height)
        # A prefix of our own: the shared one's wineserver may be bound to
        # another display, and the font replacements are ours to make.
        self.prefix = os.path.join(os.environ.get("TMPDIR", "/tmp"), f"lumivar-wine-{name}-{os.getuid()}")
        self.env["WINEPREFIX"] = self.prefix
        self.env.setdefault("WINEDEBUG", "-all")
        # A crash ends the program instead of waiting in the debugger.
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winedbg.exe=d"
        self._replace_fonts()
        if virtual_desktop:
            self._use_virtual_desktop()

    def _replace_fonts(self):
        marker = os.path.join(self.prefix, ".lumivar-fonts")
        if os.path.exists(marker):
            return
        for face in REPLACED_FACES:
            self.wine("reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", face,
                      "/d", CJK_FONT, "/f", check=True)
        with open(marker, "w") as file:
            file.write(CJK_FONT + "\n")

    def _use_virtual_desktop(self):
        """Every program of the prefix in one Wine desktop filling the screen,
        where Wine draws the window frames itself (Xvfb has no window manager)."""
        self.wine("reg", "add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d", "Default",
                  "/f", check=True)
        self.wine("reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default",
                  "/d", f"{self.width}x{self.height}", "/f", check=True)

    def wine(self, *argv, check=False, **kwargs):
        """Runs a Windows program to its end; returns the CompletedProcess."""
        kwargs.setdefault("capture_output", True)
        result = subprocess.run([WINE_RUN, *argv], env=self.env, text=True, **kwargs)
        if check and result.returncode != 0:
            raise AssertionError(f"{argv[0]} failed ({result.returncode}): {result.stderr}")
        return result

    def start_wine(self, *argv, **kwargs):
        return self.start([WINE_RUN, *argv], **kwargs)

    def close(self):
        super().close()
        # Its programs would otherwise stay bound to a display that is gone.
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True, timeout=30)


def main(argv):
    session = WineSession()
    try:
        result = session.wine(*argv, capture_output=False)
        return result.returncode
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
