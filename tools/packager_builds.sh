#!/usr/bin/env bash
# Builds as a packager makes them, without the presets' -Werror: the library, the plug-in and the
# runner (no tests), each of which must compile without a warning (built afresh, so that every
# warning shows).
#   debian  GCC with Debian's default flags (dpkg-buildflags: hardening, -Wdate-time, ...)
#   clang   clang with its defaults; glslang found through pkg-config as on a system without
#           glslang's package configuration
# With no argument, both.
set -euo pipefail
cd "$(dirname "$0")/.."

build() {
    local name=$1
    shift
    local dir=build/$name log=build/$name.log
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVTR3_BUILD_TESTS=OFF "$@" >/dev/null
    local status=0
    cmake --build "$dir" --clean-first >"$log" 2>&1 || status=$?
    grep -E 'warning:|error:' "$log" || true
    if ((status)) || grep -q 'warning:' "$log"; then
        echo "test: the $name build failed or warned (see $log)"
        exit 1
    fi
    echo "test: the $name build is warning-free"
}

names=("$@")
((${#names[@]})) || names=(debian clang)
for name in "${names[@]}"; do
    case $name in
    debian)
        CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
        CC=gcc CXX=g++ build debian
        ;;
    clang)
        CC=clang CXX=clang++ build clang -DCMAKE_DISABLE_FIND_PACKAGE_glslang=ON
        ;;
    *)
        echo "usage: $0 [debian] [clang]" >&2
        exit 2
        ;;
    esac
done
