#!/usr/bin/env bash
# The test command: set-up, then the whole suite in a normal build and under ASan + UBSan,
# then the 32-bit Windows build (Vantor3.dll and the stand-in engine) and its runs under Wine, then
# the builds a packager makes (GCC with Debian's default flags, clang), which must compile without a
# warning. --no-wine skips the Wine runs and the 32-bit Wine they install.
set -euo pipefail
cd "$(dirname "$0")/.."

wine=1
for argument in "$@"; do
    case "$argument" in
    --no-wine) wine=0 ;;
    *) echo "usage: tools/test.sh [--no-wine]" >&2; exit 2 ;;
    esac
done

if ((wine)); then
    tools/setup.sh --wine
else
    tools/setup.sh
fi

for preset in dev asan; do
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done

cmake --preset mingw
cmake --build --preset mingw
tests/plugin_exports.sh build/mingw/bin/Vantor3.dll src/frame/exports.map
echo "test: Vantor3.dll and the stand-in engine link for 32-bit Windows against the SDK headers"
rm -rf out/Vantor3
cmake --install build/mingw --prefix out/Vantor3 >/dev/null
for file in Vantor3.dll Vantor3.md VTR3Content/vtr3_combine.fx VTR3Content/vtr3_water.fx; do
    [[ -f out/Vantor3/$file ]] || { echo "test: the package lacks $file"; exit 1; }
done
echo "test: the package for game developers is in out/Vantor3"
if ((wine)); then
    tools/wine_test.sh
fi

tools/packager_builds.sh debian clang
