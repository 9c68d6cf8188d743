#!/usr/bin/env bash
# The test command: set-up, then the whole suite in a normal build and under ASan + UBSan,
# then the 32-bit Windows compile of the plug-in's sources, then the builds a packager makes (GCC with
# Debian's default flags, clang), which must compile without a warning.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh

for preset in dev asan; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

cmake --preset mingw
cmake --build --preset mingw
echo "test: the plug-in's sources compile for 32-bit Windows against the SDK headers"

tools/packager_builds.sh debian clang
