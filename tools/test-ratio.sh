#!/usr/bin/env bash
# Prints the size of the tests beside the size of the code they test: non-blank lines of C and C++
# files under tests/ against those under src/, platform/ and host/.
set -euo pipefail
cd "$(dirname "$0")/.."

lines() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 |
        xargs -0 cat | grep -c '[^[:space:]]'
}

tests=$(lines tests)
code=$(lines src platform host)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d / code %d = %.2f\n", t, c, t / c }'
