#!/bin/bash
# shoot-pages.sh OUTDIR [PROGRAM]
# Screenshots of all seven tabs in both languages, taken in a virtual display:
# OUTDIR/en-1.png ... en-7.png and zh-1.png ... zh-7.png. The language comes
# from a throw-away settings record; the tabs are selected through the
# accessibility bus, as a screen reader would. Needs xvfb, xauth, dbus,
# at-spi2-core, python3-pyatspi, imagemagick and fonts-wqy-microhei.
set -eu
[ $# -ge 1 ] || { echo "usage: shoot-pages.sh OUTDIR [PROGRAM]" >&2; exit 2; }
out=$(realpath -m "$1")
program=$(realpath "${2:-build/cellvane}")
settle=${SHOOT_SETTLE:-1.5}
mkdir -p "$out"

for lang in en zh; do
    config=$(mktemp -d)
    mkdir -p "$config/cellvane"
    printf '[General]\nlanguage=%s\n' "$([ $lang = en ] && echo 1 || echo 0)" \
        >"$config/cellvane/cellvane.conf"
    XDG_CONFIG_HOME=$config xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- \
        bash -c '
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$1" >/dev/null 2>&1 & pid=$!
        /usr/bin/python3 - "$(basename "$1")" "$2" "$3" "$4" <<"PY"
import os, subprocess, sys, time
import pyatspi

name, out, lang, settle = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])

def find_app():
    t0 = time.time()
    while time.time() - t0 < 30:
        desk = pyatspi.Registry.getDesktop(0)
        for i in range(desk.childCount):
            a = desk.getChildAtIndex(i)
            if a is not None and name.lower() in (a.name or "").lower():
                return a
        time.sleep(0.3)
    sys.exit("the program is not on the accessibility bus")

def find_role(node, role):
    if node.getRoleName() == role:
        return node
    for i in range(node.childCount):
        found = find_role(node.getChildAtIndex(i), role)
        if found is not None:
            return found
    return None

app = find_app()
t0 = time.time()
tabs = None
while tabs is None and time.time() - t0 < 30:
    tabs = find_role(app, "page tab list")
    if tabs is None:
        time.sleep(0.3)
if tabs is None:
    sys.exit("no tab strip found")
time.sleep(settle)
pages = [tabs.getChildAtIndex(i) for i in range(tabs.childCount)]
pages = [t for t in pages if t.getRoleName() == "page tab"]
for i, tab in enumerate(pages):
    try:
        tabs.querySelection().selectChild(i)
    except Exception:
        action = tab.queryAction()
        action.doAction(0)
    time.sleep(settle)
    path = os.path.join(out, "%s-%d.png" % (lang, i + 1))
    subprocess.run(["import", "-window", "root", path], check=True)
    print(path, repr(tab.name))
PY
        status=$?
        kill $pid 2>/dev/null; wait $pid 2>/dev/null
        exit $status' shoot-pages "$program" "$out" "$lang" "$settle"
    rm -rf "$config"
done
