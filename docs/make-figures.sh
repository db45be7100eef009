#!/usr/bin/env bash
# The manuals' pictures, taken from the real programs: the first wall's steps, every dialog, the main
# window, and the graphs and side view of every example after a run.
# Usage: make-figures.sh OUTPUT_FOLDER BIN_FOLDER EXAMPLES_FOLDER GUIDE_SHOTS DIALOG_SHOTS MAIN_WINDOW_SHOT
# The window pictures need a display: the script starts a virtual one (xvfb-run) when there is none,
# and without either it leaves those pictures out and says so.
set -euo pipefail
out=$1 bin=$2 examples=$3 guide=$4 dialogs=$5 mainwindow=$6
mkdir -p "$out/guide" "$out/dialogs" "$out/graphs" "$out/views"
# The engine's progress lines on the error stream are left out; real complaints still show.
exec 2> >(grep --line-buffered -v '^ READ SOIL DATA' >&2)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

display=()
if [ -z "${DISPLAY:-}" ]; then
    if command -v xvfb-run > /dev/null; then
        display=(xvfb-run -a -s '-screen 0 1280x1024x24')
    else
        echo "make-figures: no display and no xvfb-run: the window pictures are left out" >&2
        display=(none)
    fi
fi
with_display() {
    [ "${display[0]:-}" = none ] && return 0
    QT_QPA_PLATFORM=xcb "${display[@]}" "$@"
}
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
# The windows show the data file's path: a plain folder reads better there than a random one. Only a
# folder made here is used, and emptied before each program.
shots=${TMPDIR:-/tmp}/walls
if mkdir "$shots" 2> /dev/null; then
    trap 'rm -rf "$work" "$shots"' EXIT
    export DRENOK_SHOTS_FOLDER=$shots
fi
fresh() { [ -n "${DRENOK_SHOTS_FOLDER:-}" ] && rm -rf "${shots:?}"/* || true; }
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# A picture that could not be taken leaves a gap in the manuals (pandoc names it), not a failed build.
fresh
with_display "$guide" "$out/guide" "$examples/generated_sand.dn5d" > /dev/null ||
    echo "make-figures: some pictures of the first wall are missing" >&2
fresh
with_display "$dialogs" "$out/dialogs" > /dev/null || echo "make-figures: some dialog pictures are missing" >&2
fresh
with_display "$mainwindow" "$out/main_window.png" > /dev/null ||
    echo "make-figures: the main window's picture is missing" >&2

for example in "$examples"/*.dn5d; do
    name=$(basename "$example" .dn5d)
    cp "$example" "$work/$name.dn5d"
    "$bin/drenok-run" "$work/$name.dn5d" > /dev/null || echo "make-figures: the run of $name stopped" >&2
    QT_QPA_PLATFORM=offscreen "$bin/drenok-plot" --all --size 640x480 -o "$out/graphs" "$work/$name.dn5d" \
        > /dev/null 2>&1 || echo "make-figures: no graphs of $name" >&2
    QT_QPA_PLATFORM=offscreen "$bin/drenok-plot" --view side --size 640x480 -o "$out/views/$name-side.png" \
        "$work/$name.dn5d" 2> /dev/null || echo "make-figures: no side view of $name" >&2
    QT_QPA_PLATFORM=offscreen "$bin/drenok-plot" --view section --size 760x600 \
        -o "$out/views/$name-section.png" "$work/$name.dn5d" 2> /dev/null ||
        echo "make-figures: no section drawing of $name" >&2
done
# The technical manual's curve shapes: the p-y curves of each criterion's example zoomed to where they
# bend (inches of deflection), as the graph window's zoom shows them.
mkdir -p "$out/theory"
for figure in generated_sand:-0.6:0.6 generated_soft_clay:-6:6 generated_stiff_clay_free_water:-1.5:1.5 \
    generated_stiff_clay_no_free_water:-3:3 generated_silt:-3:3 generated_strong_rock:-0.05:0.05 \
    generated_weak_rock:-0.2:0.2; do
    IFS=: read -r name low high <<<"$figure"
    QT_QPA_PLATFORM=offscreen "$bin/drenok-plot" --plot py --x-range "$low:$high" --size 640x480 \
        -o "$out/theory/$name-py.png" "$work/$name.dn5d" 2> /dev/null || echo "make-figures: no curves of $name" >&2
done

# The two schematics of the technical manual: the stations and sign convention, the surcharge geometry.
"$bin/theory_shots" "$out/theory" || echo "make-figures: no schematic drawings" >&2

# Two pages of a calculation report (the staged wall's cover is plain; its first results page shows
# the summary, the support forces and the figures).
mkdir -p "$out/report"
if QT_QPA_PLATFORM=offscreen "$bin/drenok-report" --design -o "$work/report.pdf" "$work/anchored_tieback_trapezoidal.dn5d" \
    2> /dev/null && command -v pdftoppm > /dev/null; then
    # The page's upper half, where its tables are, large enough to read.
    pdftoppm -r 110 -png -f 5 -l 5 -x 0 -y 0 -W 935 -H 740 -singlefile "$work/report.pdf" "$out/report/results-page"
    pdftoppm -r 80 -png -f 4 -l 4 -singlefile "$work/report.pdf" "$out/report/section-page"
else
    echo "make-figures: no report pages (drenok-report or pdftoppm missing)" >&2
fi
echo "make-figures: $(find "$out" -name '*.png' | wc -l) pictures in $out"
