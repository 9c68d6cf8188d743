#!/usr/bin/env bash
# What a vantor-run option costs a steady frame: the demo drawn FRAMES and 2 x FRAMES frames (default
# 30), RUNS times (default 5), with and without OPTION, in turns. A steady frame is the difference of
# the two runs' wall times over FRAMES: start-up, shut-down and the wait for the last frames on disk
# cancel out, while everything done between frames counts, the read-back and a writer thread's work
# included (the runner's own "ms a frame" times BeginScene to EndScene only). Prints the medians each
# way and their difference; for --profile also the profiler's own calls as the profiled runs report
# them. An option that takes a directory (--out, --steps) gets a scratch one.
# Run after tools/run.sh (out/ holds the content).
#   bench/option_cost.sh OPTION [RUNS] [FRAMES]       e.g. bench/option_cost.sh --out 5 30
set -euo pipefail
cd "$(dirname "$0")/.."

option=${1:?usage: bench/option_cost.sh OPTION [RUNS] [FRAMES]}
runs=${2:-5}
frames=${3:-30}
runner=build/dev/host/vantor-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
arguments=("$option")
case "$option" in --out | --steps) mkdir "$work/dir" && arguments+=("$work/dir") ;; esac
for count in "$frames" $((2 * frames)); do
    sed -e "s/^frame 4$/frame $count/" -e '/^frame 2$/d' -e '/^screenshot/d' content/demo/demo.vs >"$work/$count.vs"
done
"$runner" --dir out "$work/$frames.vs" >/dev/null # warms the caches

# Prints "KIND FRAMES SECONDS" and the runner's report for one run.
run() {
    local kind=$1 count=$2
    shift 2
    local started ended
    started=$(date +%s%N)
    "$runner" --dir out "$@" "$work/$count.vs" >"$work/report"
    ended=$(date +%s%N)
    echo "$kind $count $(((ended - started) / 1000)) $(tr '\n' ' ' <"$work/report")"
}
for ((i = 0; i < runs; ++i)); do
    for count in "$frames" $((2 * frames)); do
        run plain "$count"
        run with "$count" "${arguments[@]}"
    done
done | python3 -c '
import re, statistics, sys
option, frames = sys.argv[1], int(sys.argv[2])
walls = {}
own = []
for line in sys.stdin:
    kind, count, micros, report = line.split(" ", 3)
    walls.setdefault((kind, int(count)), []).append(int(micros) / 1000)
    m = re.search(r"own calls took ([0-9.]+) ms a frame", report)
    if m:
        own.append(float(m.group(1)))
def steady(kind):
    runs = zip(walls[(kind, frames)], walls[(kind, 2 * frames)])
    return statistics.median((long - short) / frames for short, long in runs)
plain, used = steady("plain"), steady("with")
runs = len(walls[("plain", frames)])
print(f"without {option}: {plain:.2f} ms a steady frame (median of {runs} pairs of runs)")
print(f"with {option}:    {used:.2f} ms a steady frame; difference {used - plain:+.2f} ms ({(used / plain - 1) * 100:+.1f} %)")
if own:
    print(f"the profiler'"'"'s own calls: {statistics.median(own):.3f} ms a frame")
' "$option" "$frames"
