#!/usr/bin/env bash
# Sets everything up, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole test suite, then the extra checks in scripts/ci.d.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" asan
export ASAN_OPTIONS=detect_leaks=0
cd "$root/build/asan"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
for step in "$root"/scripts/ci.d/*.sh; do
    [ -e "$step" ] || continue
    echo "== $(basename "$step")"
    bash "$step"
done
