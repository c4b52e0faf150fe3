#!/usr/bin/env bash
# Installs the given .deb and checks that the installed program opens its window on an X server
# and exits with status 0 when the window manager closes it. Under CI the package goes in with
# dpkg -i; elsewhere it is unpacked into a scratch folder, to leave the machine as it was.
# Needs xvfb-run, xdotool, wmctrl and openbox.
set -euo pipefail
deb=$(realpath "$1")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if [ "${CI:-}" = true ]; then
    dpkg -i "$deb"
    program=/usr/bin/vantoke
    desktop-file-validate /usr/share/applications/org.vantoke.Vantoke.desktop
    appstreamcli validate --no-net /usr/share/metainfo/org.vantoke.Vantoke.metainfo.xml
else
    dpkg-deb -x "$deb" "$scratch/root"
    program=$scratch/root/usr/bin/vantoke
fi
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "the package does not depend on Qt 6" >&2; exit 1; }

cat >"$scratch/start-check.sh" <<CHECK
set -u
openbox >/dev/null 2>&1 &
for _ in \$(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
"$program" & pid=\$!
for _ in \$(seq 100); do
    xdotool search --onlyvisible --name '^Vantoke\$' >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Vantoke\$' >/dev/null || { echo "no Vantoke window appeared"; kill \$pid; exit 1; }
wmctrl -c Vantoke
wait \$pid
CHECK
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime
if xvfb-run -a -s "-screen 0 1024x768x24" bash "$scratch/start-check.sh"; then
    echo "package check: $program showed its window and exited with status 0"
else
    echo "package check: $program failed" >&2
    exit 1
fi
