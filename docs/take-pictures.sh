#!/usr/bin/env bash
# Pictures of the windows for a person to look at: the main window after a staged run with the
# Graphics menu open, every dialog and editor, every graph and the 3D view of every example.
# Usage: take-pictures.sh OUTPUT_FOLDER MAIN_WINDOW_SHOT DIALOG_SHOTS GRAPH_SHOTS VIEW3D_SHOTS
set -euo pipefail
out=$1 mainwindow=$2 dialogs=$3 graphs=$4 view3d=$5
mkdir -p "$out"
display=()
if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run > /dev/null || { echo "take-pictures: no display and no xvfb-run" >&2; exit 1; }
    display=(xvfb-run -a -s '-screen 0 1280x900x24')
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb
failed=0
take() { "${display[@]}" "$@" || { echo "take-pictures: $(basename "$1") failed" >&2; failed=1; }; }
take "$mainwindow" "$out/main_window.png"
take "$dialogs" "$out/dialogs"
take "$graphs" "$out/graphs"
take "$view3d" "$out/view3d"
exit $failed
