#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the main job need.
# Idempotent: asks apt-get only for packages that are missing. Needs root for the install.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri  # headless OpenGL 4.5 through Mesa
    libpng-dev libjpeg-dev libstb-dev                  # image files for D3DX textures
    glslang-dev spirv-tools libspirv-cross-c-shared-dev # HLSL effects: HLSL -> SPIR-V -> GLSL
    glslang-tools                                      # which glslang's CMake configuration needs
    g++-mingw-w64-i686                                 # the 32-bit Windows compile check
    clang dpkg-dev                                     # the packager builds: clang, Debian's flags
    chromium                                           # the tests open the HTML log in a browser
)

missing=()
for p in "${packages[@]}"; do
    # One status line per installed architecture (libgl1-mesa-dri may be there for i386 too).
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -x "install ok installed" >/dev/null; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
