#!/usr/bin/env bash
# Installs what building and running need (scripts/packages.d/run*.txt),
# builds, and starts らるぼPro. Without a display it runs under a virtual one
# (xvfb-run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run
# The tests are not built here: their frameworks come with scripts/test.sh.
"$root/scripts/build.sh" release -DRALVO_BUILD_TESTS=OFF
app="$root/build/release/ralvo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running under xvfb-run." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$app" "$@"
fi
exec "$app" "$@"
