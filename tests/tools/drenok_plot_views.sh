#!/usr/bin/env bash
# drenok-plot --view 3d and --view deformed with no display at all: a picture of the size asked for,
# not blank, and the turned camera shows more of the wall and soil than the start camera.
# Usage: drenok_plot_views.sh DRENOK_PLOT DRENOK_RUN EXAMPLES_DIR
set -euo pipefail
plot=$1 runner=$2 examples=$3
command -v identify >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples/generated_layered_profile.dn5d" "$work/wall.dn5d"
"$runner" "$work/wall.dn5d" > /dev/null
drawn() { convert "$1" -fill black +opaque white -format '%[fx:round((1-mean)*w*h)]' info:; }
for view in 3d deformed; do
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
        "$plot" --view "$view" --size 640x480 -o "$work/$view.png" "$work/wall.dn5d"
    size=$(identify -format '%wx%h' "$work/$view.png")
    [ "$size" = 640x480 ] || { echo "$view: size $size"; exit 1; }
    # More than white: the wall, the soil and the axes.
    colours=$(convert "$work/$view.png" -format '%k' info:)
    [ "$colours" -gt 5 ] || { echo "$view: $colours colours"; exit 1; }
done
env -u DISPLAY "$plot" --view 3d --camera start --size 640x480 -o "$work/start.png" "$work/wall.dn5d"
iso=$(drawn "$work/3d.png") start=$(drawn "$work/start.png")
# Looking along the wall hides the soil's depth across the wall; the turned view shows its top and side.
[ "$iso" -gt $((start * 11 / 10)) ] || { echo "turned view draws $iso pixels, start view $start"; exit 1; }
"$plot" --view 3d --camera sideways "$work/wall.dn5d" 2>/dev/null && { echo "a bad camera was taken"; exit 1; }
echo "3D views written without a display"
