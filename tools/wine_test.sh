#!/usr/bin/env bash
# The Windows build under Wine (Direct3D 9 over Mesa's llvmpipe in an Xvfb display started and stopped
# here): Vantor3.dll's exports and imports, then each scene script of tests/wine/scenes run by the
# Linux runner and by the Windows runner, their logs compared (tests/wine/compare_logs.sh) and, for
# the scenes drawn without effects, their frames compared under a tolerance.
#   tools/wine_test.sh [32|64]
# 32 runs the 32-bit build (build/mingw) in a 32-bit prefix; 64 the 64-bit build (build/mingw64) in
# a 64-bit prefix, for machines whose kernel refuses 32-bit programs. Without an argument: 32 where
# this machine runs 32-bit programs (tools/runs_i386.sh), else 64.
# Needs build/dev (vantor-run, vtr3-frame-compare) and the Windows build, and Wine (tools/setup.sh --wine).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine_env.sh

bits=${1:-}
if [[ -z $bits ]]; then
    bits=64
    tools/runs_i386.sh && bits=32
fi
case "$bits" in
32) mingw=build/mingw format=pei-i386 ;;
64) mingw=build/mingw64 format=pei-x86-64 ;;
*) echo "usage: tools/wine_test.sh [32|64]" >&2; exit 2 ;;
esac
dev=build/dev
out=build/wine$bits
# Frames match when no channel differs by more than 8 in more than 0.2% of the pixels (1572 of
# 1024 x 768). Both Direct3D 9s draw through Mesa's llvmpipe and agree within 6 on every pixel of
# the scene; the post-processor's point-sampled copies sample at texel edges, where each may take
# the neighbouring texel: a copy scaled up four times shows that at about 600 silhouette pixels.
tolerance=8
allowed=1572
started=$(date +%s)

tests/plugin_exports.sh "$mingw/bin/Vantor3.dll" src/frame/exports.map "$format"

rm -rf "$out"
mkdir -p "$out/bin"
cp "$mingw/bin/Vantor3.dll" "$mingw/bin/vantor-run.exe" "$out/bin/"
wine_start "$out" wine "$bits"
echo "wine: the $bits-bit build in a win$bits prefix, run by $wine_loader ($("$wine_loader" --version))"
booted=$(date +%s)

failed=0
for scene in sky resources hostile; do
    for side in linux windows; do
        dir="$out/$side/$scene"
        mkdir -p "$dir"
        cp "tests/wine/scenes/$scene.scene" "$dir/"
        if [[ $scene != hostile ]]; then # the hostile run has no content directory
            cp -r content/VTR3Content tests/wine/assets "$dir/"
        fi
    done
    # Linux: no error rows allowed but in the hostile run.
    linux_options=()
    [[ $scene == hostile ]] && linux_options=(--allow-errors)
    if ! "$dev/host/vantor-run" "${linux_options[@]}" --dir "$out/linux/$scene" --out "$out/linux/$scene/frames" \
        "$out/linux/$scene/$scene.scene" >"$out/linux/$scene.out" 2>&1; then
        echo "wine: the Linux run of $scene failed:"; cat "$out/linux/$scene.out"; failed=1; continue
    fi
    # Windows: the effect compiles fail under Wine, so error rows are allowed; the logs are compared.
    # The sky runs profiled: the Windows runner times Windows' Direct3D 9 through the same queries.
    windows_options=()
    [[ $scene == sky ]] && windows_options=(--profile)
    if ! (cd "$out" && "$wine_loader" bin/vantor-run.exe --plugin bin/Vantor3.dll --allow-errors "${windows_options[@]}" \
        --dir "windows/$scene" --out "windows/$scene/frames" "windows/$scene/$scene.scene" >"windows/$scene.out" 2>&1); then
        echo "wine: the Windows run of $scene failed:"; cat "$out/windows/$scene.out"; failed=1; continue
    fi
    if [[ $scene == sky ]] && ! { grep -q 'milliseconds over the frames' "$out/windows/sky.out" &&
        grep -q 'VTR3RenderDrawD' "$out/windows/sky.out" && grep -q '30000' "$out/windows/sky.out" &&
        [[ -s $out/windows/sky/vantor-profile.html ]]; }; then
        echo "wine: the profiled Windows run of sky printed no profile or wrote no report:"
        cat "$out/windows/sky.out"; failed=1
    fi
    mode=rows
    [[ $scene == hostile ]] && mode=exact
    tests/wine/compare_logs.sh "$out/linux/$scene/Vantor3.html" "$out/windows/$scene/Vantor3.html" "$mode" || failed=1
    if [[ $scene != hostile ]]; then
        for frame in "$out/linux/$scene"/*.png "$out/linux/$scene"/frames/*.png; do
            "$dev/tests/render/vtr3-frame-compare" "$tolerance" "$allowed" "$frame" \
                "$out/windows/${frame#"$out/linux/"}" || failed=1
        done
    fi
done
# The fixed clock: Wine's relay trace shows every call that goes through kernel32's exports. The
# plug-in reads the clock while drawing the water; with the import pointed at the engine's clock,
# none of those calls reaches kernel32.
mkdir -p "$out/windows/clock"
cp -r content/VTR3Content tests/wine/scenes/clock.scene "$out/windows/clock/"
"$wine_loader" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d KERNEL32.GetTickCount /f \
    >"$out/reg.log" 2>&1
if ! (cd "$out" && WINEDEBUG=+relay "$wine_loader" bin/vantor-run.exe --plugin bin/Vantor3.dll --allow-errors \
    --dir windows/clock windows/clock/clock.scene >windows/clock.out 2>windows/clock.relay); then
    echo "wine: the Windows run of clock failed:"; cat "$out/windows/clock.out"; failed=1
elif grep -q 'Call KERNEL32.GetTickCount()' "$out/windows/clock.relay"; then
    echo "wine: the plug-in read the system's GetTickCount, not the engine's clock"; failed=1
else
    echo "wine: the plug-in reads the engine's clock"
fi
finished=$(date +%s)
echo "wine: prefix $((booted - started)) s, scene runs $((finished - booted)) s"
if ((failed)); then
    echo "wine: FAILED (the runs are in $out)"
    exit 1
fi
echo "test: the $bits-bit Vantor3.dll runs under Wine with the Linux build's logs and frames"
