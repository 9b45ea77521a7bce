#!/usr/bin/env bash
# Builds the benchmarks and the start-up probes in their own Release tree and
# checks that each benchmark program starts (it lists its cases); nothing is
# timed here. Timing is done by hand, as the README says.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/bench-ci"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRALVO_BUILD_BENCHMARKS=ON \
    -DRALVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
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
