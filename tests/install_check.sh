#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: the programs and the engine in one folder with links in
# bin/, a desktop entry and data-file type that validate, and an installed program that runs an
# example while its own folder is read-only, and the files its Help menu opens beside it.
# Usage: install_check.sh BUILD_DIR EXAMPLES_DIR MANUALS_BUILT(ON|OFF)
set -euo pipefail
build=$1 examples=$2 manuals=${3:-OFF}
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'chmod -R u+w "$prefix"; rm -rf "$prefix" "$work"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

for f in lib/drenok/DRENOKN5 lib/drenok/drenok-run lib/drenok/drenok-plot lib/drenok/drenok-report bin/drenok-report lib/drenok/libDrenok2015_DLL.so \
         share/applications/drenok.desktop share/mime/packages/drenok.xml \
         share/icons/hicolor/scalable/apps/drenok.svg share/drenok/examples/cantilever_check.dn5d; do
    [ -e "$prefix/$f" ] || { echo "missing: $f"; exit 1; }
done
# The names the Help menu opens, read from the program's source so the two cannot drift apart.
if [ "$manuals" = ON ]; then
    source_dir=$(cd "$(dirname "$0")/.." && pwd)
    mapfile -t help_files < <(grep -E 'k(Contents|UsersManual|TechnicalManual)File = ' "$source_dir/app/ui/main_form.h" |
        sed 's/.*= "//; s/";.*//')
    [ ${#help_files[@]} -eq 3 ] || { echo "found ${#help_files[@]} Help file names, not 3"; exit 1; }
    for f in "${help_files[@]}"; do
        installed="$prefix/lib/drenok/$f"
        [ -s "$installed" ] || { echo "Help file not installed: $f"; exit 1; }
        case "$f" in
            *.pdf) head -c 5 "$installed" | grep -q '%PDF' || { echo "not a PDF: $f"; exit 1; } ;;
            *.html) grep -qi '<html' "$installed" || { echo "not an HTML page: $f"; exit 1; } ;;
        esac
    done
else
    echo "the manuals were not built (no pandoc or pdflatex): their installation is not checked"
fi
for p in DRENOKN5 drenok-run drenok-convert drenok-results drenok-plot; do
    [ -L "$prefix/bin/$p" ] && [ -x "$prefix/bin/$p" ] || { echo "no link bin/$p"; exit 1; }
done

# The program folder read-only: runs still work, their outputs beside the data file.
chmod -R a-w "$prefix/lib/drenok"
cp "$examples/generated_sand.dn5d" "$work/wall.dn5d"
"$prefix/bin/drenok-run" "$work/wall.dn5d" > /dev/null
grep -q "END OF ANALYSIS" "$work/wall.dn5o"
QT_QPA_PLATFORM=offscreen "$prefix/bin/drenok-plot" -o "$work/wall.png" "$work/wall.dn5d" 2> /dev/null
[ -s "$work/wall.png" ]
[ -z "$(find "$prefix/lib/drenok" -newer "$work/wall.dn5d" -type f)" ] || { echo "the program folder was written"; exit 1; }

# The desktop entry and the data-file type.
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/drenok.desktop"
fi
if command -v update-mime-database > /dev/null; then
    update-mime-database "$prefix/share/mime"
    grep -q 'glob pattern="\*.dn5d"' "$prefix/share/mime/application/x-drenok-data.xml"
fi
# A double-click on a data file: the desktop's cache maps the type to the entry, whose command is
# the installed program.
if command -v update-desktop-database > /dev/null; then
    chmod u+w "$prefix/share/applications"
    update-desktop-database "$prefix/share/applications"
    grep -q '^application/x-drenok-data=drenok.desktop;' "$prefix/share/applications/mimeinfo.cache" ||
        { echo "the data-file type does not open with the program"; exit 1; }
fi
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/share/applications/drenok.desktop")
[ -x "$prefix/bin/$command" ] || { echo "the desktop entry runs $command, which is not installed"; exit 1; }
# The installed program starts on an example and stays up until it is closed.
status=0
timeout 5 env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" "$prefix/bin/$command" "$work/wall.dn5d" \
    > /dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || { echo "the installed program ended at once (status $status)"; exit 1; }
echo "installed and ran from $prefix"
