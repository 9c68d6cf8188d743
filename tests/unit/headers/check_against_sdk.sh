#!/bin/sh
# Generates the static_asserts from our headers and compiles them against the Windows SDK headers
# that mingw-w64 ships. Usage: check_against_sdk.sh PRINTER OUTPUT_CPP
# Exit 77 (skipped) only when the mingw-w64 compiler is not installed.
printer=$1
generated=$2
compiler=${VTR3_MINGW_CXX:-i686-w64-mingw32-g++}

if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "SKIP: $compiler not found; install g++-mingw-w64-i686 to compare with the SDK headers"
    exit 77
fi
"$printer" >"$generated" || exit 1
echo "checking $(grep -c '^static_assert' "$generated") values and sizes against the SDK headers"
exec "$compiler" -std=c++17 -fsyntax-only -fmax-errors=0 "$generated"
