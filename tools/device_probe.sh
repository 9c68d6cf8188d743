#!/usr/bin/env bash
# Runs the device probe on the Linux platform and, under Wine's Direct3D 9 (tools/wine_env.sh's
# prefix and Xvfb display), the Windows build; prints the lines that differ. Needs build/dev and
# build/mingw (build/mingw64 where this machine refuses 32-bit programs, or with 64) with the target
# vantor-device-probe, and Wine (tools/setup.sh --wine). Outputs: build/probe/linux.txt and
# build/probe/wine.txt.
#   tools/device_probe.sh [32|64]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine_env.sh

out=build/probe
rm -rf "$out"
mkdir -p "$out"
build/dev/tools/probe/vantor-device-probe >"$out/linux.txt"

bits=${1:-}
if [[ -z $bits ]]; then
    bits=64
    tools/runs_i386.sh && bits=32
fi
build=build/mingw
[[ $bits == 64 ]] && build=build/mingw64
cp "$build/bin/vantor-device-probe.exe" "$out/"
wine_start "$out" probe "$bits"
(cd "$out" && "$wine_loader" vantor-device-probe.exe >wine.raw 2>wine.err)
tr -d '\r' <"$out/wine.raw" >"$out/wine.txt"

if diff "$out/linux.txt" "$out/wine.txt" >"$out/diff.txt"; then
    echo "probe: the platform and Wine agree on every line"
else
    echo "probe: the platform (<) and Wine (>) differ:"
    cat "$out/diff.txt"
fi
