#!/usr/bin/python3
"""What a screen reader hears of the main window, through the AT-SPI bus:
every text field and button named, the input and result fields and the
spinner arrows by what they are, and the calculate button pressable.

Run inside a session bus and on an X display (atspi_check.sh does both):
    atspi_check.py PROGRAM
Exit status 0 when every check holds, 1 on a fault, 77 when the
accessibility bus is not there to ask (the reason on standard output).
"""

import os
import subprocess
import sys
import tempfile
import time

SKIP = 77
FIELDS = {"基準日の年", "基準日の月", "基準日の日", "母親名", "月経周期",
          "出産予定日", "推定排卵日", "推定着床日"}
ARROWS = {f"{what}を{step}" for what in ("基準日の年", "基準日の月", "基準日の日", "月経周期")
          for step in ("増やす", "減らす")}


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(SKIP)


def wait_for(what, condition, seconds=30.0):
    """Polls `condition` until it returns something true; fails after `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 64
    program = sys.argv[1]
    try:
        import pyatspi
    except ImportError as error:
        skip(f"python3-pyatspi is not installed ({error})")
    bus = subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], capture_output=True, text=True, timeout=30)
    if bus.returncode != 0:
        skip(f"the accessibility bus did not start: {bus.stderr.strip()}")

    with tempfile.TemporaryDirectory() as home:
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        app = subprocess.Popen([program], env=env)
        try:
            return check(pyatspi, app)
        finally:
            app.terminate()
            app.wait(timeout=30)


def check(pyatspi, app):
    def ralvo_frame():
        if app.poll() is not None:
            raise AssertionError(f"the program ended with status {app.returncode}")
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is None or application.name != "ralvo":
                continue
            for frame in application:
                if frame is not None and frame.getRole() == pyatspi.ROLE_FRAME:
                    return frame
        return None

    frame = wait_for("the main window on the accessibility bus", ralvo_frame)
    text_roles = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY}

    def fields():
        found = pyatspi.findAllDescendants(frame, lambda a: a.getRole() in text_roles)
        return found if len(found) >= len(FIELDS) else None

    found = wait_for("the main window's text fields", fields)
    faults = []
    names = [field.name for field in found]
    if not all(names) or not FIELDS <= set(names):
        faults.append(f"text fields named {names}, expected every one named and {sorted(FIELDS)} among them")
    by_name = {field.name: field for field in found}
    if "母親名" in by_name and not by_name["母親名"].description:
        faults.append("the mother's name field has no description")

    buttons = pyatspi.findAllDescendants(frame, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    unnamed = [button for button in buttons if not button.name]
    if unnamed:
        faults.append(f"{len(unnamed)} unnamed buttons")
    button_names = {button.name for button in buttons}
    if not ARROWS <= button_names:
        faults.append(f"arrows not named: {sorted(ARROWS - button_names)}")
    calculate = [button for button in buttons if button.name == "出産予定日を計算"]
    if len(calculate) != 1:
        faults.append(f"{len(calculate)} buttons named 出産予定日を計算")
    elif "出産予定日" in by_name:
        # Pressing it through the bus computes the due date into its field.
        action = calculate[0].queryAction()
        press = [i for i in range(action.nActions) if action.getName(i) == "Press"]
        if not press:
            faults.append("the calculate button has no press action")
        else:
            action.doAction(press[0])
            due = by_name["出産予定日"].queryText()
            wait_for("the due date after pressing 出産予定日を計算",
                     lambda: due.getText(0, -1).strip())

    for fault in faults:
        print(fault, file=sys.stderr)
    if not faults:
        print(f"{len(found)} fields and {len(buttons)} buttons named")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
