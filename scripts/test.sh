#!/usr/bin/env bash
# Installs what building, running and testing need (every list in
# scripts/packages.d), builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite, then the extra
# checks in scripts/ci.d.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" test
"$root/scripts/build.sh" asan -DRALVO_WERROR=ON
"$root/scripts/check-layering.sh" "$root/build/asan"
export ASAN_OPTIONS=detect_leaks=0
cd "$root/build/asan"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
for step in "$root"/scripts/ci.d/*.sh; do
    [ -e "$step" ] || continue
    echo "== $(basename "$step")"
    bash "$step"
done
