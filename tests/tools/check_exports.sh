#!/usr/bin/env bash
# The engine library must export its entry under both names and nothing else.
set -euo pipefail
got=$(nm -D --defined-only "$1" | awk '{print $2, $3}' | sort)
want=$'T IDRENOK\nT _IDRENOK'
if [ "$got" != "$want" ]; then
    echo "FAIL: $1 exports:"
    echo "$got"
    exit 1
fi
echo "PASS: exports are IDRENOK and _IDRENOK"
