#!/usr/bin/env bash
# Start-up with warm caches: the demo's first frame (its script cut after the first frame) drawn and
# written to disk, RUNS times (default 10). Prints the median of each phase vantor-run --timings
# reports and of the whole run's wall time. Run after tools/run.sh (out/ holds the content).
#   bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10}
runner=build/dev/host/vantor-run
frames=$(mktemp -d)
trap 'rm -rf "$frames"' EXIT
sed -e 's/^frame 4$/frame 1/' -e '/^frame 2$/d' -e '/^screenshot/d' content/demo/demo.vs >"$frames/first.vs"
"$runner" --dir out --out "$frames" "$frames/first.vs" >/dev/null # warms the caches
for ((i = 0; i < runs; ++i)); do
    started=$(date +%s%N)
    "$runner" --dir out --out "$frames" --timings "$frames/first.vs" 2>&1 >/dev/null | grep timings
    echo "whole run $((($(date +%s%N) - started) / 1000)) us"
done | python3 -c '
import re, statistics, sys
phases = {}
for line in sys.stdin:
    for name, value in re.findall(r"([A-Za-z][A-Za-z ,;-]*?) ([0-9.]+) (?:ms|us)", line):
        name = name.strip(" ,;").split(";")[-1].strip()
        phases.setdefault(name, []).append(float(value) / (1000 if line.startswith("whole") else 1))
for name, values in phases.items():
    print(f"{name}: {statistics.median(values):.1f} ms (median of {len(values)})")
'
