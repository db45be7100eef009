#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted as .clang-format says; lists the files.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find app engine tools tests bench fuzz docs -name '*.cpp' -o -name '*.h')
fi
mapfile -t bad < <(clang-format --dry-run "${files[@]}" 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#bad[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (clang-format -i FILE mends them):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "format: ${#files[@]} C++ files formatted"
