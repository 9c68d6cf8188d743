#!/usr/bin/env bash
# What a vantor-run option costs: the demo drawn FRAMES frames (default 60) RUNS times (default 5) with
# and without OPTION, in turns. Prints the median of the time a frame each way and their difference;
# for --profile also the profiler's own calls as the profiled runs report them. An option that takes
# a directory (--out, --steps) gets a scratch one.
# Run after tools/run.sh (out/ holds the content).
#   bench/option_cost.sh OPTION [RUNS] [FRAMES]       e.g. bench/option_cost.sh --out 5 64
set -euo pipefail
cd "$(dirname "$0")/.."

option=${1:?usage: bench/option_cost.sh OPTION [RUNS] [FRAMES]}
runs=${2:-5}
frames=${3:-60}
runner=build/dev/host/vantor-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
arguments=("$option")
case "$option" in --out | --steps) mkdir "$work/dir" && arguments+=("$work/dir") ;; esac
sed -e "s/^frame 4$/frame $frames/" -e '/^frame 2$/d' -e '/^screenshot/d' content/demo/demo.vs >"$work/long.vs"
"$runner" --dir out "$work/long.vs" >/dev/null # warms the caches
for ((i = 0; i < runs; ++i)); do
    "$runner" --dir out "$work/long.vs" | sed 's/^/plain /'
    "$runner" --dir out "${arguments[@]}" "$work/long.vs" | sed 's/^/with /'
done | python3 -c '
import re, statistics, sys
option = sys.argv[1]
times = {"plain": [], "with": []}
own = []
for line in sys.stdin:
    kind, text = line.split(" ", 1)
    m = re.search(r"frames?, ([0-9.]+) ms a frame", text)
    if m:
        times[kind].append(float(m.group(1)))
    m = re.search(r"own calls took ([0-9.]+) ms a frame", text)
    if m:
        own.append(float(m.group(1)))
plain, used = statistics.median(times["plain"]), statistics.median(times["with"])
runs = len(times["plain"])
print(f"without {option}: {plain:.2f} ms a frame (median of {runs} runs)")
print(f"with {option}:    {used:.2f} ms a frame; difference {used - plain:+.2f} ms ({(used / plain - 1) * 100:+.1f} %)")
if own:
    print(f"the profiler'"'"'s own calls: {statistics.median(own):.3f} ms a frame")
' "$option"
