#!/usr/bin/env bash
# drenok-convert: a converted example, staged ones included, runs to the same results as the original;
# a missing file ends with status 1 and a message, writing nothing; no scratch stage files are left.
set -u
convert=$1 run=$2 examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for name in user_pressure_curves generated_sand anchored_si_generated short_long_term; do
    mkdir -p "$work/a" "$work/b"
    cp "$examples/$name.dn5d" "$work/a/$name.dn5d"
    "$convert" "$examples/$name.dn5d" "$work/b/$name.dn5d" || fail "$name: convert exit $?"
    a=$("$run" "$work/a/$name.dn5d" 2>/dev/null | tail -n +2) || fail "$name: original did not run"
    b=$("$run" "$work/b/$name.dn5d" 2>/dev/null | tail -n +2) || fail "$name: converted did not run"
    [ -n "$a" ] || fail "$name: empty summary"
    [ "$a" = "$b" ] || fail "$name: results differ after conversion"
done

"$convert" "$work/missing.dn5d" "$work/out.dn5d" 2>"$work/err"
[ $? -eq 1 ] || fail "missing file: expected status 1"
[ -s "$work/err" ] || fail "missing file: no message"
[ ! -e "$work/out.dn5d" ] || fail "missing file: output written"

mkdir -p "$work/s" "$work/tmp"
cp "$examples/three_stages.dn5d" "$work/s/orig.dn5d"
TMPDIR="$work/tmp" "$convert" "$examples/three_stages.dn5d" "$work/s/staged.dn5d" || fail "staged file: convert exit $?"
[ "$(grep -c ' Stage No :' "$work/s/staged.dn5d")" -eq 2 ] || fail "staged file: stages missing"
a=$("$run" "$work/s/orig.dn5d" 2>/dev/null | tail -n +2) || fail "staged file: original did not run"
b=$("$run" "$work/s/staged.dn5d" 2>/dev/null | tail -n +2) || fail "staged file: converted did not run"
[ -n "$a" ] || fail "staged file: empty summary"
[ "$a" = "$b" ] || fail "staged file: results differ after conversion"
[ -z "$(ls -A "$work/tmp")" ] || fail "staged file: scratch files left behind"
ls "$work/s"/*.st? >/dev/null 2>&1 && fail "staged file: stage files beside the output"

# A staged file whose second stage is cut short: status 1, the reader's message, nothing written.
sed '/ Stage No : 2/,$d' "$examples/three_stages.dn5d" >"$work/s/cut.dn5d"
echo " Stage No : 2" >>"$work/s/cut.dn5d"
echo "1 0 1" >>"$work/s/cut.dn5d"
"$convert" "$work/s/cut.dn5d" "$work/s/cut_out.dn5d" 2>"$work/err2"
[ $? -eq 1 ] || fail "cut staged file: expected status 1"
grep -q "invalid or incomplete" "$work/err2" || fail "cut staged file: no reader message"
[ ! -e "$work/s/cut_out.dn5d" ] || fail "cut staged file: output written"
echo "drenok-convert checks passed"
