#!/usr/bin/env bash
# Installs what building and running need (scripts/packages.d/run*.txt),
# builds, and starts らるぼPro with the arguments given (scripts/run.sh
# --version prints the version; what setup and build print goes to
# standard error, so standard output is the program's own). Without a
# display it runs under a virtual one (xvfb-run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run >&2
# The tests are not built here: their frameworks come with scripts/test.sh.
"$root/scripts/build.sh" release -DRALVO_BUILD_TESTS=OFF >&2
# The build tree names its window program (app/CMakeLists.txt).
listed="$root/build/release/ralvo-program.txt"
[ -s "$listed" ] || { echo "$0: the build did not name its program ($listed)" >&2; exit 1; }
app=$(cat "$listed")
[ -x "$app" ] || { echo "$0: the build named $app, which is not there" >&2; exit 1; }
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running under xvfb-run." >&2
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$app" "$@"
fi
exec "$app" "$@"
