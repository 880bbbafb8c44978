"""Driving the built Linux program from outside, as a user would, on an
X11Session: its settings file, arming, the tray and the exit question."""

import json
import os
import re
import subprocess

from x11_session import wait_for

TITLE = "Tarnholt定时关机管理程序"
RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res",
                         "resources.json")


def write_setup(workdir, target, notice=True):
    path = os.path.join(workdir, "Setup.ini")
    with open(path, "w", newline="") as f:
        f.write(f"[USER]\r\nHour={target.hour}\r\nMinute={target.minute}\r\n"
                f"Second={target.second}\r\n[NOTICE]\r\nShow={int(notice)}\r\n"
                f"[MODE]\r\nMode=1006\r\n")
    return path


def main_window(session, seconds=15):
    return wait_for(lambda: session.visible_windows(name=TITLE), seconds,
                    "the main window is not shown")[0]


def arm_with_enter(session, xembed=True):
    """Enter in the freshly opened window arms the selected slot; returns the
    tray icon the window retreats to on an XEmbed tray (a StatusNotifierItem
    host draws the icon itself: there is no window to return)."""
    session.focus(main_window(session))
    session.key("Return")
    wait_for(lambda: not session.visible_windows(name=TITLE), 5, "arming did not hide the window")
    if xembed:
        return wait_for(lambda: session.tray_icons("lumivar"), 5, "no tray icon after arming")[0]
    return None


def restore_from_tray(session, icon):
    session.double_click(icon)
    return main_window(session, 5)


def exit_with_yes(session, app, setup_path):
    """Esc asks the exit question; Enter answers Yes. Returns Setup.ini."""
    session.focus(main_window(session, 5))
    session.key("Escape")
    question = wait_for(lambda: session.visible_windows(name="提示"), 5, "no exit question")[0]
    session.focus(question)
    session.key("Return")
    app.wait(10)
    with open(setup_path, newline="") as f:
        return f.read()


def dry_run_line(path):
    """The time of day of the dry run's power-off in the program's standard
    error, written to `path`; None before it came."""
    with open(path) as f:
        match = re.search(r"dry-run: power-off requested at (\d\d:\d\d:\d\d\.\d{3})", f.read())
    return match.group(1) if match else None


def stored_mode(setup_text):
    match = re.search(r"^Mode=(\d+)\r?$", setup_text, re.M)
    return int(match.group(1)) if match else None


def looks_armed(session, window):
    """Whether the window shows the armed state: 定时关机 greyed and 取消关机
    usable. A usable button's text is dark and a greyed one's is not, so the
    darker middle of the two buttons tells which is usable."""
    with open(RESOURCES, encoding="utf-8") as f:
        dialog = next(d for d in json.load(f)["dialogs"] if d["id"] == "IDD_LUMIVAR_DIALOG")
    _, _, width, height = session.geometry(window)
    shot = subprocess.run(["import", "-window", str(window), "-depth", "8", "gray:-"],
                          env=session.env, capture_output=True).stdout
    if len(shot) != width * height:
        return False

    def darkest_middle(control_id):
        control = next(c for c in dialog["controls"] if c["id"] == control_id)
        # the middle half of the button, in pixels: clear of its frame
        left, right = ((control["x"] + control["width"] * k / 4) * width / dialog["width"]
                       for k in (1, 3))
        top, bottom = ((control["y"] + control["height"] * k / 4) * height / dialog["height"]
                       for k in (1, 3))
        return min(shot[y * width + x] for y in range(int(top), int(bottom))
                   for x in range(int(left), int(right)))
    return darkest_middle("IDC_CANCEL_POWER_OFF") + 64 < darkest_middle("IDC_ARM")
