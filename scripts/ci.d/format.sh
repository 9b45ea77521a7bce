#!/usr/bin/env bash
# The house format (.clang-format): every C++ file in the tree must be as
# clang-format-14 writes it. Lists the files that are not and fails; fix them
# with `git clang-format-14` (changed lines) or `clang-format-14 -i FILE`.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
unformatted=()
while IFS= read -r -d '' file; do
    clang-format-14 --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ "${#unformatted[@]}" -gt 0 ]; then
    echo "format: not in the house format (clang-format-14 -i FILE):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "format: every C++ file in the house format"
