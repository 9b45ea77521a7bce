#!/usr/bin/env bash
# Runs atspi_check.py PROGRAM on a private X display and session bus. Exits
# 77 (skipped) with the reason when one of them cannot be had.
#
# The X server does not reset when its last client leaves (-noreset): the
# accessibility bus launcher connects and leaves before the program starts,
# and a program connecting during the reset is refused. It also picks its own
# free display (-displayfd) rather than the first one without a lock file:
# several suites may run at once on one machine, and such a display can still
# be held by a server that is shutting down.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb dbus-run-session dbus-send /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "skipped: at-spi2-core is not installed"; exit 77; }

work=$(mktemp -d)
server=
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/server.log" &
server=$!
# The server writes its display number once it accepts connections.
for _ in $(seq 1 300); do
    if grep -q '^[0-9]\+$' "$work/display" 2>/dev/null; then break; fi
    if ! kill -0 "$server" 2>/dev/null; then
        echo "skipped: the X server did not start: $(cat "$work/server.log")"
        server=
        exit 77
    fi
    sleep 0.1
done
grep -q '^[0-9]\+$' "$work/display" || { echo "skipped: the X server gave no display"; exit 77; }
export DISPLAY=":$(cat "$work/display")"
unset XAUTHORITY
dbus-run-session -- /usr/bin/python3 "$here/atspi_check.py" "$1"
