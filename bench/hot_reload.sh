#!/usr/bin/env bash
# Hot reload: the time from saving a post-processing effect to the next frame that shows the change
# on disk, under vantor-run --watch, headless, at the runner's default 1024x768. The negative of
# content/demo/post_negative.vs is saved RUNS times (default 20), alternating between two versions
# that were both compiled once before (a warm shader cache); each frame is checked byte for byte
# against the frame its version drew first. Prints the median and the slowest.
#   bench/hot_reload.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-20}
runner=$PWD/build/dev/host/vantor-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r content/VTR3Content "$work/VTR3Content"
grep -v '^frame\|^VTR3DeInitialize' content/demo/post_negative.vs >"$work/scene.vs"
printf 'frame\nVTR3DeInitialize\n' >>"$work/scene.vs"

python3 - "$runner" "$work" "$runs" <<'PY'
import os, statistics, subprocess, sys, time

runner, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
effect = os.path.join(work, "VTR3Content", "vtr3_negative.fx")
versions = [open(effect).read()]
versions.append(versions[0].replace("float4(1.0 - colour.rgb", "float4(0.5 - colour.rgb"))
assert versions[0] != versions[1]
frames = os.path.join(work, "frames")
total = 1 + 2 + runs  # the script's frame, one frame per version to warm up, the measured ones
process = subprocess.Popen([runner, "--dir", work, "--out", frames, "--watch", "--watch-frames",
                            str(total), os.path.join(work, "scene.vs")],
                           stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)

def wait_for(prefix):
    for line in process.stderr:
        if line.startswith(prefix):
            return
    sys.exit("vantor-run ended before printing " + prefix)

def frame_bytes(number):
    """The frame's PNG once it is whole on disk."""
    path = os.path.join(frames, "frame-%05d.png" % number)
    while True:
        try:
            with open(path, "rb") as f:
                data = f.read()
            if data.endswith(b"IEND\xaeB`\x82"):
                return data
        except FileNotFoundError:
            pass
        time.sleep(0.0005)

def save(text):
    with open(effect, "w") as f:
        f.write(text)

wait_for("vantor-run: watching")
expected, seconds = {}, []
for i in range(2 + runs):
    version = (i + 1) % 2
    started = time.monotonic()
    save(versions[version])
    frame = frame_bytes(2 + i)
    elapsed = time.monotonic() - started
    if i < 2:
        expected[version] = frame
        continue
    if frame != expected[version]:
        sys.exit("frame %d does not show version %d" % (2 + i, version))
    seconds.append(elapsed)
if process.wait() != 0:
    sys.exit("vantor-run failed")
ms = [s * 1000 for s in seconds]
print("save to frame on disk: median %.1f ms, slowest %.1f ms (%d saves)"
      % (statistics.median(ms), max(ms), len(ms)))
PY
