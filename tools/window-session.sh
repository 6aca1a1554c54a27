#!/bin/bash
# A scripted session of the real window against the simulated BMS, for
# screenshots and accessibility checks without a person at the keyboard.
#
#   tools/window-session.sh [options] [-- SIMULATOR OPTIONS...]
#
#   --lang en|zh     language of the session (stored as the language choice in
#                    a throw-away $XDG_CONFIG_HOME; default zh)
#   --tab N          tab to select after opening the port (1..8, default 2)
#   --bank LIST      packs a bus scan found earlier (e.g. 1,2,5), stored with
#                    COM1 in the settings record so the bank page (tab 8)
#                    polls them
#   --press NAME     press the button of that accessible name on that tab
#                    (e.g. "get data" on tab 6), then wait
#   --menu NAME      then choose the menu entry of that name (e.g. "Charts")
#   --recording F    then press "Open recording…" in the window that opened and
#                    open the recording F in its file dialog
#   --wait S         seconds to let the polling cycle run on that tab (default 6)
#   --shot OUT.png   save a PNG of the screen at the end
#   --tree OUT.txt   save the accessibility tree (role, name, description,
#                    objectName where the platform shows it) at the end
#   --unplug         after the wait, stop the simulator (the line goes away as
#                    an unplugged adapter would), wait 2 s, shoot the message,
#                    press its OK and report what is left
#   --build DIR      build folder with cellvane and cellvane-sim (default build)
#
# The session runs in its own virtual display (1024x768) and accessibility bus:
# the simulator is linked as COM1, the program starts, and the steps a
# technician takes are done through the accessibility interface (the
# "serial setting" tab, COM1 in the port list, "Open serial port", then the
# chosen tab), so the program needs no options of its own for it.
# Needs: xvfb xauth dbus at-spi2-core python3-pyatspi imagemagick,
# fonts-wqy-microhei for the Chinese glyphs.
set -eu
cd "$(dirname "$0")/.."
lang=zh tab=2 wait_s=6 shot= tree= unplug=0 build=build press= bank= menu= recording=
while [ $# -gt 0 ]; do
    case $1 in
    --lang) lang=$2; shift 2 ;;
    --tab) tab=$2; shift 2 ;;
    --wait) wait_s=$2; shift 2 ;;
    --press) press=$2; shift 2 ;;
    --menu) menu=$2; shift 2 ;;
    --recording) recording=$(realpath "$2"); shift 2 ;;
    --shot) shot=$(realpath -m "$2"); shift 2 ;;
    --tree) tree=$(realpath -m "$2"); shift 2 ;;
    --unplug) unplug=1; shift ;;
    --build) build=$2; shift 2 ;;
    --bank) bank=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "unknown option $1 (see the head of $0)" >&2; exit 2 ;;
    esac
done
case $lang in en) english=1 ;; zh) english=0 ;; *) echo "--lang en|zh" >&2; exit 2 ;; esac
case $tab in [1-8]) ;; *) echo "--tab 1..8" >&2; exit 2 ;; esac
bin=$(realpath "$build")
[ -x "$bin/cellvane" ] && [ -x "$bin/cellvane-sim" ] || {
    echo "no cellvane and cellvane-sim in $bin" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/cellvane/ports"
printf '[General]\nlanguage=%s\n' "$english" >"$XDG_CONFIG_HOME/cellvane/cellvane.conf"
[ -z "$bank" ] || printf '[bank]\nport=COM1\naddresses="%s"\n' "$bank" \
    >>"$XDG_CONFIG_HOME/cellvane/cellvane.conf"

export BIN=$bin WORK=$work TAB=$tab WAIT_S=$wait_s SHOT=$shot TREE=$tree UNPLUG=$unplug PRESS=$press \
    MENU=$menu RECORDING=$recording
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash -c '
    set -u
    "$BIN/cellvane-sim" --link "$XDG_CONFIG_HOME/cellvane/ports/com1" \
        --status "$WORK/sim.json" "$@" >"$WORK/sim.out" 2>"$WORK/sim.log" &
    sim=$!
    for _ in $(seq 50); do [ -s "$WORK/sim.out" ] && break; sleep 0.1; done
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$BIN/cellvane" \
        >"$WORK/app.log" 2>&1 &
    app=$!
    /usr/bin/python3 "$(dirname "$0")/window-session.py" "$sim"
    rc=$?
    kill $app $sim 2>/dev/null
    wait $app $sim 2>/dev/null
    if [ $rc -ne 0 ]; then
        echo "--- simulator log"; cat "$WORK/sim.log"
        echo "--- program log"; cat "$WORK/app.log"
    fi >&2
    exit $rc' "$0" "$@"
