#!/usr/bin/env bash
# Runs atspi_check.py PROGRAM on a private X display and session bus. Exits
# 77 (skipped) with the reason when one of them cannot be had.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run dbus-run-session dbus-send /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "skipped: at-spi2-core is not installed"; exit 77; }
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- /usr/bin/python3 "$here/atspi_check.py" "$1"
