#!/usr/bin/env bash
# Configures (once) and builds incrementally. Usage: build.sh release|asan
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
variant=${1:-release}
case "$variant" in
    release) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRALVO_SANITIZE=OFF) ;;
    asan) flags=(-DCMAKE_BUILD_TYPE=Debug -DRALVO_SANITIZE=ON) ;;
    *) echo "usage: $0 release|asan" >&2; exit 64 ;;
esac
build="$root/build/$variant"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja "${flags[@]}" "${@:2}"
fi
cmake --build "$build" --parallel "$(nproc)"
