#!/usr/bin/env bash
# drenok-convert: a converted example runs to the same results as the original; a missing file
# and a staged file (not converted yet) end with status 1 and a message, writing nothing.
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

"$convert" "$examples/three_stages.dn5d" "$work/staged.dn5d" 2>"$work/err2"
[ $? -eq 1 ] || fail "staged file: expected status 1"
[ ! -e "$work/staged.dn5d" ] || fail "staged file: output written"
echo "drenok-convert checks passed"
