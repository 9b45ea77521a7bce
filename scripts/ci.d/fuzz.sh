#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build folder and runs each
# for a bounded time from the corpus kept in fuzz/corpus. Fails on a crash, a
# hang or runaway memory; the input that did it is left in build/fuzz/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/fuzz"
seconds=${RALVO_FUZZ_SECONDS:-30}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++-14 -DRALVO_BUILD_FUZZERS=ON -DRALVO_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" --target editstr_fuzz picture_fuzz
mkdir -p "$build/artifacts"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
for target in editstr picture; do
    work=$(mktemp -d)
    echo "fuzz: $target for ${seconds}s"
    "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/${target}-" \
        "$work" "$root/fuzz/corpus/$target" 2>"$build/$target.log" || {
        tail -60 "$build/$target.log"
        echo "fuzz: $target FAILED"
        exit 1
    }
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$build/$target.log" | sed "s/^/fuzz: $target /"
    rm -rf "$work"
done
rm -rf "$runtime"
echo "fuzz: all targets ran clean"
