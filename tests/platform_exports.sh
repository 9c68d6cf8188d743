#!/bin/sh
# The platform library's dynamic symbols are its API and nothing else: the Direct3D 9, D3DX 9, dxerr
# and Win32 stand-in functions, the interface identifiers, and the control API in namespace platform.
# No glslang, SPIRV-Tools or SPIRV-Cross internals.
set -eu
symbols=$(nm -D --defined-only "$1" | awk '{print $3}' | c++filt)
for wanted in Direct3DCreate9 D3DXCreateEffect IID_IDirect3DDevice9 GetTickCount 'platform::LiveObjectCount()'; do
    printf '%s\n' "$symbols" | grep -qxF "$wanted" || { echo "not exported: $wanted"; exit 1; }
done
api='^(Direct3DCreate9|D3DX[A-Za-z0-9]+|DXGetError[A-Za-z0-9]+|IID_[A-Za-z0-9]+|GetTickCount|MessageBoxA|SetWindowTextA|platform::[A-Z][A-Za-z0-9]*(\[abi:cxx11\])?\(.*\))$'
stray=$(printf '%s\n' "$symbols" | grep -vE "$api" || true)
if [ -n "$stray" ]; then
    echo "exported beyond the API:"
    printf '%s\n' "$stray" | head -20
    exit 1
fi
echo "$(printf '%s\n' "$symbols" | wc -l) symbols exported, all API"
