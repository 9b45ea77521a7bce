#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: bugprone, performance, clang-analyzer) with
# the compile commands of the test build. By default on the module sources
# that the last 40 commits touched (a header counts as its .cpp); with --all
# on every module source. Any finding fails the step (the tree is clean of
# them); RALVO_TIDY_STRICT=0 lists them without failing, for a local look.
#   scripts/ci.d/clang-tidy.sh [--all]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
db=${RALVO_TIDY_BUILD:-$root/build/asan}
# The module folders, from the graph the build wrote (cmake/RalvoModule.cmake).
[ -f "$db/ralvo-modules.txt" ] || { echo "clang-tidy: $db is not a configured tree" >&2; exit 1; }
tops=$(cut -d' ' -f1 "$db/ralvo-modules.txt" | cut -d/ -f1 | sort -u | paste -sd'|')
modules="^($tops)/"
header_filter="^(.*/)?($tops)/.*\.h$"
if [ "${1:-}" = --all ] || ! git rev-parse -q --verify HEAD~40 >/dev/null; then
    mapfile -t files < <(git ls-files '*.cpp' | grep -E "$modules")
else
    mapfile -t files < <(git diff --name-only --diff-filter=d HEAD~40 -- '*.cpp' '*.h' |
        grep -E "$modules" | sed 's/\.h$/.cpp/' | sort -u | while read -r f; do [ -f "$f" ] && echo "$f"; done)
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "clang-tidy: no module sources changed"
    exit 0
fi
echo "clang-tidy: ${#files[@]} files"
status=0
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy-14 -p "$db" --quiet --header-filter="$header_filter" \
    >"$db/clang-tidy.log" 2>/dev/null || status=$?
if grep -E '(warning|error): ' "$db/clang-tidy.log" || [ $status -ne 0 ]; then
    echo "clang-tidy: findings (exit $status); the whole output is in $db/clang-tidy.log"
    [ "${RALVO_TIDY_STRICT:-1}" = 0 ] && exit 0
    exit 1
fi
echo "clang-tidy: clean"
