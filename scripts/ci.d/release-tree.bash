# Sourced by the CI steps that need a release build: the benchmarks and the
# Debian package share one tree, build/package, built the way Debian builds
# its own (dpkg-buildflags' hardening flags), with the benchmarks and without
# the tests. Sets $build and builds everything in it.
# shellcheck shell=bash
build="$root/build/package"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake takes CXXFLAGS and LDFLAGS from the environment; CPPFLAGS it does not.
export CXXFLAGS="$CXXFLAGS $CPPFLAGS" CFLAGS="$CFLAGS $CPPFLAGS"
mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRALVO_SANITIZE=OFF \
      -DRALVO_BUILD_TESTS=OFF -DRALVO_BUILD_BENCHMARKS=ON > "$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --parallel "$(nproc)"
