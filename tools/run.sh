#!/usr/bin/env bash
# The main job: set-up, build, then the demo scene through the stand-in engine's runner into out/.
# With arguments, runs the runner with them instead (tools/run.sh --help).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target vantor-run vantor-fxcheck # the tests build in tools/test.sh
if (($#)); then
    exec build/dev/host/vantor-run "$@"
fi

# out/ is the engine's working directory: the plug-in loads VTR3Content\... and writes Vantor3.html there.
mkdir -p out
ln -sfn ../content/VTR3Content out/VTR3Content
ln -sfn ../content/demo out/demo # the feature scripts load demo\inset.fx
build/dev/host/vantor-run --dir out --out out content/demo/demo.vs
echo "run: the demo frame is out/demo.png (out/frame-*.png: every frame, out/demo-refract.png: the"
echo "     water refracting only); the plug-in's log is out/Vantor3.html, open it in a browser"
