#!/usr/bin/env bash
# The main job: set-up, build, then the stand-in engine's runner program.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
build/dev/host/vantor-run "$@"
