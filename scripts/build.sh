#!/usr/bin/env bash
# Configures and builds incrementally. Usage: build.sh release|asan [cmake options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
variant=${1:-release}
case "$variant" in
    release) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRALVO_SANITIZE=OFF) ;;
    asan) flags=(-DCMAKE_BUILD_TYPE=Debug -DRALVO_SANITIZE=ON) ;;
    *) echo "usage: $0 release|asan" >&2; exit 64 ;;
esac
build="$root/build/$variant"
mkdir -p "$build"
# Configure every time (a few seconds): it picks up source files added or
# removed since the last build, also those that decide which programs exist.
cmake -S "$root" -B "$build" -G Ninja "${flags[@]}" "${@:2}" > "$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --parallel "$(nproc)"
