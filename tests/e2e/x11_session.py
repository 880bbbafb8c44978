"""A throwaway X11 session for end-to-end tests: Xvfb, a session bus, a tray
host, and the small queries the tests make with xdotool, xwininfo and xprop.

With LUMIVAR_E2E_MIDNIGHT=1 set, a test that picks its target through
session.target() arms 00:00:15: just before, the session's clock is set to
read the lead before that, for the programs it starts from then on (Linux and
Wine alike) and for the test itself. The countdown then opens before the day
ends and the power-off comes after it, which midnight_failure() checks."""

import contextlib
import datetime
import os
import re
import select
import subprocess
import sys
import tempfile
import time

MIDNIGHT = os.environ.get("LUMIVAR_E2E_MIDNIGHT") == "1"
MIDNIGHT_TARGET = datetime.time(0, 0, 15)
BUS_CONFIG = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support",
                          "private-bus.conf")


class X11Session:
    def __init__(self, width=1280, height=1024):
        self.width, self.height = width, height
        self._processes = []
        self.env = dict(os.environ)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.display = self.env["DISPLAY"] = self._start_server()
        self.bus_address = self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_bus()

    def target(self, lead):
        """The time to arm, `lead` seconds ahead in whole seconds; in a
        midnight run 00:00:15, with the clock set to read `lead` seconds before."""
        if MIDNIGHT:
            start = datetime.datetime.combine(datetime.date.today(), MIDNIGHT_TARGET)
            self._set_clock((start - datetime.timedelta(seconds=lead)).time())
        return (self.now() + datetime.timedelta(seconds=lead)).replace(microsecond=0)

    def _set_clock(self, time_of_day):
        """A time zone of its own, whose clock reads `time_of_day` now: the
        programs read local time, and Wine takes its zone from TZ too. Only
        the offset is made up; the clock itself and every timer stay true."""
        utc = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
        wanted = datetime.datetime.combine(utc.date(), time_of_day, tzinfo=datetime.timezone.utc)
        west = int((utc - wanted).total_seconds()) % 86400  # POSIX counts west of UTC
        # Three letters: the Windows C runtime reads TZ too, and takes three.
        zone = f"LMV+{west // 3600:02d}:{west // 60 % 60:02d}:{west % 60:02d}"
        self.env["TZ"] = os.environ["TZ"] = zone
        time.tzset()

    def now(self):
        """The local time, as the session's programs read it."""
        return datetime.datetime.now()

    def _start_server(self):
        """Xvfb picks a free display itself and writes its number once it
        accepts clients: guessing a number from /tmp races with other servers
        and stale files."""
        read_fd, write_fd = os.pipe()
        server = self._start(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                              f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
                             pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            ready, _, _ = select.select([pipe], [], [], 10)
            number = pipe.readline().strip() if ready else ""
        if not number:
            server.kill()
            raise AssertionError(f"Xvfb did not start (exit status {server.poll()})")
        return f":{number}"

    def _start_bus(self):
        """A session bus of the session's own, as a desktop login has one: the
        program keeps to one copy per session bus. Left unset, libdbus would
        start a bus per display by itself, and leave it running."""
        daemon = self._start(["dbus-daemon", f"--config-file={BUS_CONFIG}", "--nofork",
                              "--print-address"], stdout=subprocess.PIPE)
        address = daemon.stdout.readline().decode().strip()
        if not address:
            self.close()
            raise AssertionError(f"dbus-daemon did not start (exit status {daemon.poll()})")
        return address

    def _start(self, argv, **kwargs):
        process = subprocess.Popen(argv, env=kwargs.pop("env", self.env), stdin=subprocess.DEVNULL,
                                   stdout=kwargs.pop("stdout", subprocess.DEVNULL),
                                   stderr=kwargs.pop("stderr", subprocess.DEVNULL), **kwargs)
        self._processes.append(process)
        return process

    def start_tray_host(self):
        """trayer: a plain XEmbed system tray in the top right corner. Started
        a second time if the first one dies, saying why when both do."""
        for _ in range(2):
            log = tempfile.TemporaryFile(mode="w+")
            trayer = self._start(["trayer", "--edge", "top", "--align", "right",
                                  "--widthtype", "request", "--height", "32",
                                  "--SetDockType", "true", "--expand", "true"], stderr=log)
            wait_while(lambda: trayer.poll() is None and not self.tray_host_window(), 10)
            if self.tray_host_window():
                self._tray_host = trayer
                return
            if trayer.poll() is None:
                trayer.kill()
            log.seek(0)
            reason = f"exit status {trayer.poll()}, stderr: {log.read().strip()!r}"
        raise AssertionError(f"trayer did not start ({reason})")

    def start_window_manager(self, name):
        """A window manager, once it has taken the screen (it sets
        _NET_SUPPORTING_WM_CHECK on the root window)."""
        self._start([name])
        wait_for(lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), 10,
                 f"{name} did not start")

    def stop_tray_host(self):
        """Ends the tray host as a crashing panel would, taking its icons with it."""
        self._tray_host.kill()
        self._tray_host.wait(5)
        wait_for(lambda: not self.tray_host_window(), 5, "the tray host window stayed")

    def start(self, argv, **kwargs):
        return self._start(argv, **kwargs)

    def close(self):
        for process in reversed(self._processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()

    # Queries
    def run(self, *argv):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True)
        return result.stdout if result.returncode == 0 else ""

    def visible_windows(self, **query):
        args = ["xdotool", "search", "--onlyvisible"]
        for key, value in query.items():
            args += [f"--{key}", str(value)]
        return [int(w) for w in self.run(*args).split()]

    def geometry(self, window):
        """(x, y, width, height) of a window, in root coordinates."""
        info = self.run("xwininfo", "-id", str(window))
        values = {key: int(value) for key, value in
                  re.findall(r"(Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", info)}
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
                values["Width"], values["Height"])

    def property(self, window, name):
        return self.run("xprop", "-id", str(window), name)

    def stacking(self):
        """The top-level windows, topmost first."""
        children = self.run("xwininfo", "-root", "-children")
        return [int(w, 16) for w in re.findall(r"^\s+(0x[0-9a-f]+) ", children, re.M)]

    def tray_host_window(self):
        windows = self.run("xdotool", "search", "--class", "trayer").split()
        return int(windows[0]) if windows else None

    def tray_icons(self, instance):
        """Icon-sized windows of WM_CLASS instance `instance` embedded in the
        tray host (XEmbed reparents them into it, away from the root)."""
        icons = []
        for line in self.run("xwininfo", "-root", "-tree").splitlines():
            match = re.match(r'\s*(0x[0-9a-f]+) .*\("' + re.escape(instance) + r'" .*\)\s+(\d+)x(\d+)', line)
            if match and int(match.group(2)) <= 64 and int(match.group(3)) <= 64:
                window = int(match.group(1), 16)
                if "IsViewable" in self.run("xwininfo", "-id", str(window)):
                    icons.append(window)
        return icons

    def wait_until_settled(self, window, seconds=5):
        """Waits until the window keeps its place and size for a moment, as
        an icon does once the tray host has docked and sized it."""
        last = None
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            now = self.geometry(window)
            if now == last:
                return
            last = now
            time.sleep(0.25)
        raise AssertionError(f"window {window:#x} kept moving")

    def focus(self, window):
        self.run("xdotool", "windowfocus", "--sync", str(window))

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "50", *keys)

    def double_click(self, window):
        self.click(window, "--repeat", "2", "--delay", "80", "1")

    def click(self, window, *args):
        """Clicks in the middle of a window; `args` are xdotool click's."""
        x, y, width, height = self.geometry(window)
        self.run("xdotool", "mousemove", "--sync", str(x + width // 2), str(y + height // 2))
        self.run("xdotool", "click", *args)

    def screenshot(self, path):
        self.run("import", "-window", "root", path)


def midnight_failure(countdown, power_off):
    """In a midnight run, what is wrong with the times of day at which the
    countdown opened and the power-off came (None when nothing is, or in
    another run): the first must fall before midnight, the second after it,
    in the target second. A run that did not cross, for whatever reason, fails."""
    if MIDNIGHT and not (countdown >= datetime.time(23, 59)
                         and power_off.replace(microsecond=0) == MIDNIGHT_TARGET):
        return (f"midnight not crossed: the countdown opened at {countdown}, the power-off came "
                f"at {power_off}, for a target of {MIDNIGHT_TARGET}")
    return None


def wait_while(busy, seconds):
    """Polls until busy() turns false; false when it never did in time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not busy():
            return True
        time.sleep(0.05)
    return False


def wait_for(condition, seconds, message):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(message)


@contextlib.contextmanager
def e2e_session(name, tray_host=True):
    """A session and a scratch folder for one test, with a tray host unless
    told otherwise; the screen is kept as <tmp>/<name>-failure.png when the
    test fails."""
    session = X11Session()
    workdir = tempfile.TemporaryDirectory(prefix=f"{name}-")
    try:
        if tray_host:
            session.start_tray_host()
        yield session, workdir.name
    except BaseException:
        shot = os.path.join(tempfile.gettempdir(), f"{name}-failure.png")
        session.screenshot(shot)
        print(f"screenshot of the failure: {shot}", file=sys.stderr)
        raise
    finally:
        session.close()
        workdir.cleanup()
