#!/usr/bin/env bash
# drenok-design le on data files: the dry-sand cantilever against its closed form, free-earth support of
# the anchored example, a problem the methods cannot take, JSON and usage errors.
#   drenok_design_check.sh DRENOK_DESIGN EXAMPLES DATA
set -u
design=$1 examples=$2 data=$3
fail() { echo "FAIL: $*"; exit 1; }

# D = H / ((Kp/Ka)^(1/3) - 1) = 0.92585 H for phi = 30 degrees; H = 10 ft. The largest moment of the
# diagram is 125 gamma (gamma = 0.0694 lb/in3 = 119.92 lb/ft3).
out=$("$design" le "$data/dry_sand_cantilever.dn5d") || fail "dry sand: exit $?"
[ "$(echo "$out" | head -1)" = "problem,method,embedment required (ft),embedment design (ft),embedment provided (ft),tieback force (lb/ft),max moment (lb-ft/ft),at depth (ft),status,p-y status,p-y tieback force (lb/ft),p-y max moment (lb-ft/ft)" ] ||
    fail "dry sand: header $(echo "$out" | head -1)"
echo "$out" | awk -F, 'NR == 2 { d = $3 - 9.25854; m = $7 / 14990 - 1
                                 exit !($2 == "simplified" && d * d < 1e-6 && m * m < 1e-6 && $4 > 11.1 && $4 < 11.12 && $9 == "solved") }' ||
    fail "dry sand: $(echo "$out" | sed -n 2p)"
full=$("$design" le --method full "$data/dry_sand_cantilever.dn5d") || fail "full: exit $?"
echo "$full" | awk -F, 'NR == 2 { exit !($3 > 9.26 && $3 < 11.1) }' || fail "full: $(echo "$full" | sed -n 2p)"
# A factor of 1.5 on the passive resistance: H / ((9 / 1.5)^(1/3) - 1) = 12.238 ft.
fs=$("$design" le --fs 1.5 "$data/dry_sand_cantilever.dn5d") || fail "fs: exit $?"
echo "$fs" | awk -F, 'NR == 2 { d = $3 - 12.2381; exit !(d * d < 1e-6) }' || fail "fs: $(echo "$fs" | sed -n 2p)"

# One tieback: free-earth support, a tieback force.
anchored=$("$design" le "$examples/anchored_tieback_trapezoidal.dn5d") || fail "anchored: exit $?"
echo "$anchored" | awk -F, 'NR == 2 { exit !($2 == "free-earth" && $6 > 0 && $9 == "solved") }' ||
    fail "anchored: $(echo "$anchored" | sed -n 2p)"
if command -v python3 >/dev/null; then
    "$design" le --json "$examples/anchored_tieback_trapezoidal.dn5d" |
        python3 -c 'import json, sys; p = json.load(sys.stdin)["problems"][0]; sys.exit(0 if p["tieback_forces"][0] > 0 and p["embedment_required"] > 0 else 1)' ||
        fail "anchored: JSON"
fi

# The p-y results beside the method's once the wall has run: the anchored example's tieback carries 4.125
# kips on its 12 in width, 4125 lb per foot.
work=$(mktemp -d)
cp "$examples/anchored_tieback_trapezoidal.dn5d" "$work/wall.dn5d"
"$(dirname "$design")/drenok-run" "$work/wall.dn5d" >/dev/null 2>&1
"$design" le "$work/wall.dn5d" | awk -F, 'NR == 2 { f = $11 / 4125.18 - 1; exit !($10 == "converged" && f * f < 1e-8) }' ||
    fail "p-y beside: $("$design" le "$work/wall.dn5d" | sed -n 2p)"
rm -rf "$work"

# A single-anchor sheet pile in sand with the inputs of Das (2016), Example 14.7: water 3.05 m down on
# both sides, excavation 9.15 m, anchor 1.52 m. The net-pressure diagram worked by hand gives
# L3 + L4 = 1.392 + 2.684 = 4.076 m, F = 116.10 kN/m and, where the shear vanishes at 7.063 m, the
# largest moment 352.98 kN-m/m (its depth to the step of the moment diagram, 1/400 of the wall).
das=$("$design" le --json "$examples/verification/das_free_earth.dn5d") || fail "das: exit $?"
echo "$das" | tr ',' '\n' | awk -F': ' '
    /embedment_required/ { d = $2 - 4.0759 } /tieback_forces/ { gsub(/\[|\]/, "", $2); f = $2 - 116.097 }
    /"max_moment"/ { m = $2 + 352.98 } /max_moment_depth/ { gsub(/[}\] ]/, "", $2); z = $2 - 7.063 }
    END { exit !(d * d < 1e-6 && f * f < 1e-3 && m * m < 0.04 && z * z < 1.2e-3) }' ||
    fail "das: $das"

# Two tiebacks (the anchored example with a second at 10 ft): the apparent-pressure method, a force each.
two=$("$design" le "$data/two_tiebacks.dn5d") || fail "two tiebacks: exit $?"
echo "$two" | awk -F, 'NR == 2 { n = split($6, f, ";"); exit !($2 == "apparent" && n == 2 && f[1] > 0 && f[2] > 0 && $3 > 0) }' ||
    fail "two tiebacks: $(echo "$two" | sed -n 2p)"
"$design" le --method free-earth "$data/two_tiebacks.dn5d" >/dev/null 2>&1
[ $? -eq 1 ] || fail "two tiebacks: free-earth support was not refused"

# No soil layers (user pressure and user curves): nothing to compute, said, exit 1.
"$design" le "$examples/three_stages.dn5d" >"${TMPDIR:-/tmp}/design.$$" 2>&1
status=$?
grep -q 'no soil layers' "${TMPDIR:-/tmp}/design.$$" || fail "three stages: no reason given"
rm -f "${TMPDIR:-/tmp}/design.$$"
[ "$status" -eq 1 ] || fail "three stages: exit $status, expected 1"

# The sweep of a cantilever whose p-y solution fails on a short embedment brackets it: the runs below
# 5 ft exceed the allowable deflection, every longer one converges; with a limit of 2 in on the top
# deflection the shortest that holds is 6 ft.
work=$(mktemp -d)
cp "$examples/generated_sand.dn5d" "$work/wall.dn5d"
"$design" sweep --from 2 --to 16 --step 1 --limit 2 "$work/wall.dn5d" >"$work/sweep.csv" 2>"$work/sweep.err" ||
    fail "sweep: exit $?"
[ "$(wc -l <"$work/sweep.csv")" -eq 16 ] || fail "sweep: expected 15 runs"
[ "$(sed -n 2p "$work/sweep.csv" | cut -d, -f1,3)" = "2,DEFLECTION EXCEEDED" ] || fail "sweep: first run $(sed -n 2p "$work/sweep.csv")"
[ "$(sed -n 5p "$work/sweep.csv" | cut -d, -f1,3)" = "5,converged" ] || fail "sweep: 5 ft $(sed -n 5p "$work/sweep.csv")"
grep -q 'every longer one converges within the deflection limit: 6 ft' "$work/sweep.err" || fail "sweep: $(cat "$work/sweep.err")"
grep -q 'limit-equilibrium embedment (simplified, factor 1): 7.31' "$work/sweep.err" || fail "sweep: no limit-equilibrium mark"
[ "$(ls "$work")" = "$(printf 'sweep.csv\nsweep.err\nwall.dn5d')" ] || fail "sweep: left files beside the data file: $(ls "$work")"
rm -rf "$work"

# A staged wall: every stage lengthened alike, the embedment below the deepest excavation (200 in), the
# section check on both stages with H/150 of that depth.
work=$(mktemp -d)
cp "$data/staged_trapezoidal.dn5d" "$work/wall.dn5d"
"$design" sweep --from 2 --to 12 --step 2 "$work/wall.dn5d" >"$work/sweep.csv" 2>/dev/null || fail "staged sweep: exit $?"
[ "$(wc -l <"$work/sweep.csv")" -eq 7 ] || fail "staged sweep: expected 6 runs"
[ "$(sed -n 2p "$work/sweep.csv" | cut -d, -f1,2,3)" = "2,56,converged" ] || fail "staged sweep: $(sed -n 2p "$work/sweep.csv")"
"$design" section --section "AU 16" "$work/wall.dn5d" 2>"$work/section.err" | grep -q '^AU 16,.*,1.33333,yes$' ||
    fail "staged section: $(cat "$work/section.err")"
rm -rf "$work"

# Sections: the catalogue on generated_sand (H = 10 ft, H/150 = 0.8 in); GU 6N bends too far, AU 14 is
# the lightest that passes; AU 16's utilisation by hand: 143.7 kip-in on the 12 in width is 53.28
# kN-m/m, over W fy = 1600 cm3/m x 355 MPa = 568 kN-m/m.
work=$(mktemp -d)
cp "$examples/generated_sand.dn5d" "$work/wall.dn5d"
"$design" section "$work/wall.dn5d" >"$work/sections.csv" 2>"$work/sections.err" || fail "section: exit $?"
[ "$(wc -l <"$work/sections.csv")" -eq 14 ] || fail "section: expected 13 sections"
grep -q '^GU 6N,.*,no$' "$work/sections.csv" || fail "section: GU 6N should not pass"
awk -F, '$1 == "AU 16" { u = $7 / 0.0938 - 1; exit !(u * u < 1e-4 && $10 == "yes") }' "$work/sections.csv" ||
    fail "section: AU 16 $(grep '^AU 16,' "$work/sections.csv")"
grep -q 'lightest section that passes: AU 14' "$work/sections.err" || fail "section: $(cat "$work/sections.err")"
# A section of the user's, in per-foot units: 240.6 in4/ft and 29.76 in3/ft are AU 16's 32850 cm4/m and
# 1600 cm3/m, so it must check the same.
printf 'name,in4/ft,in3/ft,lb/ft2\nMine,240.6,29.76,23.55\n' >"$work/mine.csv"
"$design" section --catalogue "$work/mine.csv" "$work/wall.dn5d" >"$work/mine.out" 2>/dev/null || fail "catalogue: exit $?"
awk -F, 'NR == 2 { u = $7 / 0.0938 - 1; exit !($1 == "Mine" && u * u < 1e-4) }' "$work/mine.out" ||
    fail "catalogue: $(sed -n 2p "$work/mine.out")"
printf 'name,in4/ft,in3/ft,lb/ft2\nBad,240.6,x,23.55\n' >"$work/bad.csv"
"$design" section --catalogue "$work/bad.csv" "$work/wall.dn5d" >/dev/null 2>"$work/bad.err"
[ $? -eq 2 ] || fail "catalogue: a bad value was not refused"
grep -q 'line 2: the section modulus' "$work/bad.err" || fail "catalogue: $(cat "$work/bad.err")"
rm -rf "$work"

for bad in "" "le" "sweep $data/dry_sand_cantilever.dn5d" "le --method nope $data/dry_sand_cantilever.dn5d" \
    "le --fs 0.5 $data/dry_sand_cantilever.dn5d" "le --coulomb x $data/dry_sand_cantilever.dn5d" \
    "le $data/no_such_file.dn5d" "sweep --from 2 $data/dry_sand_cantilever.dn5d" \
    "sweep --from 5 --to 2 --step 1 $data/dry_sand_cantilever.dn5d" "sweep --from 2 --to 5 --step 0 $data/dry_sand_cantilever.dn5d" \
    "section --grade S999 $data/dry_sand_cantilever.dn5d" "section --limit H/7 $data/dry_sand_cantilever.dn5d" \
    "section --section NoSuch $data/dry_sand_cantilever.dn5d"; do
    # shellcheck disable=SC2086 # the arguments are meant to split
    "$design" $bad >/dev/null 2>&1
    [ $? -eq 2 ] || fail "'$bad' was not refused with status 2"
done
echo "drenok-design checks passed"
