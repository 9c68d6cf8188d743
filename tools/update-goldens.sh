#!/usr/bin/env bash
# Refreshes the golden images of tests/render from what the device draws now. Review the changed
# PNGs (git diff --stat tests/render/goldens) before committing them.
# usage: tools/update-goldens.sh [build dir] [gtest filter]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$repo/build/dev}"
filter="${2:-*}"
cmake --build "$build" --target vtr3_render_tests
VTR3_UPDATE_GOLDENS=1 VTR3_GOLDEN_DIR="$repo/tests/render/goldens" \
    "$build/tests/render/vtr3_render_tests" --gtest_filter="$filter"
