#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds (default 30) on a copy of its seed corpus.
# Usage: fuzz/run.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for target in fuzz_data_file fuzz_reader fuzz_fixed_format fuzz_model_files; do
    corpus="$work/$target"
    mkdir -p "$corpus"
    seeds="$here/corpus/${target#fuzz_}"
    [ -d "$seeds" ] && cp "$seeds"/* "$corpus"/ 2>/dev/null || true
    if [ "$target" = fuzz_model_files ]; then
        # The first byte chooses the reader: 0 current data file, 4 stage file, 5 plot data.
        for f in "$here"/../examples/*.dn5d; do
            b=$(basename "$f" .dn5d)
            { printf '\x00'; cat "$f"; } > "$corpus/${b}_data"
            { printf '\x04'; cat "$f"; } > "$corpus/${b}_stage"
        done
        for f in "$here"/../tests/data/golden/*.dn5p; do
            { printf '\x05'; cat "$f"; } > "$corpus/$(basename "$f" .dn5p)_plot"
        done
    elif [ "$target" != fuzz_fixed_format ]; then
        for f in "$here"/../examples/*.dn5d; do
            if [ "$target" = fuzz_reader ]; then
                { printf '\x5a'; cat "$f"; } > "$corpus/$(basename "$f")"
            else
                cp "$f" "$corpus/"
            fi
        done
    fi
    echo "== $target: ${seconds}s"
    # Each input must finish within a second and never allocate beyond 512 MB.
    if ! "$build/bin/$target" "$corpus" -max_total_time="$seconds" -timeout=1 -malloc_limit_mb=512 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" 2>"$work/$target.log"; then
        status=1
        tail -n 40 "$work/$target.log"
        for a in "$work"/crash-* "$work"/timeout-* "$work"/oom-* "$work"/leak-*; do
            [ -f "$a" ] && { echo "artifact: $a"; cp "$a" "$here/"; }
        done
    fi
    grep -E '^stat::number_of_executed_units|^Done' "$work/$target.log" || true
done
exit $status
