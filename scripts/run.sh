#!/usr/bin/env bash
# Sets everything up, builds, and starts らるぼPro. Without a display it runs
# under a virtual one (xvfb-run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release
app="$root/build/release/ralvo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running under xvfb-run." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$app" "$@"
fi
exec "$app" "$@"
