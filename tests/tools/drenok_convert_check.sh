#!/usr/bin/env bash
# drenok-convert: a converted example, staged ones included, runs to the same results as the original;
# a missing file ends with status 1 and a message, writing nothing; no scratch stage files are left.
set -u
convert=$1 run=$2 examples=$3 data=$4
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
# Choices the desktop reader must keep, and records only the engine's free form allows: each file
# analyses to the same plot data after conversion.
for name in long_term_trapezoidal staged_trapezoidal commas_and_notes; do
    mkdir -p "$work/k/a" "$work/k/b"
    cp "$data/$name.dn5d" "$work/k/a/$name.dn5d"
    "$convert" "$data/$name.dn5d" "$work/k/b/$name.dn5d" || fail "$name: convert exit $?"
    "$run" "$work/k/a/$name.dn5d" >/dev/null 2>&1 || fail "$name: original did not run"
    "$run" "$work/k/b/$name.dn5d" >/dev/null 2>&1 || fail "$name: converted did not run"
    [ -s "$work/k/a/$name.dn5p" ] || fail "$name: no plot data"
    cmp -s "$work/k/a/$name.dn5p" "$work/k/b/$name.dn5p" || fail "$name: plot data differ after conversion"
done
for name in long_term_trapezoidal staged_trapezoidal; do
    # Both problems keep the apparent pressure (control records: ten integers, the fifth 3).
    [ "$(grep -cE '^1 0 1 0 3 1 10 [12] 0 1$' "$work/k/b/$name.dn5d")" -eq 2 ] ||
        fail "$name: apparent pressure not kept in both problems"
    # The comparison has teeth: the triangular distribution analyses differently.
    mkdir -p "$work/k/t"
    sed 's/^1 0 1 0 3 /1 0 1 0 2 /' "$data/$name.dn5d" >"$work/k/t/$name.dn5d"
    "$run" "$work/k/t/$name.dn5d" >/dev/null 2>&1
    cmp -s "$work/k/a/$name.dn5p" "$work/k/t/$name.dn5p" && fail "$name: triangular gives the same plot data"
done

# A malformed number: the reader's message on two lines, status 1.
printf 'Bad\n1 0 1 0 0 0 0 1 0 0\n10 x 100 1E-5 0 12\n' >"$work/bad.dn5d"
"$convert" "$work/bad.dn5d" "$work/bad_out.dn5d" 2>"$work/err3"
[ $? -eq 1 ] || fail "malformed file: expected status 1"
[ "$(cat "$work/err3")" = "$(printf 'Error on Line 3 Item 2\nA floating point number was expected but not found.')" ] ||
    fail "malformed file: message not on two lines: $(cat -A "$work/err3")"
# No conversion onto the file read, nor onto its run's outputs (through a link too).
cp "$examples/cantilever_check.dn5d" "$work/self.dn5d"
cp "$work/self.dn5d" "$work/self.keep"
ln -s "$work/self.dn5d" "$work/self-link.dn5d"
for out in "$work/self.dn5d" "$work/self-link.dn5d" "$work/self.dn5p"; do
    "$convert" "$work/self.dn5d" "$out" 2>"$work/err4"
    [ $? -eq 1 ] || fail "onto itself ($out): expected status 1"
    grep -q 'which it reads' "$work/err4" || fail "onto itself: message '$(cat "$work/err4")'"
done
cmp -s "$work/self.dn5d" "$work/self.keep" || fail "onto itself: the data file was written over"
# What is not a regular file is refused at once, not read for ever or waited on.
mkfifo "$work/pipe.dn5d"
for in in /dev/zero "$work/pipe.dn5d"; do
    timeout 20 "$convert" "$in" "$work/from_device.dn5d" 2>"$work/err5"
    [ $? -eq 1 ] || fail "$in: expected status 1"
    grep -q 'is not a regular file' "$work/err5" || fail "$in: message '$(cat "$work/err5")'"
done
[ ! -e "$work/from_device.dn5d" ] || fail "a device gave an output"
echo "drenok-convert checks passed"
