#!/usr/bin/env bash
# Runs the device probe on the Linux platform and, under Wine's Direct3D 9 (32-bit prefix, Xvfb
# started and stopped here, as tools/wine_test.sh does), the Windows build; prints the lines that
# differ. Needs build/dev and build/mingw with the target vantor-device-probe, and Wine
# (tools/setup.sh --wine). Outputs: build/probe/linux.txt and build/probe/wine.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/probe
rm -rf "$out"
mkdir -p "$out"
build/dev/tools/probe/vantor-device-probe >"$out/linux.txt"

cp build/mingw/bin/vantor-device-probe.exe "$out/"
export WINEARCH=win32 WINEPREFIX="$PWD/$out/prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb=$!
stop() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 100); do
    [[ -s "$out/display" ]] && break
    sleep 0.1
done
[[ -s "$out/display" ]] || { echo "probe: Xvfb did not start"; cat "$out/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$out/display")"
# Wine's output goes to files: a pipe could be held open by the wineserver.
wineboot -i >"$out/wineboot.log" 2>&1
(cd "$out" && wine vantor-device-probe.exe >wine.raw 2>wine.err)
tr -d '\r' <"$out/wine.raw" >"$out/wine.txt"

if diff "$out/linux.txt" "$out/wine.txt" >"$out/diff.txt"; then
    echo "probe: the platform and Wine agree on every line"
else
    echo "probe: the platform (<) and Wine (>) differ:"
    cat "$out/diff.txt"
fi
