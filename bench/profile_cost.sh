#!/usr/bin/env bash
# What vantor-run --profile costs: the demo drawn FRAMES frames (default 60) RUNS times (default 5)
# with and without --profile, in turns. Prints the median of the time a frame each way, their
# difference, and the profiler's own calls as the profiled runs report them.
# Run after tools/run.sh (out/ holds the content).
#   bench/profile_cost.sh [RUNS] [FRAMES]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
frames=${2:-60}
runner=build/dev/host/vantor-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed -e "s/^frame 4$/frame $frames/" -e '/^frame 2$/d' -e '/^screenshot/d' content/demo/demo.vs >"$work/long.vs"
"$runner" --dir out "$work/long.vs" >/dev/null # warms the caches
for ((i = 0; i < runs; ++i)); do
    "$runner" --dir out "$work/long.vs" | sed 's/^/plain /'
    "$runner" --dir out --profile "$work/long.vs" | sed 's/^/profiled /'
done | python3 -c '
import re, statistics, sys
times = {"plain": [], "profiled": []}
own = []
for line in sys.stdin:
    kind, text = line.split(" ", 1)
    m = re.search(r"frames?, ([0-9.]+) ms a frame", text)
    if m:
        times[kind].append(float(m.group(1)))
    m = re.search(r"own calls took ([0-9.]+) ms a frame", text)
    if m:
        own.append(float(m.group(1)))
plain, profiled = statistics.median(times["plain"]), statistics.median(times["profiled"])
runs = len(times["plain"])
print(f"without --profile: {plain:.2f} ms a frame (median of {runs} runs)")
print(f"with --profile:    {profiled:.2f} ms a frame; difference {profiled - plain:+.2f} ms ({(profiled / plain - 1) * 100:+.1f} %)")
print(f"the profiler'"'"'s own calls: {statistics.median(own):.3f} ms a frame")
'
