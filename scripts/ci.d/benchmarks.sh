#!/usr/bin/env bash
# Builds the benchmarks and the start-up probes in the release tree that the
# package step uses too (release-tree.bash), and checks that each benchmark
# program starts (it lists its cases); nothing is timed here. Timing is done
# by hand, as the README says.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=release-tree.bash
source "$root/scripts/ci.d/release-tree.bash"
runtime=$(mktemp -d)
chmod 700 "$runtime"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime"
"$build/benchmarks/page_bench" --benchmark_list_tests >/dev/null
rm -rf "$runtime"
# The timing scripts parse (they are run by hand).
for script in "$root"/scripts/*.py; do
    python3 -c 'import ast, sys; ast.parse(open(sys.argv[1]).read(), sys.argv[1])' "$script"
done
echo "benchmarks: built"
