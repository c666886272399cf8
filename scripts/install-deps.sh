#!/usr/bin/env bash
# Installs the Debian packages this project needs to build, run and test.
# Only packages that are missing are installed, so a second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6svg6 qt6-image-formats-plugins
  libpulse-dev
  libgl-dev
  zlib1g-dev libdeflate-dev libjpeg62-turbo-dev libpng-dev libfreetype-dev libfontconfig-dev
  libgtest-dev libgmock-dev
  fonts-crosextra-carlito fonts-liberation2 fonts-liberation
  qpdf poppler-utils emf2svg
  cups printer-driver-cups-pdf
  xvfb xdotool pulseaudio pulseaudio-utils
  util-linux mount
)

"$(dirname "$0")/install-missing.sh" "${packages[@]}"
