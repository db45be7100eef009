#!/usr/bin/env bash
# drenok-report on examples: the PDF holds the results summary's numbers (read back with a text
# extractor), one figure per result graph per stage and the section drawing; the HTML parses and holds
# the same numbers and figures; a run that did not converge says so on its pages; bad names are refused.
#   drenok_report_check.sh DRENOK_REPORT DRENOK_RUN DRENOK_RESULTS EXAMPLES
set -u
report=$1 run=$2 results=$3 examples=$4
fail() { echo "FAIL: $*"; exit 1; }
for tool in pdftotext xmllint; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The first number after `label` in the block of `case` of the extracted text.
value_in() {  # text case label
    awk -v c="Results: $2" -v l="$3" '
        index($0, "Results: ") && !index($0, "Figure") { inside = (index($0, c) > 0) }
        inside && index($0, l) { sub(".*" l, ""); for (i = 1; i <= NF; ++i) if ($i ~ /^-?[0-9.]+(E[-+]?[0-9]+)?$/) { print $i; exit } }' "$1"
}
close_to() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; s = (b < 0 ? -b : b) + 1e-12; exit !(d * d <= (1e-3 * s) ^ 2) }'; }

for ex in three_stages si_clay_over_sand_strip anchored_tieback_trapezoidal; do
    cp "$examples/$ex.dn5d" "$work/"
    "$run" "$work/$ex.dn5d" >/dev/null 2>&1 || fail "$ex: the run failed"
    "$report" --design -o "$work/$ex.pdf" "$work/$ex.dn5d" 2>"$work/err" || fail "$ex: pdf exit $?: $(cat "$work/err")"
    "$report" --design -o "$work/$ex.html" "$work/$ex.dn5d" 2>"$work/err" || fail "$ex: html exit $?: $(cat "$work/err")"
    pdftotext -layout "$work/$ex.pdf" "$work/$ex.txt" || fail "$ex: the PDF does not read"
    "$results" --summary "$work/$ex.dn5d" >"$work/$ex.csv" || fail "$ex: no summary"
    grep -q 'Figure 1: Section drawing of the wall as entered' "$work/$ex.txt" || fail "$ex: no section drawing"
    # Every case: its top deflection, largest moment and shear as the summary gives them, and each graph once.
    while IFS=, read -r name status iterations top maxdef at1 moment at2 shear rest; do
        [ "$name" = problem ] && continue
        for pair in "Top deflection:$top" "Largest bending moment:$moment" "Largest shear:$shear"; do
            label=${pair%%:*} expected=${pair#*:}
            got=$(value_in "$work/$ex.txt" "$name" "$label")
            [ -n "$got" ] && close_to "$got" "$expected" || fail "$ex, $name: $label $got, the summary gives $expected"
            grep -q ">$got<" "$work/$ex.html" || fail "$ex, $name: the HTML lacks $label $got"
        done
        for graph in Deflection "Bending moment" Shear "Soil reaction" "p-y curves"; do
            n=$(grep -o "Figure [0-9]*: $graph — $name" "$work/$ex.txt" | wc -l)
            [ "$n" -eq 1 ] || fail "$ex, $name: $n figures of $graph"
        done
        grep -q "Status: converged" "$work/$ex.txt" || fail "$ex, $name: no status"
    done <"$work/$ex.csv"
    # The HTML: well-formed, a figure (inline SVG) per caption of the PDF, pages titled.
    xmllint --noout "$work/$ex.html" 2>"$work/err" || fail "$ex: the HTML does not parse: $(head -3 "$work/err")"
    pdf_figures=$(grep -o 'Figure [0-9]*: ' "$work/$ex.txt" | wc -l)
    svg=$(grep -o '<svg' "$work/$ex.html" | wc -l)
    [ "$svg" -eq "$pdf_figures" ] || fail "$ex: $svg SVG figures in the HTML, $pdf_figures in the PDF"
    pages=$(grep -c 'Page [0-9]* of [0-9]*' "$work/$ex.txt")
    [ "$pages" -eq "$(pdfinfo "$work/$ex.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')" ] || fail "$ex: a page without its number"
done
# Every example gives a report in both forms, with the design check and the appendix; a wall whose two
# water tables differ is warned that the excavation side's enters no computation.
for example in "$examples"/*.dn5d; do
    ex=$(basename "$example" .dn5d)
    [ -e "$work/$ex.dn5d" ] || { cp "$example" "$work/"; "$run" "$work/$ex.dn5d" >/dev/null 2>&1; }
    "$report" --design --appendix -o "$work/$ex-all.pdf" "$work/$ex.dn5d" 2>/dev/null || fail "$ex: no PDF"
    "$report" --design --appendix -o "$work/$ex-all.html" "$work/$ex.dn5d" 2>/dev/null || fail "$ex: no HTML"
    xmllint --noout "$work/$ex-all.html" 2>/dev/null || fail "$ex: the HTML does not parse"
done
pdftotext "$work/si_clay_over_sand_strip-all.pdf" - | tr '\n' ' ' | grep -q 'excavation side (5 m) enters no computation' ||
    fail "si_clay_over_sand_strip: no word on the excavation-side water"

# The staged wall's design check compares each stage's limit equilibrium with its p-y result.
grep -q 'limit-equilibrium check' "$work/anchored_tieback_trapezoidal.txt" || fail "anchored: no design check"

# A run that exceeds the allowable deflection: said on the cover and on its results page, exit 0.
sed '3s/^40 1 100/40 1 10/' "$examples/cantilever_check.dn5d" >"$work/exceed.dn5d"
"$run" "$work/exceed.dn5d" >/dev/null 2>&1
"$report" -o "$work/exceed.pdf" "$work/exceed.dn5d" 2>"$work/err" || fail "exceed: exit $?"
grep -q 'did not converge' "$work/err" || fail "exceed: not named on standard error"
pdftotext "$work/exceed.pdf" "$work/exceed.txt"
[ "$(grep -c 'NOT CONVERGED' "$work/exceed.txt")" -ge 2 ] || fail "exceed: the pages do not say NOT CONVERGED"

# Not run: the inputs only, said so. A report named otherwise, an unknown option: usage, nothing written.
cp "$examples/generated_sand.dn5d" "$work/fresh.dn5d"
"$report" -o "$work/fresh.pdf" "$work/fresh.dn5d" 2>"$work/err" || fail "not run: exit $?"
grep -q 'has not been run' "$work/err" || fail "not run: not said"
"$report" -o "$work/x.docx" "$work/fresh.dn5d" 2>/dev/null
[ $? -eq 2 ] && [ ! -e "$work/x.docx" ] || fail ".docx was not refused"
"$report" --bogus -o "$work/y.pdf" "$work/fresh.dn5d" 2>/dev/null
[ $? -eq 2 ] && [ ! -e "$work/y.pdf" ] || fail "an unknown option was not refused"
"$report" -o "$work/z.pdf" "$work/missing.dn5d" 2>/dev/null
[ $? -eq 2 ] || fail "a missing data file was not refused"
echo "drenok-report: all checks passed"
