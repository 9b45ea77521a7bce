#!/usr/bin/env bash
# Runs the README's first command as a newcomer would, from this tree:
# scripts/run.sh --version without a display (the script's own xvfb-run
# path) must print the version, and scripts/run.sh under a virtual display
# must show the main window "らるぼPro" within 20 s. The window is then
# closed. The program runs with an empty, temporary home, so nothing of the
# machine's own settings is read or written.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "check-run: $*" >&2; exit 1; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

version=$(sed -n 's/^project(ralvo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
printed=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/scripts/run.sh" --version)
[ "$printed" = "ralvo $version" ] || fail "scripts/run.sh --version printed '$printed', not 'ralvo $version'"
echo "check-run: scripts/run.sh --version: $printed"

# With a display: xvfb-run gives one, and the script starts the program on it.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -u
    env -u QT_QPA_PLATFORM "$1/scripts/run.sh" >"$2/run.log" 2>&1 &
    pid=$!
    # The script checks its packages and the build first (already done by
    # the run above); the 20 s count from when it starts the program.
    app=$(cat "$1/build/release/ralvo-program.txt")
    started=0
    for _ in $(seq 600); do
        if pgrep -x -f "$app" >/dev/null; then started=1; break; fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if [ "$started" != 1 ]; then
        echo "check-run: scripts/run.sh did not start $app" >&2
        cat "$2/run.log" >&2
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
        exit 1
    fi
    # xdotool waits for the window itself (--sync); timeout bounds the wait.
    if ! window=$(timeout 20 xdotool search --sync --onlyvisible --name "^らるぼPro$" 2>/dev/null | head -n 1) ||
       [ -z "$window" ]; then
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
        echo "check-run: the main window らるぼPro did not appear within 20 s" >&2
        cat "$2/run.log" >&2
        exit 1
    fi
    echo "check-run: the main window らるぼPro appeared (window $window)"
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null
    exit 0
' check-run "$root" "$home" || fail "the window check failed"
