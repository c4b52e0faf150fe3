#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vantoke developers
# SPDX-License-Identifier: MIT
# Plays the game's window with a real screen reader, as a blind player meets it: Orca on X11
# (Xvfb with openbox), speaking through speech-dispatcher and espeak-ng into ALSA's null
# device, which plays nothing and never waits. From the keyboard: Tab once round the window,
# then to the difficulty list, choose "Medium" with an arrow, Tab to Start and press Space; when
# the game is over, Tab once round again. Each key must make Orca speak the control it reaches,
# with its name and role, and after the game each box's value whole, as the window holds it,
# and the list's choice; leaving a box must say nothing of its own. Orca's debug log is the
# record: it is written through a terminal, which Orca writes to line by line, so each key can
# wait for its words. docs/accessibility.md tells what a player hears. With --gnome, the same in
# a GNOME session (tools/on-mutter.sh), with the game on the platform it picks there, and the keys
# typed through mutter's remote desktop interface, which reaches X and Wayland windows alike.
# usage: screen-reader-check.sh [--gnome] PROGRAM
set -euo pipefail
session=${VANTOKE_SESSION:-x11}
if [ "${1:-}" = --gnome ]; then
    session=gnome
    shift
fi
[ $# -eq 1 ] || { echo "usage: screen-reader-check.sh [--gnome] PROGRAM" >&2; exit 2; }
program=$(realpath "$1")

if [ -z "${VANTOKE_ON_DISPLAY:-}" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    chmod 700 "$work"
    # A session of its own: display, session bus (the accessibility bus starts from it), a home
    # where Orca keeps its settings, and the speech server's settings and sound device.
    mkdir -p "$work/config/speech-dispatcher" "$work/speech-log"
    echo 'pcm.!default { type null }' >"$work/.asoundrc"
    cat >"$work/config/speech-dispatcher/speechd.conf" <<CONF
AudioOutputMethod "alsa"
AddModule "espeak-ng" "sd_espeak-ng"
DefaultModule espeak-ng
LogLevel 3
LogDir "$work/speech-log"
CONF
    tools=$(dirname "$(realpath "$0")")/../tools
    on_display=("$tools/on-xvfb.sh" 1280x1024x24 dbus-run-session -- env QT_QPA_PLATFORM=xcb)
    [ "$session" = x11 ] || on_display=("$tools/on-mutter.sh" 1280x1024 env -u QT_QPA_PLATFORM)
    VANTOKE_ON_DISPLAY=1 VANTOKE_SESSION=$session VANTOKE_WORK=$work HOME=$work XDG_RUNTIME_DIR=$work \
        XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache \
        "${on_display[@]}" bash "$0" "$program"
    exit
fi

work=$VANTOKE_WORK
log=$work/orca.log
. "$(dirname "$(realpath "$0")")/../tools/common.sh"
[ "$session" != x11 ] || start_openbox

# Orca's role words differ between versions: Orca 43 says "push button" where 48 says "button".
spoken() { tr -d '\r' <"$log" | sed -n "s/^.*SPEECH OUTPUT: '\([^']*\)'.*$/\1/p"; }
keys_handled() { tr -d '\r' <"$log" | grep -c 'type=ATSPI_KEY_PRESSED_EVENT' || true; }

# Orca's process writes its own id first: the terminal's recorder runs it in a session of its own.
script -q -f -c "echo \$\$ >'$work/orca.pid'; exec orca --debug-file=/dev/tty" "$log" </dev/null >/dev/null 2>&1 &
recorder=$!
game=
finish() {
    [ -z "$game" ] || kill "$game" 2>/dev/null || true
    # Orca says goodbye and closes its log when asked to stop.
    [ ! -s "$work/orca.pid" ] || kill -TERM "$(cat "$work/orca.pid")" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
    [ ! -s "$work/orca.pid" ] || kill -KILL "$(cat "$work/orca.pid")" 2>/dev/null || true
    kill "$recorder" 2>/dev/null || true
    local server
    for server in "$work"/speech-dispatcher/pid/*.pid; do
        [ ! -s "$server" ] || kill "$(cat "$server")" 2>/dev/null || true
    done
}
trap finish EXIT

# Waits until the words Orca has spoken since those last waited for, taken together, match
# `pattern`: Orca 43 says a list's name and role as two utterances, where 48 says them as one.
# Sets `said` to those words.
heard=0
said=
wait_for() {
    local pattern=$1 what=$2
    for _ in $(seq 200); do
        said=$(spoken | tail -n +"$((heard + 1))" | tr '\n' ' ')
        if grep -qE -- "$pattern" <<<"$said"; then
            heard=$(spoken | wc -l)
            return 0
        fi
        sleep 0.05
    done
    echo "screen reader: Orca did not say $what within 10 s; it said:" >&2
    spoken | tail -n +"$((heard + 1))" | sed 's/^/    /' >&2
    return 1
}

for _ in $(seq 300); do spoken | grep -q "Screen reader on" && break; sleep 0.1; done
if ! kill -0 "$(cat "$work/orca.pid" 2>/dev/null || echo 0)" 2>/dev/null; then
    echo "screen reader: Orca is not running" >&2
    tr -d '\r' <"$log" | tail -20 >&2
    exit 1
fi
wait_for 'Screen reader on' '"Screen reader on"'

# key NAME: types a key, named as X names it, into the window with the focus.
if [ "$session" = x11 ]; then
    key() { xdotool key "$1"; }
else
    # A remote desktop session lives as long as the connection that made it.
    coproc keyboard {
        exec /usr/bin/python3 -u -c '
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
def call(path, method, args=None, reply=None):
    interface = "org.gnome.Mutter.RemoteDesktop" + (".Session" if "/Session/" in path else "")
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                         reply and GLib.VariantType(reply), 0, 10000, None)
session = call("/org/gnome/Mutter/RemoteDesktop", "CreateSession", reply="(o)").unpack()[0]
call(session, "Start")
keysyms = {"Shift_L": 0xffe1, "Tab": 0xff09, "Down": 0xff54, "space": 0x20}
def type_key(name):
    for pressed in (True, False):
        call(session, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (keysyms[name], pressed)))
# mutter adds the keyboard of the session as it starts, and drops the keys typed before it is in
# place; this Shift, before the game runs, goes to nobody.
type_key("Shift_L")
print("typed", flush=True)
for name in sys.stdin:
    type_key(name.strip())
    print("typed", flush=True)
'
    }
    typed() {
        local reply=
        read -r -t 10 reply <&"${keyboard[0]}" || true
        [ "$reply" = typed ] || { echo "screen reader: mutter did not take the key $1 within 10 s" >&2; exit 1; }
    }
    key() {
        echo "$1" >&"${keyboard[1]}"
        typed "$1"
    }
    typed "Shift_L, the first"
fi

# The game's window, read through the accessibility bus: with "texts", "name=text" for each box,
# with " (read only)" after a locked one's name; with "active", "active" if it is the active window.
read_window() {
    /usr/bin/python3 - "$1" <<'PY'
import sys
import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi
def walk(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child.get_role() in (Atspi.Role.TEXT, Atspi.Role.ENTRY):
            locked = child.get_state_set().contains(Atspi.StateType.READ_ONLY)
            print('%s%s=%s' % (child.get_name(), ' (read only)' if locked else '',
                               Atspi.Text.get_text(child, 0, -1)))
        walk(child)
desktop = Atspi.get_desktop(0)
for a in range(desktop.get_child_count()):
    app = desktop.get_child_at_index(a)
    if app is None or app.get_name() != 'vantoke':
        continue
    if sys.argv[1] == 'texts':
        walk(app)
        continue
    for i in range(app.get_child_count()):
        frame = app.get_child_at_index(i)
        if frame.get_name() == 'Vantoke' and frame.get_state_set().contains(Atspi.StateType.ACTIVE):
            print('active')
PY
}
window_texts() { read_window texts; }
window_active() { read_window active; }

"$program" >"$work/game.log" 2>&1 &
game=$!
if [ "$session" = x11 ]; then
    window=
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name '^Vantoke$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "screen reader: no Vantoke window showed within 30 s" >&2; exit 1; }
    timeout 30 xdotool windowactivate --sync "$window" >/dev/null \
        || { echo "screen reader: the Vantoke window was not activated within 30 s" >&2; exit 1; }
else
    # GNOME makes a new window the active one.
    for _ in $(seq 300); do [ "$(window_active)" = active ] && break; sleep 0.1; done
    [ "$(window_active)" = active ] || { echo "screen reader: no active Vantoke window within 30 s" >&2; exit 1; }
fi
# Whether Orca handles keys at all: one whose speech server never returns from its sound device
# handles none, and every key would wait its full time in vain. Shift does nothing in the game.
key Shift_L
for _ in $(seq 50); do [ "$(keys_handled)" -gt 0 ] && break; sleep 0.1; done
if [ "$(keys_handled)" -eq 0 ]; then
    echo "screen reader: Orca handled no key within 5 s; look at its speech server, speech-dispatcher, and its sound output ($(tail -n 1 "$work"/speech-log/speech-dispatcher.log 2>/dev/null))" >&2
    exit 1
fi
wait_for 'Start (push )?button' 'the Start button at start-up'


press() {
    local key=$1 pattern=$2 what=$3
    key "$key"
    if wait_for "$pattern" "$what after $key"; then
        echo "screen reader: $key: $what"
    else
        status=1
    fi
}

status=0
press Tab 'Time Elapsed (text|entry)' '"Time Elapsed", a text box'
press Tab 'Points (text|entry)' '"Points", a text box'
press Tab 'Difficulty\.? List with 3 items' '"Difficulty", a list of 3 items'
press Tab 'Percent Hit (text|entry)' '"Percent Hit", a text box'
press Tab 'Squares (text|entry)' '"Squares", a text box'
press Tab 'Start (push )?button' '"Start", a button'
press Tab 'Time Elapsed (text|entry)' '"Time Elapsed", a text box'
press Tab 'Points (text|entry)' '"Points", a text box'
press Tab 'Difficulty\.? List with 3 items' '"Difficulty", a list of 3 items'
press Down 'Medium' 'the chosen "Medium"'
press Tab 'Percent Hit (text|entry)' '"Percent Hit", a text box'
press Tab 'Squares (text|entry)' '"Squares", a text box'
press Tab 'Start (push )?button' '"Start", a button'

# A game of about 15 seconds on "Medium", after which the boxes are read-only and hold the
# results. Its turns change the boxes every 0.75 s; it has ended once the closing turn has locked
# the boxes and nothing changes for a second, or, should it end without a closing turn, once
# nothing changes for five.
key space
texts= steady=0 started=$SECONDS
until { [[ $texts == *"Points (read only)="* ]] && [ "$steady" -ge 4 ]; } || [ "$steady" -ge 20 ]; do
    if [ $((SECONDS - started)) -ge 60 ]; then
        echo "screen reader: the game had not ended 60 s after Space on Start; the window holds: $(tr '\n' ' ' <<<"$texts")" >&2
        exit 1
    fi
    sleep 0.25
    now=$(window_texts)
    if [ "$now" = "$texts" ]; then steady=$((steady + 1)); else steady=0 texts=$now; fi
done
value_of() { sed -n "s/^$1 (read only)=//p" <<<"$texts"; }
echo "screen reader: after the game the window holds: $(tr '\n' ' ' <<<"$texts")"
if [ "$(value_of Squares)" = 0 ]; then
    echo "screen reader: Space on Start played no game" >&2
    status=1
fi
for box in 'Time Elapsed' Points 'Percent Hit' Squares; do
    if [ -z "$(value_of "$box")" ]; then
        echo "screen reader: after the game, \"$box\" is empty or open to typing" >&2
        status=1
    fi
done

# One Tab round: each control's name and role with its whole value, as the window holds it
# (and not, say, one character short), and the list's choice.
after_game() {
    local name=$1 role=$2 value=$3 pattern
    pattern="$name$role"
    [ -z "$value" ] || pattern="$pattern.*(^|[^0-9.])$(sed 's/[].[*^$\\+?(){}|]/\\&/g' <<<"$value")([^0-9]|\$)"
    press Tab "$pattern" "\"$name\" and its value \"$value\""
}
after_game 'Time Elapsed' ' read only (text|entry)' "$(value_of 'Time Elapsed')"
after_game 'Points' ' read only (text|entry)' "$(value_of Points)"
after_game 'Difficulty' '\.? List with 3 items' 'Medium'
after_game 'Percent Hit' ' read only (text|entry)' "$(value_of 'Percent Hit')"
after_game 'Squares' ' read only (text|entry)' "$(value_of Squares)"
after_game 'Start' ' (push )?button' ''
sleep 1
# A box keeps its selection when the focus leaves, so Orca has nothing to say of it then, nor
# when a game writes new text into it.
if spoken | grep -qi 'unselected'; then
    echo "screen reader: Orca said \"unselected\" of a box the focus had left" >&2
    status=1
fi

kill "$game"
wait "$game" 2>/dev/null || true
game=
finish
trap - EXIT

echo "screen reader: $(orca --version), handled $(keys_handled) key presses; it said:"
spoken | sed 's/^/    /'
exit "$status"
