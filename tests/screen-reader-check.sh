#!/usr/bin/env bash
# Plays the game's window with a real screen reader: Orca, on X11 (Xvfb with openbox), reading
# the program as a blind player meets it. One start-up and eleven keys: Tab through every stop
# once, then Tab to the difficulty list and choose with the arrows. Each key must make Orca speak
# the control it reaches, with its name and role, or the choice it makes. Orca's debug log is the
# record: it is written through a terminal, which Orca writes to line by line, so each key can
# wait for its words; the whole log is checked again once Orca has exited.
# usage: screen-reader-check.sh PROGRAM
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: screen-reader-check.sh PROGRAM" >&2; exit 2; }
program=$(realpath "$1")

if [ -z "${VANTOKE_ON_DISPLAY:-}" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    chmod 700 "$work"
    # A session of its own: display, session bus (the accessibility bus starts from it), and a
    # home where Orca keeps its settings.
    VANTOKE_ON_DISPLAY=1 VANTOKE_WORK=$work HOME=$work XDG_RUNTIME_DIR=$work XDG_CONFIG_HOME=$work/config \
        XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache QT_QPA_PLATFORM=xcb \
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" dbus-run-session -- bash "$0" "$program"
    exit
fi

work=$VANTOKE_WORK
log=$work/orca.log
. "$(dirname "$(realpath "$0")")/../tools/common.sh"
start_openbox

# Orca's role words differ between versions: Orca 43 says "push button" where 48 says "button".
spoken() { tr -d '\r' <"$log" | sed -n "s/^.*SPEECH OUTPUT: '\([^']*\)'.*$/\1/p"; }

# Orca's process writes its own id first: the terminal's recorder runs it in a session of its own.
script -q -f -c "echo \$\$ >'$work/orca.pid'; exec orca --debug-file=/dev/tty" "$log" </dev/null >/dev/null 2>&1 &
recorder=$!
game=
finish() {
    [ -z "$game" ] || kill "$game" 2>/dev/null || true
    # Orca says goodbye and closes its log when asked to stop.
    [ ! -s "$work/orca.pid" ] || kill -TERM "$(cat "$work/orca.pid")" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$recorder" 2>/dev/null || break; sleep 0.1; done
    kill "$recorder" 2>/dev/null || true
}
trap finish EXIT

# Waits until the words Orca has spoken since those last waited for, taken together, match
# `pattern`: Orca 43 says a list's name and role as two utterances, where 48 says them as one.
heard=0
wait_for() {
    local pattern=$1 what=$2
    for _ in $(seq 200); do
        if spoken | tail -n +"$((heard + 1))" | tr '\n' ' ' | grep -qE "$pattern"; then
            heard=$(spoken | wc -l)
            return 0
        fi
        sleep 0.05
    done
    echo "screen reader: Orca did not say $what within 10 s; it said:" >&2
    spoken | tail -n +"$((heard + 1))" | sed 's/^/    /' >&2
    return 1
}

for _ in $(seq 300); do spoken | grep -q 'Screen reader on' && break; sleep 0.1; done
if ! kill -0 "$(cat "$work/orca.pid" 2>/dev/null || echo 0)" 2>/dev/null; then
    echo "screen reader: Orca is not running" >&2
    tr -d '\r' <"$log" | tail -20 >&2
    exit 1
fi
wait_for 'Screen reader on' '"Screen reader on"'

"$program" >"$work/game.log" 2>&1 &
game=$!
xdotool search --sync --name '^Vantoke$' windowactivate --sync >/dev/null
wait_for 'Start (push )?button' 'the Start button at start-up'

status=0
press() {
    local key=$1 pattern=$2 what=$3
    xdotool key "$key"
    if wait_for "$pattern" "$what after $key"; then
        echo "screen reader: $key: $what"
    else
        status=1
    fi
}
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
press Down 'Hard' 'the chosen "Hard"'

kill "$game"
wait "$game" 2>/dev/null || true
game=
finish
trap - EXIT

# The whole log, now that Orca has closed it: the keys it saw, and what it said.
keys=$(tr -d '\r' <"$log" | grep -c 'type=ATSPI_KEY_PRESSED_EVENT' || true)
if [ "$keys" -lt 11 ]; then
    echo "screen reader: Orca saw $keys of the 11 key presses" >&2
    status=1
fi
echo "screen reader: $(orca --version), saw $keys key presses; it said:"
spoken | sed 's/^/    /'
exit "$status"
