#!/usr/bin/env bash
# drenok-plot --view 3d and --view deformed under a virtual display: a picture of the size asked for,
# not blank. Usage: drenok_plot_views.sh DRENOK_PLOT DRENOK_RUN EXAMPLES_DIR
set -euo pipefail
plot=$1 runner=$2 examples=$3
command -v xvfb-run >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$examples/generated_layered_profile.dn5d" "$work/wall.dn5d"
"$runner" "$work/wall.dn5d" > /dev/null
for view in 3d deformed; do
    unset QT_QPA_PLATFORM
    xvfb-run -a -s '-screen 0 1280x900x24' "$plot" --view "$view" --size 640x480 -o "$work/$view.png" "$work/wall.dn5d"
    size=$(identify -format '%wx%h' "$work/$view.png")
    [ "$size" = 640x480 ] || { echo "$view: size $size"; exit 1; }
    # More than white: the wall, the soil and the axes.
    colours=$(convert "$work/$view.png" -format '%k' info:)
    [ "$colours" -gt 5 ] || { echo "$view: $colours colours"; exit 1; }
done
echo "3D views written"
