#!/usr/bin/env python3
"""Benchmarks the Linux program side by side with KShutdown and with a floor
(bench/floor: the least a Qt dialog refreshing a clock once a second costs).

Run from the repository root: bench/run.py [--quick]

Builds the Release program and the floor in build/bench, starts a private
Xvfb display, a tray host and a private session bus, measures start-up, idle
cost with the window shown and armed in the tray, the dry-run power-off's
offset and the schedule tick's regularity under load, prints one table and
writes it to docs/benchmarks.md. Nothing here can power the machine off: our
program runs with --dry-run, KShutdown only with its --test action, and every
program sees a system bus address that leads nowhere.
"""

import argparse
import ctypes
import datetime
import os
import platform
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
BUILD = REPO / "build" / "bench"
DOC = REPO / "docs" / "benchmarks.md"

PACKAGES = [
    "cmake", "ninja-build", "g++", "pkg-config", "qt6-base-dev", "libgl-dev",
    "xvfb", "trayer", "xdotool", "x11-utils", "dbus-daemon", "libx11-6",
    "fonts-wqy-microhei", "kshutdown",
]

OUR_TITLE = "Tarnholt定时关机管理程序"
FLOOR_TITLE = "bench-floor"
MIN_MAIN_WINDOW = 64  # pixels, the longer side: a tray icon is smaller
SETTLE_S = 5  # after start-up work, before an idle window opens


def log(*parts):
    print("[bench]", *parts, file=sys.stderr, flush=True)


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, **kw)


# --- setup ---------------------------------------------------------------

def ensure_packages():
    missing = []
    for package in PACKAGES:
        status = subprocess.run(["dpkg-query", "-W", "-f=${Status}", package],
                                capture_output=True, text=True).stdout
        if status != "install ok installed":
            missing.append(package)
    if not missing:
        return
    log("installing:", " ".join(missing))
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    run(sudo + ["apt-get", "update", "-qq"], env=env)
    run(sudo + ["apt-get", "install", "-y", "-qq", "--no-install-recommends"] + missing, env=env)


def build():
    log("building the Release program and the floor in", BUILD)
    run(["cmake", "-S", str(REPO), "-B", str(BUILD), "-G", "Ninja",
         "-DCMAKE_BUILD_TYPE=Release", "-DLUMIVAR_BUILD_TESTS=OFF"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", str(BUILD), "--target", "lumivar"], stdout=subprocess.DEVNULL)
    floor_build = BUILD / "floor"
    run(["cmake", "-S", str(REPO / "bench" / "floor"), "-B", str(floor_build), "-G", "Ninja",
         "-DCMAKE_BUILD_TYPE=Release"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", str(floor_build)], stdout=subprocess.DEVNULL)
    return BUILD / "lumivar", floor_build / "floor"


class Session:
    """A private display with a tray host and a session bus without service
    activation (so no desktop daemon is spawned behind a program's back)."""

    def __init__(self, root: Path):
        self.root = root
        self.procs = []
        run_dir = root / "run"
        run_dir.mkdir(mode=0o700)
        home = root / "home"
        home.mkdir()

        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"],
                                pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        os.close(write_fd)
        self.procs.append(xvfb)
        with os.fdopen(read_fd) as pipe:
            self.display = ":" + pipe.readline().strip()

        bus_conf = root / "session-bus.conf"
        bus_conf.write_text(f"""<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={run_dir}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
""")
        bus = subprocess.Popen(["dbus-daemon", "--nofork", "--config-file", str(bus_conf),
                                "--print-address=1"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
        self.procs.append(bus)
        bus_address = bus.stdout.readline().strip()

        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "LANG": "C.UTF-8",
            "DISPLAY": self.display,
            "HOME": str(home),
            "XDG_CONFIG_HOME": str(home / ".config"),
            "XDG_CACHE_HOME": str(home / ".cache"),
            "XDG_DATA_HOME": str(home / ".local" / "share"),
            "XDG_RUNTIME_DIR": str(run_dir),
            "DBUS_SESSION_BUS_ADDRESS": bus_address,
            # Whatever a program asks of the system bus goes nowhere.
            "DBUS_SYSTEM_BUS_ADDRESS": f"unix:path={root}/no-system-bus",
            "QT_QPA_PLATFORM": "xcb",
        }
        self.x = XWatcher(self.display)
        trayer = subprocess.Popen(["trayer", "--edge", "top", "--align", "right",
                                   "--widthtype", "request", "--height", "24"],
                                  env=self.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        self.procs.append(trayer)
        if self.x.wait_map(trayer.pid, 10, min_size=1, any_pid=True) is None:
            raise RuntimeError("the tray host did not come up")
        time.sleep(0.5)

    def close(self):
        for proc in reversed(self.procs):
            stop(proc)


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


# --- X: waiting for a main window to be mapped -----------------------------

class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


class XWatcher:
    """Watches the root window for top-level windows being mapped: the moment
    a program's main window becomes visible, without polling."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    def __init__(self, display):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        x.XGetGeometry.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
            ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_uint),
            ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_uint)]
        x.XFree.argtypes = [ctypes.c_void_p]
        # A window gone before we look at it must not end the bench.
        self._handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda d, e: 0)
        x.XSetErrorHandler(self._handler)
        self.x = x
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        x.XSelectInput(self.dpy, x.XDefaultRootWindow(self.dpy), self.SUBSTRUCTURE_NOTIFY_MASK)
        x.XFlush(self.dpy)
        self.fd = x.XConnectionNumber(self.dpy)
        self.pid_atom = x.XInternAtom(self.dpy, b"_NET_WM_PID", 0)

    def drain(self):
        event = XEvent()
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(event))

    def window_pid(self, window):
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.x.XGetWindowProperty(
            self.dpy, window, self.pid_atom, 0, 1, 0, 6, ctypes.byref(actual_type),
            ctypes.byref(actual_format), ctypes.byref(count), ctypes.byref(after),
            ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[0] if count.value else None
        self.x.XFree(data)
        return pid

    def window_size(self, window):
        root, px, py = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
        w, h, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        if not self.x.XGetGeometry(self.dpy, window, ctypes.byref(root), ctypes.byref(px),
                                   ctypes.byref(py), ctypes.byref(w), ctypes.byref(h),
                                   ctypes.byref(border), ctypes.byref(depth)):
            return 0, 0
        return w.value, h.value

    def wait_map(self, pid, timeout, min_size=MIN_MAIN_WINDOW, any_pid=False):
        """(monotonic time, window) of the first top-level window of `pid`
        mapped with a side of at least `min_size` pixels; None on timeout."""
        deadline = time.monotonic() + timeout
        event = XEvent()
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                if event.type != self.MAP_NOTIFY:
                    continue
                seen = time.monotonic()
                window = event.xmap.window
                if not any_pid and self.window_pid(window) != pid:
                    continue
                if max(self.window_size(window)) >= min_size:
                    return seen, window
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                return None
            select.select([self.fd], [], [], remaining)


def window_state(window, display):
    out = subprocess.run(["xwininfo", "-id", str(window), "-display", display],
                         capture_output=True, text=True).stdout
    match = re.search(r"Map State: (\w+)", out)
    return match.group(1) if match else "Gone"


def window_names(pid, display):
    out = subprocess.run(["xdotool", "search", "--pid", str(pid)], capture_output=True,
                         text=True, env=dict(os.environ, DISPLAY=display)).stdout
    names = []
    for window in out.split():
        names.append(subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                                    text=True, env=dict(os.environ, DISPLAY=display)
                                    ).stdout.strip())
    return names


# --- the programs ----------------------------------------------------------

def far_time():
    """A time of day about 22 hours away, so no schedule fires during a run."""
    return (datetime.datetime.now() - datetime.timedelta(hours=2)).time()


def write_setup(directory: Path, target: datetime.time):
    directory.mkdir(parents=True, exist_ok=True)
    (directory / "Setup.ini").write_text(
        f"[MODE]\nMode=1006\n[USER]\nHour={target.hour}\nMinute={target.minute}\n"
        f"Second={target.second}\n[NOTICE]\nShow=0\n")


class Program:
    def __init__(self, session, name, argv, cwd, log_path, shows_window=True):
        self.session = session
        self.name = name
        session.x.drain()
        self.log_file = open(log_path, "w")
        self.started = time.monotonic()
        self.proc = subprocess.Popen(argv, cwd=cwd, env=session.env, stdout=self.log_file,
                                     stderr=subprocess.STDOUT)
        self.mapped = self.window = None
        if not shows_window:
            return
        mapped = session.x.wait_map(self.proc.pid, 30)
        if mapped is None:
            self.stop()
            raise RuntimeError(f"{name}: no main window within 30 s; see {log_path}")
        self.mapped, self.window = mapped

    @property
    def pid(self):
        return self.proc.pid

    def startup_ms(self):
        return (self.mapped - self.started) * 1000

    def stop(self):
        stop(self.proc)
        self.log_file.close()


def start_ours(session, exe, work, extra=(), target=None):
    write_setup(work, target or far_time())
    return Program(session, "ours", [str(exe), "--dry-run", *extra], work,
                   work / "output.txt")


def arm_ours(program):
    """Enter on the focused main window arms the selected custom slot and
    sends the window to the tray."""
    env = program.session.env
    run(["xdotool", "windowfocus", "--sync", str(program.window)], env=env)
    run(["xdotool", "key", "Return"], env=env)
    deadline = time.monotonic() + 5
    while window_state(program.window, program.session.display) == "IsViewable":
        if time.monotonic() > deadline:
            raise RuntimeError("ours: Enter did not send the window to the tray")
        time.sleep(0.02)


def ours_armed(program):
    return window_state(program.window, program.session.display) != "IsViewable"


def start_kshutdown(session, work, *args):
    work.mkdir(parents=True, exist_ok=True)
    shows_window = "--init" not in args
    program = Program(session, "KShutdown", ["kshutdown", *args], work, work / "output.txt",
                      shows_window)
    if "--test" in args:
        deadline = time.monotonic() + 30
        while not kshutdown_armed(program):
            if time.monotonic() > deadline or program.proc.poll() is not None:
                program.stop()
                raise RuntimeError("KShutdown did not arm its --test action")
            time.sleep(0.05)
    return program


def kshutdown_armed(program):
    """Armed, KShutdown's main window (shown or not) names the time left."""
    return any("Remaining time" in name
               for name in window_names(program.pid, program.session.display))


def start_floor(session, exe, work):
    work.mkdir(parents=True, exist_ok=True)
    return Program(session, "floor", [str(exe)], work, work / "output.txt")


# --- /proc -----------------------------------------------------------------

CLOCK_TICK = os.sysconf("SC_CLK_TCK")


def snapshot(pid):
    proc = Path("/proc") / str(pid)
    stat = (proc / "stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()
    cpu_s = (int(fields[11]) + int(fields[12])) / CLOCK_TICK  # utime, stime
    runtime_ns = switches = threads = 0
    for task in (proc / "task").iterdir():
        try:
            runtime_ns += int((task / "schedstat").read_text().split()[0])
            status = (task / "status").read_text()
        except FileNotFoundError:
            continue
        threads += 1
        for key in ("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches"):
            switches += int(re.search(rf"^{key}:\s+(\d+)", status, re.M).group(1))
    hwm = re.search(r"^VmHWM:\s+(\d+) kB", (proc / "status").read_text(), re.M)
    return {"cpu_s": cpu_s, "runtime_ns": runtime_ns, "switches": switches,
            "threads": threads, "hwm_mb": int(hwm.group(1)) / 1024,
            "thread_names": thread_names(proc)}


def thread_names(proc):
    names = []
    for task in (proc / "task").iterdir():
        try:
            names.append((task / "comm").read_text().strip())
        except FileNotFoundError:
            pass
    return sorted(names)


def idle_figures(before, after, seconds):
    return {
        "cpu_s": after["cpu_s"] - before["cpu_s"],
        "cpu_ms": (after["runtime_ns"] - before["runtime_ns"]) / 1e6,
        "hwm_mb": after["hwm_mb"],
        "threads": after["threads"],
        "switches_per_s": (after["switches"] - before["switches"]) / seconds,
    }


# --- the measurements ------------------------------------------------------

def measure_startup(session, exes, root, runs):
    ours_exe, floor_exe = exes
    results = {"ours": [], "KShutdown": [], "floor": []}
    starters = {
        "ours": lambda w: start_ours(session, ours_exe, w),
        "KShutdown": lambda w: start_kshutdown(session, w),
        "floor": lambda w: start_floor(session, floor_exe, w),
    }
    for round_ in range(runs + 1):  # round 0 warms the caches and is dropped
        for name, start in starters.items():
            program = start(root / f"startup-{name}")
            if round_:
                results[name].append(program.startup_ms())
            program.stop()
            time.sleep(0.5)
    log("start-up ms:", {k: [round(v) for v in vs] for k, vs in results.items()})
    return results


def measure_idle(session, exes, root, runs, window_s):
    """Our program, KShutdown and the floor run at the same time, each idle,
    so that all three see the same machine during the same window."""
    ours_exe, floor_exe = exes
    results = {}
    names_seen = {}
    for state in ("shown", "tray"):
        for round_ in range(runs):
            target = far_time()
            ks_time = target.strftime("%H:%M")
            ours = start_ours(session, ours_exe, root / f"idle-ours-{state}", target=target)
            if state == "tray":
                arm_ours(ours)
                ks = start_kshutdown(session, root / f"idle-ks-{state}", "--init", "--test",
                                     ks_time)
            else:
                ks = start_kshutdown(session, root / f"idle-ks-{state}", "--test", ks_time)
            floor = start_floor(session, floor_exe, root / f"idle-floor-{state}")
            programs = {"ours": ours, "KShutdown": ks, "floor": floor}
            try:
                if not kshutdown_armed(ks):
                    raise RuntimeError("KShutdown did not arm its --test action")
                time.sleep(SETTLE_S)
                before = {n: snapshot(p.pid) for n, p in programs.items()}
                time.sleep(window_s)
                after = {n: snapshot(p.pid) for n, p in programs.items()}
                if state == "tray" and not ours_armed(ours):
                    raise RuntimeError("ours left the tray during the idle window")
                for name, program in programs.items():
                    if program.proc.poll() is not None:
                        raise RuntimeError(f"{name} ended during the idle window")
                    figures = idle_figures(before[name], after[name], window_s)
                    for key, value in figures.items():
                        results.setdefault((state, key), {}).setdefault(name, []).append(value)
                    names_seen[(state, name)] = after[name]["thread_names"]
            finally:
                for program in programs.values():
                    program.stop()
            log(f"idle {state} round {round_ + 1}: done")
            time.sleep(0.5)
    return results, names_seen


DRY_RUN_LINE = re.compile(r"dry-run: power-off requested at (\d\d):(\d\d):(\d\d)\.(\d\d\d)")
TICK_LINE = re.compile(r"^tick (\d\d):(\d\d):(\d\d)\.(\d\d\d)$", re.M)


def measure_dry_run_offsets(session, ours_exe, root, runs, lead_s=5):
    offsets = []
    for i in range(runs):
        target = (datetime.datetime.now() + datetime.timedelta(seconds=lead_s)).replace(
            microsecond=0)
        work = root / f"dry-run-{i}"
        ours = start_ours(session, ours_exe, work, target=target.time())
        try:
            arm_ours(ours)
            deadline = time.monotonic() + lead_s + 5
            match = None
            while match is None and time.monotonic() < deadline:
                time.sleep(0.05)
                match = DRY_RUN_LINE.search((work / "output.txt").read_text())
        finally:
            ours.stop()
        if match is None:
            raise RuntimeError(f"no dry-run line in run {i + 1}; see {work / 'output.txt'}")
        h, m, s, ms = map(int, match.groups())
        late_s = (h * 3600 + m * 60 + s) - (target.hour * 3600 + target.minute * 60 + target.second)
        late_s = (late_s + 43200) % 86400 - 43200  # across midnight
        offsets.append(late_s * 1000 + ms)
        time.sleep(0.3)
    log("dry-run offsets ms:", offsets)
    return offsets


def busy_cpu():
    cpus = sorted(os.sched_getaffinity(0))
    return cpus[-1]


def measure_tick_run(session, ours_exe, root, duration_s):
    """Armed with a far target for `duration_s` while a busy loop holds one
    core: every wall-clock second must see exactly one tick."""
    cpu = busy_cpu()
    busy = subprocess.Popen(["taskset", "-c", str(cpu), sys.executable, "-c",
                             "while True: pass"])
    work = root / "tick-run"
    ours = start_ours(session, ours_exe, work, extra=["--trace-ticks"])
    try:
        arm_ours(ours)
        time.sleep(duration_s)
        alive = ours.proc.poll() is None
    finally:
        ours.stop()
        stop(busy)
    if not alive:
        raise RuntimeError("ours ended during the tick run")
    result = count_ticks(TICK_LINE.findall((work / "output.txt").read_text()))
    if result["span"] < duration_s - 2:  # ticks stopped, or never came
        raise RuntimeError(f"ticks cover {result['span']} s of {duration_s}; see {work}")
    log(f"tick run: {result['ticks']} ticks over {result['span']} s, missed "
        f"{result['missed']}, doubled {result['doubled']}")
    return dict(result, busy_cpu=cpu)


def count_ticks(ticks):
    """Ticks as (HH, MM, SS, mmm) texts, in order: how many of the wall-clock
    seconds from the first to the last had no tick, and how many extra ticks
    fell in a second that already had one."""
    seconds, offsets, day = [], [], 0
    for h, m, s, ms in (tuple(map(int, tick)) for tick in ticks):
        second = h * 3600 + m * 60 + s + day
        if seconds and second < seconds[-1] - 43200:  # past midnight
            day += 86400
            second += 86400
        seconds.append(second)
        offsets.append(ms)
    counts = {}
    for second in seconds:
        counts[second] = counts.get(second, 0) + 1
    span = seconds[-1] - seconds[0] + 1 if seconds else 0
    missed = span - len(counts)
    doubled = sum(n - 1 for n in counts.values())
    return {"ticks": len(seconds), "span": span, "missed": missed, "doubled": doubled,
            "offsets": offsets}


# --- the table ---------------------------------------------------------------

def summary(values, digits):
    fmt = f"{{:.{digits}f}}"
    med = statistics.median(values)
    if len(values) == 1:
        return med, fmt.format(med)
    return med, f"{fmt.format(med)} ({fmt.format(min(values))}–{fmt.format(max(values))})"


def ratio(a, b):
    return f"{a / b:.2f}" if b else "–"


def build_table(startup, idle, offsets, tick):
    rows = []
    verdicts = []

    def add(label, per_program, digits, target=None):
        cells, medians = [], {}
        for name in ("ours", "KShutdown", "floor"):
            medians[name], text = summary(per_program[name], digits)
            cells.append(text)
        verdict = ""
        if target:
            met, text = target(medians)
            verdict = f"{'met' if met else 'MISSED'}: {text}"
            verdicts.append((label, met))
        rows.append([label, *cells, ratio(medians["ours"], medians["KShutdown"]),
                     ratio(medians["ours"], medians["floor"]), verdict])

    add("Start-up to main window mapped (ms)", startup, 0,
        lambda m: (m["ours"] <= 0.5 * m["KShutdown"], "≤ ½ KShutdown"))
    for state, caption in (("shown", "window shown"), ("tray", "armed in the tray")):
        add(f"CPU over the window, utime+stime (s), {caption}", idle[(state, "cpu_s")], 2)
        add(f"CPU over the window, scheduler runtime (ms), {caption}",
            idle[(state, "cpu_ms")], 1,
            lambda m: (m["ours"] <= 1.5 * m["floor"], "≤ 1.5 × floor"))
        add(f"Peak resident memory, VmHWM (MB), {caption}", idle[(state, "hwm_mb")], 1,
            lambda m: (m["ours"] <= 0.5 * m["KShutdown"] and m["ours"] <= m["floor"] + 15,
                       "≤ ½ KShutdown and ≤ floor + 15 MB"))
        add(f"Threads, {caption}", idle[(state, "threads")], 0)
        add(f"Context switches per second, all threads, {caption}",
            idle[(state, "switches_per_s")], 2,
            lambda m: (m["ours"] <= 1.5 * m["floor"], "≤ 1.5 × floor"))

    header = ["Figure", "Lumivar", "KShutdown", "Floor", "ours/KShutdown", "ours/floor",
              "Target"]
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(row) + " |" for row in rows]

    off_med = statistics.median(offsets)
    off_worst = max(offsets, key=abs)
    met_offset = off_med < 50 and abs(off_worst) < 200
    verdicts.append(("dry-run offset", met_offset))
    tick_ok = tick["missed"] == 0 and tick["doubled"] == 0
    verdicts.append(("tick run", tick_ok))
    tick_med = statistics.median(tick["offsets"]) if tick["offsets"] else float("nan")
    tick_max = max(tick["offsets"]) if tick["offsets"] else float("nan")
    own = [
        "| Figure (Lumivar only) | Value | Target |",
        "|---|---|---|",
        f"| Dry-run line after the target second begins, {len(offsets)} runs (ms) | "
        f"median {off_med:.0f}, worst {off_worst:.0f} (all: {', '.join(map(str, offsets))}) | "
        f"{'met' if met_offset else 'MISSED'}: median < 50, worst < 200 |",
        f"| Tick run: {tick['span']} wall-clock seconds armed, one core busy | "
        f"{tick['ticks']} ticks, {tick['missed']} seconds missed, {tick['doubled']} doubled | "
        f"{'met' if tick_ok else 'MISSED'}: none missed or doubled |",
        f"| Tick run: tick after its second begins (ms) | median {tick_med:.0f}, "
        f"worst {tick_max:.0f} | – |",
    ]
    return "\n".join(lines), "\n".join(own), verdicts


def machine():
    def query(package):
        return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                              capture_output=True, text=True).stdout or "?"
    model = "?"
    for line in Path("/proc/cpuinfo").read_text().splitlines():
        if line.startswith("model name"):
            model = line.split(":", 1)[1].strip()
            break
    return [
        f"- Cores: {os.cpu_count()} (`nproc`: {len(os.sched_getaffinity(0))}), {model}",
        f"- Kernel: {platform.release()}; {Path('/etc/debian_version').read_text().strip()}"
        " Debian",
        f"- Qt (ours and the floor): {query('libqt6core6')}",
        f"- KShutdown: {query('kshutdown')} (on Qt {query('libqt5core5a')}, KDE Frameworks "
        f"{query('libkf5coreaddons5')})",
    ]


METHOD = """\
## How it is measured

- Everything runs on a private Xvfb display (1280×1024×24) with `trayer` as
  the tray host, no window manager, and a private session bus without
  service activation. Every program sees a system bus address that leads
  nowhere, so nothing can reach logind. Lumivar runs with `--dry-run` in a
  temporary directory whose `Setup.ini` selects the custom slot, a time of
  day about 22 hours away, and the countdown off; KShutdown runs only its
  `--test` action (a message, no shutdown) at the same time of day.
- Floor: `bench/floor`, a Qt 6 dialog with one label refreshed once a second
  by a precise timer. It has no tray icon and keeps its window shown in both
  states.
- Start-up: from just before the program is started to the MapNotify of its
  main window (a top-level window of its process with a side of at least 64
  pixels, so not a tray icon), read from X events on the root window, not polled. One warm-up round
  of the three is dropped; then the three take turns.
- Idle: the three programs run at the same time. After start-up and 5 s to
  settle, a window of the given length: CPU as utime+stime from
  `/proc/PID/stat` (10 ms steps) and as the sum of the threads' scheduler
  run time (`/proc/PID/task/*/schedstat`, nanoseconds; the target is judged
  on this one); VmHWM from `/proc/PID/status` at the end; threads in
  `/proc/PID/task` at the end; voluntary and involuntary context switches
  of all threads, per second. Window shown: Lumivar's main window with its
  clock; KShutdown's main window counting down to its armed `--test` action.
  Armed in the tray: Lumivar armed with Enter on its focused window;
  KShutdown started with `--init --test HH:MM` (window hidden, armed).
- Dry-run offset: Lumivar armed about 5 s ahead; the milliseconds of its
  `dry-run: power-off requested at HH:MM:SS.mmm` line past the start of the
  target second.
- Tick run: Lumivar armed far ahead with `--trace-ticks` (a `tick HH:MM:SS.mmm`
  line on standard error per schedule tick) while a Python busy loop is
  pinned to one core; every wall-clock second between the first and last tick
  must have exactly one tick.
- Figures are medians, with min–max in brackets; ratios are of medians.
"""


def write_doc(table, own, command, when, durations):
    findings = ""
    if DOC.exists():
        old = DOC.read_text()
        index = old.find("\n## Findings")
        if index >= 0:
            findings = old[index:]
    text = "\n".join([
        "# Benchmarks: Lumivar, KShutdown and a floor",
        "",
        "Written by `bench/run.py`; do not edit above the Findings section, which",
        "the script keeps when it rewrites this file.",
        "",
        f"Made on {when} by `{command}` ({durations}).",
        "",
        *machine(),
        "",
        table,
        "",
        own,
        "",
        METHOD,
    ]) + findings
    if not text.endswith("\n"):
        text += "\n"
    DOC.write_text(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="fewer runs, a 15 s idle window and a 2-minute tick run")
    parser.add_argument("--no-doc", action="store_true", help="print the table only")
    args = parser.parse_args()
    if args.quick:
        startup_runs, idle_runs, idle_s, dry_runs, tick_s = 3, 1, 15, 3, 120
    else:
        startup_runs, idle_runs, idle_s, dry_runs, tick_s = 7, 3, 60, 10, 600
    durations = (f"{startup_runs} start-ups each, {idle_runs} idle windows of {idle_s} s per "
                 f"state, {dry_runs} dry-runs, a {tick_s // 60}-minute tick run")
    when = datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z")
    command = "bench/run.py" + (" --quick" if args.quick else "")

    ensure_packages()
    exes = build()
    root = Path(tempfile.mkdtemp(prefix="lumivar-bench-"))
    session = Session(root)
    log("display", session.display, "scratch", root)
    try:
        startup = measure_startup(session, exes, root, startup_runs)
        idle, threads_seen = measure_idle(session, exes, root, idle_runs, idle_s)
        offsets = measure_dry_run_offsets(session, exes[0], root, dry_runs)
        tick = measure_tick_run(session, exes[0], root, tick_s)
    except BaseException:
        log("failed; the programs' output is kept in", root)
        raise
    finally:
        session.close()
    for (state, name), names in sorted(threads_seen.items()):
        log(f"threads, {name}, {state}: {', '.join(names)}")
    table, own, verdicts = build_table(startup, idle, offsets, tick)
    print(table)
    print()
    print(own)
    missed = [label for label, met in verdicts if not met]
    print()
    print("Targets missed:", ", ".join(missed) if missed else "none")
    if not args.no_doc:
        write_doc(table, own, command, when, durations)
        log("wrote", DOC.relative_to(REPO))
    shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    main()
