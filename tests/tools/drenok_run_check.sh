#!/usr/bin/env bash
# Drives the built drenok-run end to end. Data files are copied into a private folder first, so
# runs never write into the source tree, and TMPDIR points into it so leftover working folders show.
#   drenok_run_check.sh CASE DRENOK_RUN EXAMPLE FAKE_ENGINE DATA_DIR
set -euo pipefail

case_name=$1
drenok_run=$2
example=$3
fake_engine=$4
data_dir=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$work/cwd" "$work/data"
cd "$work/cwd"
cp "$example" "$work/data/ex.dn5d"

fail() {
    echo "FAIL: $*"
    echo "--- stdout"; cat "$work/out" 2>/dev/null || true
    echo "--- stderr"; cat "$work/err" 2>/dev/null || true
    exit 1
}

# run EXPECTED_STATUS ARGS...: runs drenok-run, keeps its output in $work/out and $work/err.
run() {
    local want=$1 got=0
    shift
    "$drenok_run" "$@" >"$work/out" 2>"$work/err" || got=$?
    [ "$got" -eq "$want" ] || fail "drenok-run $* exited $got, expected $want"
}

expect_out() { grep -Eq -- "$1" "$work/out" || fail "stdout lacks /$1/"; }
expect_err() { grep -Eq -- "$1" "$work/err" || fail "stderr lacks /$1/"; }

# The summary's first line per file, in printed order.
expect_order() {
    local got
    got=$(grep -E '^[^ ].*: ' "$work/out" | sed 's/: .*//' | tr '\n' ' ')
    [ "$got" = "$1" ] || fail "summaries in order '$got', expected '$1'"
}

expect_clean() {
    [ -z "$(ls -A "$TMPDIR")" ] || fail "working folders left in TMPDIR: $(ls -A "$TMPDIR")"
    [ -z "$(ls -A "$work/cwd")" ] || fail "files left in the current folder: $(ls -A "$work/cwd")"
}

case $case_name in
usage)
    run 2
    expect_err 'usage: drenok-run'
    for bad in "-j 0" "-j -3" "-j abc" "-j 2x" "-j" "-x"; do
        # shellcheck disable=SC2086 # the option and its value are meant to split
        run 2 $bad "$work/data/ex.dn5d"
        expect_err 'usage: drenok-run'
    done
    [ ! -e "$work/data/ex.dn5o" ] || fail "a usage error still ran the engine"
    ;;
missing)
    # All files are checked before any runs.
    run 2 "$work/data/ex.dn5d" "$work/data/nope.dn5d"
    expect_err 'no such data file: .*nope\.dn5d'
    [ ! -e "$work/data/ex.dn5o" ] || fail "the existing file ran although another was missing"
    run 2 "$work/data"
    ;;
example)
    run 0 "$work/data/ex.dn5d"
    expect_out '^  Cantilever check: converged \(iteration [0-9]+\)$'
    expect_out '^ +top deflection +21\.3( |$)'
    expect_out '^ +max moment '
    # Header, problem, four quantities: the data echo's boxes of asterisks are no warnings.
    [ "$(wc -l <"$work/out")" -eq 6 ] || fail "unexpected lines in the summary"
    expect_clean
    ;;
errorstop)
    # An error stop fails the batch but not the other runs in it.
    cp "$data_dir/stations_out_of_order.dn5d" "$work/data/bad.dn5d"
    cd "$work/data"
    run 1 bad.dn5d ex.dn5d
    expect_order 'bad.dn5d ex.dn5d '
    expect_out '^bad\.dn5d: ERROR STOP$'
    expect_out '^  problem 1: ERROR STOP$'
    expect_out '^    ERROR STOP -- STATIONS NOT IN ORDER$'
    expect_out '^ex\.dn5d: converged$'
    # A negative restraint count ends the run in good order with nothing solved: not a result.
    sed '2s/^\([0-9]*\) [0-9]*/\1 -1/' ex.dn5d >none.dn5d
    run 1 none.dn5d
    expect_out '^none\.dn5d: NO RESULTS$'
    grep -q 'END OF ANALYSIS' none.dn5o || fail "the run did not end in good order"
    ;;
status)
    # Every ending has its word and its exit status; the worst decides the batch's.
    cd "$work/data"
    sed '3s/^40 1 100/40 1 10/' ex.dn5d >exceed.dn5d
    sed '5s/1E6/1E308/' ex.dn5d >huge_ei.dn5d
    sed '3s/^40 1 /40 1E300 /' ex.dn5d >long_increment.dn5d
    cp "$data_dir/alternating_sand_over_clay.dn5d" alternating.dn5d
    run 3 exceed.dn5d
    expect_out '^exceed\.dn5d: DEFLECTION EXCEEDED$'
    expect_out '^  Cantilever check: DEFLECTION EXCEEDED \(15 stations, iteration 1\)$'
    for f in huge_ei long_increment; do
        run 1 $f.dn5d
        expect_out "^$f\\.dn5d: NON-FINITE RESULTS$"
        expect_out '^ +top deflection +NaN'
    done
    # The plain iteration swings between two states; damped iterations close it.
    run 0 alternating.dn5d
    expect_out '^  Sand over stiff clay.*: converged \(iteration 1[0-9][0-9], damped\)$'
    expect_out 'SOLUTION CLOSED WITH DAMPED ITERATIONS FROM ITERATION 101'
    grep -q 'ALTERNATES BETWEEN TWO STATES' alternating.dn5r || fail "the run notes do not say damping was used"
    run 1 exceed.dn5d huge_ei.dn5d ex.dn5d
    run 3 ex.dn5d exceed.dn5d
    ;;
check)
    # Checks run nothing; an error is named by table, row and field and fails the check.
    cd "$work/data"
    sed '5s/^0 40 1/0 10 1/' ex.dn5d >short_ei.dn5d
    run 0 --check ex.dn5d
    expect_out '^ex\.dn5d: no faults found$'
    run 1 --check ex.dn5d short_ei.dn5d
    expect_out '^short_ei\.dn5d: 1 error, 0 warnings$'
    expect_out '^  Error: Wall Stiffness: nodes 11 to 40 of the wall have no stiffness'
    [ ! -e short_ei.dn5o ] && [ ! -e ex.dn5o ] || fail "--check ran the engine"
    run 2 --check nope.dn5d
    ;;
parallel)
    cp "$example" "$work/data/b.dn5d"
    cd "$work/data"
    # The same file twice must not race on its outputs; summaries keep the command-line order.
    run 0 -j 2 ex.dn5d b.dn5d ex.dn5d
    expect_order 'ex.dn5d b.dn5d ex.dn5d '
    [ "$(grep -Ec '^ +top deflection +21\.3( |$)' "$work/out")" -eq 3 ] || fail "expected three summaries"
    [ -z "$(ls -A "$TMPDIR")" ] || fail "working folders left in TMPDIR"
    # Two files of one stem share their outputs: they run in turn, each summary its own.
    sed '3s/^40 1 100/40 1 10/' ex.dn5d >ex.txt
    run 3 -j 2 ex.dn5d ex.txt
    expect_out '^ex\.dn5d: converged$'
    expect_out '^ex\.txt: DEFLECTION EXCEEDED$'
    # A data file named like an output is refused before anything runs over it.
    cp ex.dn5d d.dn5p
    run 2 d.dn5p
    expect_err "d\.dn5p has the extension of a run's output"
    cmp -s ex.dn5d d.dn5p || fail "d.dn5p was written over"
    ;;
paths)
    # Paths the run file could not carry: a folder deeper than 255 characters, a folder name with a
    # line break, a data file name ending in a blank beside one without it. Each runs exactly its file
    # and finds its outputs beside it.
    deep="$work/data"
    while [ ${#deep} -lt 300 ]; do deep="$deep/a_folder_of_the_project_archive"; done
    mkdir -p "$deep"
    cp "$example" "$deep/wall.dn5d"
    run 0 "$deep/wall.dn5d"
    [ -s "$deep/wall.dn5o" ] && [ -s "$deep/wall.dn5p" ] && [ -s "$deep/wall.dn5r" ] || fail "deep: outputs missing"
    odd="$work/data/line
break"
    mkdir -p "$odd"
    cp "$example" "$odd/wall.dn5d"
    run 0 "$odd/wall.dn5d"
    [ -s "$odd/wall.dn5o" ] || fail "line break: no report beside the file"
    cd "$work/data"
    sed '3s/^40 1 100/40 1 10/' ex.dn5d >"w.dn5d "
    cp ex.dn5d w.dn5d
    run 3 "w.dn5d "
    expect_out 'DEFLECTION EXCEEDED'
    expect_clean
    ;;
outputs)
    # A folder name with a blank, as desktop users have them.
    dir="$work/my walls"
    mkdir "$dir"
    cp "$example" "$dir/wall.dn5d"
    run 0 "$dir/wall.dn5d"
    for ext in dn5o dn5p dn5r; do
        [ -s "$dir/wall.$ext" ] || fail "wall.$ext missing or empty beside the data file"
    done
    got=$(cd "$dir" && printf '%s ' *)
    [ "$got" = "wall.dn5d wall.dn5o wall.dn5p wall.dn5r " ] || fail "data folder holds: $got"
    grep -q 'END OF ANALYSIS' "$dir/wall.dn5o" || fail "the report is incomplete"
    expect_clean
    ;;
fulldisk)
    # Outputs the engine cannot write whole (a file-size limit stands in for a full disk) are not
    # published: the earlier run's outputs stay, and nothing is left behind.
    cd "$work/data"
    run 0 ex.dn5d
    cp ex.dn5o before.dn5o
    cp ex.dn5p before.dn5p
    got=0
    (ulimit -f 4 && trap '' XFSZ && exec "$drenok_run" ex.dn5d) >"$work/out" 2>"$work/err" || got=$?
    [ "$got" -eq 1 ] || fail "a run under a 4 KB file limit exited $got, expected 1"
    expect_out '^ex\.dn5d: FAILED: The analysis wrote no report\.'
    expect_err 'CANNOT WRITE THE OUTPUT FILE .*: File too large'
    cmp -s ex.dn5o before.dn5o && cmp -s ex.dn5p before.dn5p || fail "a failed run replaced earlier outputs"
    expect_clean
    # A real full disk where this machine lets a test mount a small one.
    if unshare -m true 2>/dev/null; then
        got=0
        unshare -m bash -c 'mount -t tmpfs -o size=12k tmpfs "$TMPDIR" && exec "$0" ex.dn5d' "$drenok_run" \
            >"$work/out" 2>"$work/err" || got=$?
        [ "$got" -eq 1 ] || fail "a run on a full disk exited $got, expected 1"
        expect_out 'is full: 0 KB free'
        cmp -s ex.dn5o before.dn5o || fail "a run on a full disk replaced the earlier report"
    else
        echo "SKIP: no mount namespace here, the full tmpfs is not tried"
    fi
    ;;
fake)
    # A copy of drenok-run beside the stand-in engine, which checks names.dat itself.
    mkdir "$work/bin"
    cp "$drenok_run" "$work/bin/drenok-run"
    cp "$fake_engine" "$work/bin/libDrenok2015_DLL.so"
    drenok_run=$work/bin/drenok-run
    cd "$work/data"
    for what in ok crash fail noreport errorstop cut; do echo "$what" >"$what.dn5d"; done
    run 0 ok.dn5d
    expect_out '^ok\.dn5d: converged$'
    expect_out '^  Fake wall: converged \(iteration 4\)$'
    expect_out '^ +top deflection +5\.00 IN$'
    expect_out '^ +max moment +300 +at depth 10\.0 FT \(node 1\)$'
    expect_out '^ +max shear +-70\.0 +at depth 10\.0 FT \(node 1\)$'
    [ -z "$(ls -A "$TMPDIR")" ] || fail "scratch files left in TMPDIR"

    # A report left by an earlier run must not be taken for this run's.
    cp ok.dn5o noreport.dn5o
    run 1 -j 3 crash.dn5d ok.dn5d fail.dn5d noreport.dn5d errorstop.dn5d cut.dn5d
    expect_order 'crash.dn5d ok.dn5d fail.dn5d noreport.dn5d errorstop.dn5d cut.dn5d '
    expect_out '^crash\.dn5d: FAILED: the engine crashed \(signal 6'
    expect_out '^fail\.dn5d: FAILED: the engine returned 7$'
    expect_out '^noreport\.dn5d: FAILED: The analysis wrote no report\.'
    # The outputs of the earlier run stay as they were.
    cmp -s ok.dn5o noreport.dn5o || fail "a run without a report replaced the earlier one"
    expect_out '^errorstop\.dn5d: ERROR STOP$'
    expect_out '^    ERROR STOP -- STATIONS NOT IN ORDER$'
    expect_out '^cut\.dn5d: INCOMPLETE$'
    expect_out 'the report ends before END OF ANALYSIS'
    [ -z "$(ls -A "$TMPDIR")" ] || fail "working folders left after failed runs"

    # Without an engine beside it, every run fails but the front end does not.
    rm "$work/bin/libDrenok2015_DLL.so"
    run 1 ok.dn5d
    expect_out '^ok\.dn5d: FAILED: cannot load the engine'
    ;;
*)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "PASS: $case_name"
