#!/usr/bin/env bash
# The test command: set-up, then the whole suite in a normal build and under ASan + UBSan, then the
# Windows builds (Vantor3.dll and the stand-in engine, 32- and 64-bit) and the runs of one of them under
# Wine, then the builds a packager makes (GCC with Debian's default flags, clang), which must compile
# without a warning. The Wine runs use the 32-bit build where this machine runs 32-bit programs and
# the 64-bit build where its kernel refuses them; --wine64 takes the 64-bit path on any machine,
# --no-wine skips the Wine runs and the Wine they install.
set -euo pipefail
cd "$(dirname "$0")/.."

wine=auto
for argument in "$@"; do
    case "$argument" in
    --no-wine) wine=none ;;
    --wine64) wine=64 ;;
    *) echo "usage: tools/test.sh [--no-wine|--wine64]" >&2; exit 2 ;;
    esac
done
if [[ $wine == auto ]]; then
    wine=64
    tools/runs_i386.sh && wine=32
    echo "test: this machine $( ((wine == 32)) && echo runs || echo refuses) 32-bit programs"
fi

case "$wine" in
none) tools/setup.sh ;;
*) tools/setup.sh "--wine$wine" ;;
esac

for preset in dev asan; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

for preset in mingw mingw64; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
done
tests/plugin_exports.sh build/mingw/bin/Vantor3.dll src/frame/exports.map pei-i386
tests/plugin_exports.sh build/mingw64/bin/Vantor3.dll src/frame/exports.map pei-x86-64
echo "test: Vantor3.dll and the stand-in engine link for 32- and 64-bit Windows against the SDK headers"
rm -rf out/Vantor3
cmake --install build/mingw --prefix out/Vantor3 >/dev/null
for file in Vantor3.dll Vantor3.md VTR3Content/vtr3_combine.fx VTR3Content/vtr3_water.fx; do
    [[ -f out/Vantor3/$file ]] || { echo "test: the package lacks $file"; exit 1; }
done
echo "test: the package for game developers is in out/Vantor3"
if [[ $wine != none ]]; then
    tools/wine_test.sh "$wine"
fi

tools/packager_builds.sh debian clang
