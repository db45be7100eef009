#!/usr/bin/env bash
# Writes the worked-examples chapter: the descriptions in worked-examples.md.in, with every line
# "@results NAME@" replaced by what a fresh run of NAME.dn5d gives: the wall's size, the results of
# each problem, the messages of the run and its figures ("@results NAME no-drawing@" for a wall with
# no section to draw). No number in the chapter is typed by hand.
# Usage: worked-examples.sh DRENOK_RUN EXAMPLES_FOLDER TEMPLATE OUTPUT
#        worked-examples.sh --check DRENOK_RUN EXAMPLES_FOLDER TEMPLATE CHAPTER
# With --check nothing is written: the status is 1, with the differences, when CHAPTER is not what a
# fresh run gives.
set -euo pipefail
check=0
if [ "${1:-}" = --check ]; then
    check=1
    shift
fi
[ $# -eq 4 ] || { sed -n '6,7s/^# //p' "$0" >&2; exit 2; }
run=$1 examples=$2 template=$3 output=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The control value after "=" on the first line of the report that holds $2.
control() { grep -m1 -F "$2" "$1" | sed 's/.*= *//; s/ *$//'; }
# Where the earth pressure and the p-y curves come from: generated, the user's (a pressure table in the
# report, user curves counted), or none at all.
pressure_source() {
    if [ "$(control "$1" "GENERATE EARTH PRESSURE INTERNALLY")" != 0 ]; then echo "generated from the soil layers"
    elif grep -q "SPECIFIED ACTIVE EARTH PRESSURE" "$1"; then echo "given by the user"
    else echo "none (no earth pressure acts)"; fi
}
curve_source() {
    if [ "$(control "$1" "GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY")" != 0 ]; then echo "generated from the soil layers"
    elif [ "$(control "$1" "NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES")" != 0 ]; then echo "given by the user"
    else echo "none (no soil supports the wall)"; fi
}

results() {
    local name=$1 side=$2 data="$work/$1.dn5d"
    [ -f "$examples/$name.dn5d" ] || { echo "worked-examples: no example $name" >&2; exit 1; }
    cp "$examples/$name.dn5d" "$data"
    # A stopped run is described by what it printed; the engine's progress lines are left out.
    "$run" "$data" > "$work/$name.txt" 2> "$work/$name.err" || grep -v '^ READ SOIL DATA' "$work/$name.err" >&2 || true
    local report="$work/$name.dn5o"
    local n h excavations
    n=$(control "$report" "NUMBER OF INCREMENTS")
    h=$(control "$report" "INCREMENT LENGTH")
    # Each problem's control block gives its excavation depth (the summary tables repeat it as E-format).
    excavations=$(grep -F "FREE HEIGHT OF WALL" "$report" | grep -v 'E[+-]' | sed 's/.*= *//; s/  */ /g' | paste -sd';')
    local unit=${h##* }
    local length
    length=$(awk -v n="$n" -v h="${h%% *}" 'BEGIN { printf "%g", n * h }')
    echo "The wall is $length $unit long in $n increments of ${h%% *} $unit."
    echo "Earth pressure: $(pressure_source "$report");"
    echo "p-y curves: $(curve_source "$report")."
    echo "A fresh run gives:"
    echo
    echo "| Problem | Excavation | Iterations | Top deflection | Largest deflection | Largest moment | Largest shear |"
    echo "|:--|--:|--:|--:|--:|--:|--:|"
    awk -v status_file="$work/$name.status" -v messages="$work/$name.messages" -v excavations="$excavations" '
        function cell(line,   value, at) {
            sub(/^ +[a-z]+ [a-z]+ +/, "", line)
            at = index(line, " at depth ")
            if (at == 0) return line
            value = substr(line, 1, at - 1)
            sub(/ +$/, "", value)
            line = substr(line, at + 10)
            sub(/ \(node [0-9]+\)$/, "", line)
            return value " at " line
        }
        function flush() {
            if (problem == "") return
            ++k
            printf "| %s | %s | %s | %s | %s | %s | %s |\n", problem, (k in fh ? fh[k] : "-"), it, top, dmax, mmax, vmax
        }
        BEGIN { split(excavations, fh, ";") }
        NR == 1 { sub(/^[^:]*: /, ""); print > status_file; next }
        /^ READ / { next }
        /^  [^ ].*: (converged|NOT CLOSED|DEFLECTION EXCEEDED|NON-FINITE RESULTS|INCOMPLETE|ERROR STOP|NO RESULTS)( \(.*\))?$/ {
            flush()
            problem = $0; sub(/^  /, "", problem)
            it = "-"
            if (match(problem, /\(iteration [^)]*\)$/)) {
                it = substr(problem, RSTART + 11, RLENGTH - 12)
            }
            sub(/: (converged|NOT CLOSED|DEFLECTION EXCEEDED|NON-FINITE RESULTS|INCOMPLETE|ERROR STOP|NO RESULTS)( \(.*\))?$/, "", problem)
            gsub(/  +/, " ", problem)
            top = dmax = mmax = vmax = "-"
            next
        }
        /^    top deflection/ { top = cell($0); next }
        /^    max deflection/ { dmax = cell($0); next }
        /^    max moment/ { mmax = cell($0); next }
        /^    max shear/ { vmax = cell($0); next }
        /^    no result rows$/ { next }
        /^  / { line = $0; sub(/^ +/, "", line); print line >> messages; next }
        END { flush() }' "$work/$name.txt"
    echo
    echo "The run $(cat "$work/$name.status")."
    if [ -s "$work/$name.messages" ]; then
        echo "Its report holds these messages:"
        echo
        sed 's/^/- `/; s/$/`/' "$work/$name.messages"
    fi
    echo
    if [ "$side" != no-drawing ]; then
        echo "![Section drawing of $name](figures/views/$name-section.png){width=75%}"
        echo
    fi
    echo "![Deflection, moment and shear of $name](figures/graphs/$name-dms.png){width=85%}"
}

{
    while IFS= read -r line || [ -n "$line" ]; do
        if [[ $line =~ ^@results\ ([A-Za-z0-9_]+)(\ no-drawing)?@$ ]]; then
            results "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]# }"
        else
            printf '%s\n' "$line"
        fi
    done < "$template"
} > "$work/chapter.md"

if [ $check = 1 ]; then
    if ! diff -u "$output" "$work/chapter.md"; then
        echo "worked-examples: $output is not what a fresh run gives; rebuild it with the worked-examples target" >&2
        exit 1
    fi
    echo "worked-examples: $output matches a fresh run"
else
    cp "$work/chapter.md" "$output"
fi
