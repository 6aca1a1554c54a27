# Drives a running cellvane through the accessibility bus: the steps of
# tools/window-session.sh (which sets the environment this reads).
import os
import signal
import subprocess
import sys
import time

import pyatspi

OPEN = ("Open serial port", "打开串口")
CLOSE = ("Close serial port", "关闭串口")
PORT_LIST = ("COM selection", "COM 选择")


def find_app(timeout=20):
    t0 = time.time()
    while time.time() - t0 < timeout:
        desk = pyatspi.Registry.getDesktop(0)
        for i in range(desk.childCount):
            a = desk.getChildAtIndex(i)
            if a is not None and (a.name or "").lower() == "cellvane":
                return a
        time.sleep(0.3)
    sys.exit("the program is not on the accessibility bus")


def walk(a, depth=0):
    yield a, depth
    for i in range(a.childCount):
        c = a.getChildAtIndex(i)
        if c is not None:
            yield from walk(c, depth + 1)


def find(app, pred, timeout=10):
    t0 = time.time()
    while time.time() - t0 < timeout:
        for a, _ in walk(app):
            try:
                if pred(a):
                    return a
            except Exception:
                pass
        time.sleep(0.2)
    return None


def press(a):
    action = a.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "SetFocus") or i == action.nActions - 1:
            action.doAction(i)
            return
    raise RuntimeError("no action on %s" % a.name)


def select_tab(app, number):
    tabs = find(app, lambda a: a.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
    if tabs is None:
        sys.exit("no tab strip")
    tab = tabs.getChildAtIndex(number - 1)
    press(tab)
    time.sleep(0.5)
    print("tab %d: %r" % (number, tab.name))


def accessible_id(a):
    for getter in ("accessibleId", "get_accessible_id"):
        try:
            v = getattr(a, getter)
            v = v() if callable(v) else v
            if v:
                return v
        except Exception:
            pass
    return ""


def dump(app, path):
    with open(path, "w", encoding="utf-8") as out:
        for a, d in walk(app):
            try:
                states = a.getState()
                showing = states.contains(pyatspi.STATE_SHOWING)
                text = ""
                try:
                    text = a.queryText().getText(0, 80)
                except Exception:
                    pass
                out.write("%s%s name=%r desc=%r id=%r%s%s\n" % (
                    "  " * d, a.getRoleName(), a.name, a.description, accessible_id(a),
                    (" text=%r" % text) if text else "", "" if showing else " (hidden)"))
            except Exception as e:
                out.write("  " * d + "(gone: %s)\n" % e)


def main():
    sim_pid = int(sys.argv[1])
    tab, wait_s = int(os.environ["TAB"]), float(os.environ["WAIT_S"])
    app = find_app()
    time.sleep(1.0)  # first paint

    select_tab(app, 1)
    ports = find(app, lambda a: a.getRole() == pyatspi.ROLE_COMBO_BOX and a.description in PORT_LIST)
    if ports is None:
        sys.exit("no port list")
    if ports.name != "COM1":
        entries = ports.getChildAtIndex(0)
        names = [entries.getChildAtIndex(i).name for i in range(entries.childCount)]
        if "COM1" not in names:
            sys.exit("COM1 is not in the port list: %r" % names)
        entries.querySelection().selectChild(names.index("COM1"))
        time.sleep(0.3)
    print("port list: %r" % ports.name)

    button = find(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name in OPEN)
    if button is None:
        sys.exit("no open button")
    press(button)
    if find(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name in CLOSE, 5) is None:
        sys.exit("the port did not open")
    print("port open")

    select_tab(app, tab)
    if os.environ.get("PRESS"):
        name = os.environ["PRESS"]
        time.sleep(0.5)
        target = find(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == name
                      and a.getState().contains(pyatspi.STATE_SHOWING))
        if target is None:
            sys.exit("no button %r on tab %d" % (name, tab))
        press(target)
        print("pressed %r" % name)
    if os.environ.get("MENU"):
        name = os.environ["MENU"]
        entry = find(app, lambda a: a.getRole() == pyatspi.ROLE_MENU_ITEM and a.name == name)
        if entry is None:
            sys.exit("no menu entry %r" % name)
        press(entry)
        print("menu entry %r" % name)
        time.sleep(1.0)
    if os.environ.get("RECORDING"):
        opener = find(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON
                      and a.name in ("Open recording…", "打开记录…"))
        if opener is None:
            sys.exit("no button to open a recording")
        press(opener)
        dialog = find(app, lambda a: a.getRole() == pyatspi.ROLE_DIALOG
                      and a.getState().contains(pyatspi.STATE_SHOWING))
        box = dialog and find(dialog, lambda a: a.getRole() == pyatspi.ROLE_TEXT
                              and a.getState().contains(pyatspi.STATE_EDITABLE)
                              and a.getState().contains(pyatspi.STATE_SHOWING))
        if box is None:
            sys.exit("no file name box in the file dialog")
        box.queryEditableText().setTextContents(os.environ["RECORDING"])
        time.sleep(0.3)
        ok = find(dialog, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON
                  and (a.name or "").startswith(("Open", "打开")))
        if ok is None:
            sys.exit("no open button in the file dialog")
        press(ok)
        print("recording %r" % os.environ["RECORDING"])
    time.sleep(wait_s)
    if os.environ.get("UNPLUG") == "1":
        os.kill(sim_pid, signal.SIGTERM)
        print("simulator stopped")
        time.sleep(2.0)
        for a, _ in walk(app):
            if a.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
                print("message window: %r" % a.name)
                for c, _ in walk(a):
                    if c.getRole() == pyatspi.ROLE_LABEL and c.name:
                        print("  %r" % c.name)
        if os.environ.get("SHOT"):
            subprocess.run(["import", "-window", "root", os.environ["SHOT"]], check=True)
            print("shot: %s" % os.environ["SHOT"])
        # OK closes the message; the page must then be closed, with no
        # further message coming after it.
        ok = find(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == "OK", 2)
        if ok is not None:
            press(ok)
        time.sleep(2.0)
        left = [a for a, _ in walk(app) if a.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)]
        print("message windows after OK: %d" % len(left))
        button = find(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON
                      and a.name in OPEN + CLOSE, 2)
        print("open/close button after OK: %r" % (button.name if button else None))
        os.environ["SHOT"] = ""
    if os.environ.get("TREE"):
        dump(app, os.environ["TREE"])
        print("tree: %s" % os.environ["TREE"])
    if os.environ.get("SHOT"):
        subprocess.run(["import", "-window", "root", os.environ["SHOT"]], check=True)
        print("shot: %s" % os.environ["SHOT"])


main()
