#!/bin/sh
# The plug-in exports exactly the names of its export list (src/frame/exports.map), undecorated.
# Vantor3.dll is also checked to be a PE DLL of the given format (32-bit, pei-i386, unless told
# pei-x86-64) that imports only Direct3D 9, D3DX 9 (d3dx9_43), user32 and the system's kernel32 and
# msvcrt: no C++ runtime, no dxerr, nothing from the toolchain.
# Usage: plugin_exports.sh LIBRARY EXPORTS_MAP [pei-i386|pei-x86-64]
set -eu
library=$1
list=$2
format=${3:-pei-i386}
expected=$(sed -n 's/^ *\([A-Za-z0-9_]*\);$/\1/p' "$list" | sort)
case "$library" in
*.dll)
    objdump=objdump
    case "$format" in
    pei-i386) command -v i686-w64-mingw32-objdump >/dev/null && objdump=i686-w64-mingw32-objdump ;;
    pei-x86-64) command -v x86_64-w64-mingw32-objdump >/dev/null && objdump=x86_64-w64-mingw32-objdump ;;
    *) echo "plugin_exports.sh: unknown format $format"; exit 2 ;;
    esac
    headers=$($objdump -p "$library")
    printf '%s\n' "$headers" | grep -q "file format $format\$" || { echo "$library: not a $format file"; exit 1; }
    # The name table follows the line "[Ordinal/Name Pointer] Table".
    actual=$(printf '%s\n' "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n 's/^\t\[ *[0-9]*\] \(.*\)$/\1/p' | sort)
    imports=$(printf '%s\n' "$headers" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort)
    stray=$(printf '%s\n' "$imports" | grep -vxE 'd3d9\.dll|d3dx9_43\.dll|user32\.dll|kernel32\.dll|msvcrt\.dll' || true)
    if [ -n "$stray" ]; then
        echo "$library imports from DLLs outside the system's:"
        printf '%s\n' "$stray"
        exit 1
    fi
    ;;
*)
    actual=$(nm -D --defined-only "$library" | awk '$2 == "T" {print $3}' | sort)
    imports=""
    ;;
esac
if [ "$actual" != "$expected" ]; then
    echo "$library: the exports differ from $list (< listed, > exported):"
    printf '%s\n' "$expected" >"${TMPDIR:-/tmp}/vtr3_expected.$$"
    printf '%s\n' "$actual" | diff "${TMPDIR:-/tmp}/vtr3_expected.$$" - || true
    rm -f "${TMPDIR:-/tmp}/vtr3_expected.$$"
    exit 1
fi
echo "$library: exactly the $(printf '%s\n' "$expected" | wc -l) listed exports${imports:+; imports $(printf '%s' "$imports" | tr '\n' ' ')}"
