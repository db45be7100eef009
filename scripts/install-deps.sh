#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those that are missing.
# Safe to run again: when everything is present it changes nothing.
set -euo pipefail

packages=(
    build-essential
    cmake
    ninja-build
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    clang
    libclang-rt-14-dev
    clang-format
    # the desktop program, its GL view and spreadsheet export
    qt6-base-dev
    qt6-base-dev-tools
    libqt6opengl6-dev
    # SVG pictures of the graphs and views
    libqt6svg6-dev
    libgl1-mesa-dri
    libxlsxwriter-dev
    zlib1g-dev
    unzip
    fonts-liberation
    # window tests and screenshots under a virtual display
    xvfb
    xauth
    x11-apps
    imagemagick
    xdotool
    # the calculation report read back in its tests: PDF text and HTML parsing
    poppler-utils
    libxml2-utils
    # checks of the installed desktop entry and data-file type
    desktop-file-utils
    shared-mime-info
    # the manuals: Markdown to PDF and HTML
    pandoc
    texlive-latex-base
    texlive-latex-recommended
    texlive-fonts-recommended
    lmodern
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
else
    echo "error: need root or sudo to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
