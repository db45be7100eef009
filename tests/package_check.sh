#!/usr/bin/env bash
# `cpack -G DEB`: a Debian package that installs the program folder under /usr/lib/drenok with its
# links, the desktop entry and the data-file type, and depends on the libraries the programs link to.
# Usage: package_check.sh BUILD_DIR MANUALS_BUILT(ON|OFF)
set -euo pipefail
build=$1 manuals=${2:-OFF}
command -v dpkg-deb > /dev/null || { echo "no dpkg-deb: not a Debian system"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(find "$out" -maxdepth 1 -name 'drenok_*.deb')
[ -n "$deb" ] || { echo "no package written"; exit 1; }

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6openglwidgets6 libxlsxwriter libgl1-mesa-dri fonts-liberation; do
    [[ $depends == *"$library"* ]] || { echo "Depends lacks $library: $depends"; exit 1; }
done
contents=$(dpkg-deb -c "$deb")
expected=(./usr/lib/drenok/DRENOKN5 ./usr/lib/drenok/libDrenok2015_DLL.so ./usr/bin/drenok-run
          ./usr/share/applications/drenok.desktop ./usr/share/mime/packages/drenok.xml)
[ "$manuals" = ON ] && expected+=("./usr/lib/drenok/DRENOK 2015 Users Manual.pdf" ./usr/lib/drenok/DRENOK_2015.html
                                 ./usr/lib/drenok/DRENOK_2015_Technical.html)
for path in "${expected[@]}"; do
    grep -qF -- "$path" <<< "$contents" || { echo "the package lacks $path"; exit 1; }
done
# The links in bin/ point into the program folder.
grep -q -- './usr/bin/DRENOKN5 -> ../lib/drenok/DRENOKN5' <<< "$contents" || { echo "bin/DRENOKN5 is not a link"; exit 1; }
echo "package $(basename "$deb") checked"
