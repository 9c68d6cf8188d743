#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the main job need; with --wine also the
# Wine and the X server that the Windows build's runs need (tools/wine_test.sh): the 32-bit Wine
# where this machine runs 32-bit programs (tools/runs_i386.sh), else the 64-bit one; --wine32 and
# --wine64 name the one to install.
# Idempotent: asks apt-get only for packages that are missing. Needs root for the install.
set -euo pipefail
cd "$(dirname "$0")/.."

wine=0
case "${1:-}" in
--wine) wine=64; tools/runs_i386.sh && wine=32 ;;
--wine32) wine=32 ;;
--wine64) wine=64 ;;
"") ;;
*) echo "usage: tools/setup.sh [--wine|--wine32|--wine64]" >&2; exit 2 ;;
esac

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri  # headless OpenGL 4.5 through Mesa
    libpng-dev libjpeg-dev libstb-dev                  # image files for D3DX textures
    glslang-dev spirv-tools libspirv-cross-c-shared-dev # HLSL effects: HLSL -> SPIR-V -> GLSL
    glslang-tools                                      # which glslang's CMake configuration needs
    g++-mingw-w64-i686 g++-mingw-w64-x86-64            # the 32- and 64-bit Windows builds
    clang dpkg-dev                                     # the packager builds: clang, Debian's flags
    chromium                                           # the tests open the HTML log in a browser
)

# Installed means installed for the machine's architecture (or for all), or for the one named
# ("wine32:i386"): with i386 added, a library can be installed for one architecture and not the other.
native=$(dpkg --print-architecture)
installed() {
    local name=${1%%:*} arch=${1#*:}
    [[ $arch == "$1" ]] && arch="($native|all)"
    dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null | grep -qE "^install ok installed $arch\$"
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

if ((wine == 32)); then
    # Wine's 32-bit Direct3D 9 draws through Mesa's 32-bit OpenGL in an Xvfb display.
    for p in wine wine32:i386 xvfb xauth libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386; do
        installed "$p" || missing+=("$p")
    done
    if ((${#missing[@]})) && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
elif ((wine == 64)); then
    # The 64-bit loader alone: no i386 architecture, nothing 32-bit.
    for p in wine64 xvfb xauth libgl1 libglx-mesa0; do
        installed "$p" || missing+=("$p")
    done
fi

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    started=$(date +%s)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
    echo "setup: installed in $(($(date +%s) - started)) s"
fi
