#!/usr/bin/env bash
# drenok-results on real runs: every example; the staged example's curves against its plot-data file
# in the long, wide and list forms; a long-term run whose second problem stops; a 407-increment wall;
# usage errors and missing files.
set -u
results=$1 run=$2 examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for file in "$examples"/*.dn5d; do
    name=$(basename "$file" .dn5d)
    mkdir -p "$work/$name"
    cp "$file" "$work/$name/"
    "$run" "$work/$name/$name.dn5d" >/dev/null 2>&1 || fail "$name: run failed"
    "$results" "$work/$name/$name.dn5d" >"$work/$name/long.csv" 2>"$work/$name/err" || fail "$name: exit $?"
    [ -s "$work/$name/err" ] && fail "$name: unexpected message: $(cat "$work/$name/err")"
    [ "$(head -1 "$work/$name/long.csv")" = "plot,curve,point,x,y,x_title,y_title,status" ] || fail "$name: header"
    grep -q '^deflection,' "$work/$name/long.csv" || fail "$name: no deflection rows"
    # Every example converges: every row says so.
    [ "$(awk -F, 'NR > 1 && $NF != "converged"' "$work/$name/long.csv" | wc -l)" -eq 0 ] || fail "$name: status column"
    "$results" --list "$work/$name/$name.dn5d" >"$work/$name/list" || fail "$name: --list exit $?"
    [ "$(head -1 "$work/$name/list")" = "status: converged" ] || fail "$name: --list status"
    "$results" --wide "$work/$name/$name.dn5d" >/dev/null || fail "$name: --wide exit $?"
    # The summary: a header and a converged row per problem; the node table: a row per node.
    "$results" --summary "$work/$name/$name.dn5d" >"$work/$name/summary.csv" || fail "$name: --summary exit $?"
    head -1 "$work/$name/summary.csv" | grep -q '^problem,status,iterations,top deflection (\(in\|mm\)),' ||
        fail "$name: summary header"
    [ "$(awk -F, 'NR > 1 && $2 != "converged"' "$work/$name/summary.csv" | wc -l)" -eq 0 ] || fail "$name: summary status"
    "$results" --summary --json "$work/$name/$name.dn5d" >"$work/$name/summary.json" || fail "$name: --json exit $?"
    if command -v python3 >/dev/null; then
        python3 -c 'import json, sys; d = json.load(open(sys.argv[1])); sys.exit(0 if d["problems"] else 1)' \
            "$work/$name/summary.json" || fail "$name: summary JSON does not parse"
    fi
    "$results" --table "$work/$name/$name.dn5d" >"$work/$name/table.csv" || fail "$name: --table exit $?"
    nodes=$(awk 'NR == 3 { print $1; exit }' "$work/$name/$name.dn5d")
    [ "$(wc -l <"$work/$name/table.csv")" -eq $((nodes + 2)) ] || fail "$name: table rows for $nodes increments"
done

# The summary of the staged example: a row per stage; --table --stage picks one; bad stages refused.
grep -q '^Stage 3,converged,' "$work/three_stages/summary.csv" || fail "summary: stage 3 row"
[ "$(wc -l <"$work/three_stages/summary.csv")" -eq 4 ] || fail "summary: three stages expected"
"$results" --table --stage 2 "$work/three_stages/three_stages.dn5d" >"$work/stage2.csv" || fail "--stage 2 exit $?"
cmp -s "$work/stage2.csv" "$work/three_stages/table.csv" && fail "--stage 2 gave stage 1's table"
for bad in "--table --stage 4" "--table --stage 0" "--json" "--summary --table" "--stage 2"; do
    # shellcheck disable=SC2086 # the options are meant to split
    "$results" $bad "$work/three_stages/three_stages.dn5d" >/dev/null 2>&1
    [ $? -eq 2 ] || fail "'$bad' was not refused"
done

# Three stages: three labelled curves per depth plot, equal to the rows of the plot-data file down
# to the tip (deflections as written, moments and shears in kips, depths in feet; the row of the
# station below the tip is not drawn).
dir=$work/three_stages
csv=$dir/long.csv
for plot in deflection moment shear reaction; do
    labels=$(awk -F, -v p="$plot" '$1 == p { print $2 }' "$csv" | uniq | tr '\n' '|')
    [ "$labels" = "Stage: 1|Stage: 2|Stage: 3|" ] || fail "three stages: $plot curves are '$labels'"
done
# Response rows of the plot-data file: the line " cases rows units", then that many rows.
awk 'NF == 3 && $1 == 3 { block++; rows = $2; next }
     rows > 0 { if (--rows > 0) printf "%d %.17g %.17g %.17g %.17g %.17g\n", block, $1 / 12, $2, $3 / 1000, $4 / 1000, $5 }' "$dir/three_stages.dn5p" >"$dir/rows"
[ "$(wc -l <"$dir/rows")" -eq 183 ] || fail "three stages: expected 3 x 61 response rows"
awk -F, 'NR > 1 && $1 == "deflection" { split($2, s, " "); d[s[2], $3] = $4; y[s[2], $3] = $5 }
         NR > 1 && $1 == "moment" { split($2, s, " "); m[s[2], $3] = $4 }
         NR > 1 && $1 == "shear" { split($2, s, " "); v[s[2], $3] = $4 }
         NR > 1 && $1 == "reaction" { split($2, s, " "); r[s[2], $3] = $4 }
         function differ(a, b) { return (a - b > 1e-12 * (1 + (b < 0 ? -b : b))) || (b - a > 1e-12 * (1 + (b < 0 ? -b : b))) }
         END {
             while ((getline line < ROWS) > 0) {
                 split(line, f, " "); k = f[1]; n[k]++; j = n[k]
                 if (differ(y[k, j], f[2]) || differ(d[k, j], f[3]) || differ(m[k, j], f[4]) ||
                     differ(v[k, j], f[5]) || differ(r[k, j], f[6])) { print "stage " k " point " j; bad = 1 }
             }
             exit bad
         }' ROWS="$dir/rows" "$csv" || fail "three stages: CSV values differ from the plot-data file"

"$results" --wide --plot deflection "$dir/three_stages.dn5d" >"$dir/wide.csv" || fail "wide: exit $?"
[ "$(head -1 "$dir/wide.csv")" = "deflection,Deflection vs Depth" ] || fail "wide: title line"
[ "$(sed -n 2p "$dir/wide.csv")" = "point,Stage: 1: Deflection (in),Stage: 1: Depth (ft),Stage: 2: Deflection (in),Stage: 2: Depth (ft),Stage: 3: Deflection (in),Stage: 3: Depth (ft)" ] ||
    fail "wide: header $(sed -n 2p "$dir/wide.csv")"
[ "$(wc -l <"$dir/wide.csv")" -eq 63 ] || fail "wide: expected 61 rows"
[ "$(awk -F, 'NR > 2 && NF != 7' "$dir/wide.csv" | wc -l)" -eq 0 ] || fail "wide: rows without three column pairs"
"$results" --list "$dir/three_stages.dn5d" >"$dir/list" || fail "list: exit $?"
grep -q '^moment: Moment vs Depth$' "$dir/list" || fail "list: moment plot"
grep -q '^  x: Bending Moment (in-kips)$' "$dir/list" || fail "list: moment axis"
[ "$(grep -c '^    Stage: [123]: 61 points$' "$dir/list")" -eq 12 ] || fail "list: stage curves of the depth plots"

# A long-term run whose second problem stops (a station outside the wall): the short-term curves,
# the message, status 1.
mkdir -p "$work/stop"
awk '/^0 60 1 2.9E9$/ && ++n == 2 { print "0 99 1 2.9E9"; next } { print }' \
    "$examples/short_long_term.dn5d" >"$work/stop/wall.dn5d"
"$run" "$work/stop/wall.dn5d" >/dev/null 2>&1
grep -q 'ERROR -- STATION 99 LIES OUTSIDE THE WALL' "$work/stop/wall.dn5o" || fail "stop: the engine did not stop"
"$results" "$work/stop/wall.dn5d" >"$work/stop/long.csv" 2>"$work/stop/err"
[ $? -eq 1 ] || fail "stop: expected status 1"
grep -q 'stopped with an error in the long-term problem' "$work/stop/err" || fail "stop: message '$(cat "$work/stop/err")'"
grep -q '^deflection,Short-Term,.*,converged$' "$work/stop/long.csv" || fail "stop: short-term curve missing"
"$results" --list "$work/stop/wall.dn5d" >"$work/stop/list" 2>/dev/null
grep -q '^status: ERROR STOP$' "$work/stop/list" || fail "stop: list status $(head -1 "$work/stop/list")"
grep -q '^  Long-term problem: the engine stopped with an error$' "$work/stop/list" || fail "stop: list problems"
grep -q 'Long-Term' "$work/stop/long.csv" && fail "stop: a long-term curve was written"
cmp -s <(grep '^deflection,' "$work/stop/long.csv") \
    <(grep '^deflection,Short-Term,' "$work/short_long_term/long.csv") || fail "stop: short-term curve differs"

# Outputs that are not the data file's results are refused: cut inside the last number, or older than
# the data file.
mkdir -p "$work/stale"
cp "$examples/cantilever_check.dn5d" "$work/stale/wall.dn5d"
"$run" "$work/stale/wall.dn5d" >/dev/null 2>&1
"$results" "$work/stale/wall.dn5d" >/dev/null || fail "stale: a fresh run was refused"
cp "$work/stale/wall.dn5p" "$work/stale/keep"
truncate -s -3 "$work/stale/wall.dn5p"
"$results" "$work/stale/wall.dn5d" >/dev/null 2>"$work/stale/err"
[ $? -eq 1 ] || fail "stale: a cut plot-data file was read"
cp "$work/stale/keep" "$work/stale/wall.dn5p"
touch -d '-1 minute' "$work/stale/wall.dn5p"
"$results" "$work/stale/wall.dn5d" >/dev/null 2>"$work/stale/err"
[ $? -eq 1 ] || fail "stale: plot data older than the data file was read"
grep -q 'older than the data file' "$work/stale/err" || fail "stale: message '$(cat "$work/stale/err")'"

# 407 increments: 409 response rows, 408 on the wall.
mkdir -p "$work/long"
printf 'Long wall\n1 1 1 0 0 0 0 1 0 0\n407 1 100 1E-5 0 12\n3 407 0 0\n0 407 1 1E9\n1\n1 0 0 1000 0 0\n0\n0\n' \
    >"$work/long/wall.dn5d"
"$run" "$work/long/wall.dn5d" >/dev/null 2>&1 || fail "407 increments: run failed"
"$results" --list "$work/long/wall.dn5d" >"$work/long/list" || fail "407 increments: exit $?"
grep -q '^    Load #1: 408 points$' "$work/long/list" || fail "407 increments: $(grep points "$work/long/list")"

# Usage errors and missing files: status 2 and a message.
expect2() {
    "$results" "$@" >"$work/out" 2>"$work/err"
    [ $? -eq 2 ] || fail "$*: expected status 2"
    [ -s "$work/err" ] || fail "$*: no message"
    [ -s "$work/out" ] && fail "$*: wrote output"
    return 0
}
expect2
expect2 --wide
expect2 "$work/missing.dn5d"
expect2 --plot nothing "$dir/three_stages.dn5d"
expect2 "$dir/three_stages.dn5d" "$dir/three_stages.dn5d"
# A workbook named like the data file or its plot data would write over what is read.
cp "$dir/three_stages.dn5d" "$work/keep.dn5d"
expect2 --xlsx "$dir/three_stages.dn5d" "$dir/three_stages.dn5d"
expect2 --xlsx "$dir/three_stages.dn5p" "$dir/three_stages.dn5d"
cmp -s "$dir/three_stages.dn5d" "$work/keep.dn5d" || fail "xlsx: the data file was written over"
cp "$examples/cantilever_check.dn5d" "$work/norun.dn5d"
expect2 "$work/norun.dn5d"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "missing plot data: message not one line"

# A damaged plot-data file: status 1, nothing written.
cp "$dir/three_stages.dn5d" "$work/damaged.dn5d"
head -c 2000 "$dir/three_stages.dn5p" >"$work/damaged.dn5p"
"$results" "$work/damaged.dn5d" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "damaged: expected status 1"
[ -s "$work/out" ] && fail "damaged: wrote output"
grep -q 'damaged or incomplete' "$work/err" || fail "damaged: message"
echo "drenok-results checks passed"
