#!/usr/bin/env bash
# Builds the Debian package of the program the Debian way (debhelper,
# dpkg-buildpackage -b) from a clean copy of the source tree, and leaves
# zor_<version>_<arch>.deb in build-deb/ (or the given folder). Installs the
# build dependencies listed in debian/control when they are missing.
# Usage (as root on Debian 12): bash scripts/build-deb.sh [OUTPUT_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build-deb}" && cd "${1:-$root/build-deb}" && pwd)

"$root/scripts/install-missing.sh" dpkg-dev debhelper git
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)

# The files git knows or would add, so that build folders never enter the package.
work=$out/zor-$version
rm -rf "$work"
mkdir -p "$work"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf -) | tar -C "$work" -xf -

cd "$work"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg-checkbuilddeps > /dev/null 2>&1; then
  apt-get update -qq
  apt-get build-dep -y -qq --no-install-recommends ./
fi
dpkg-buildpackage -b -us -uc
deb=$out/zor_${version}_${arch}.deb
[ -f "$deb" ] || { echo "no package at $deb" >&2; exit 1; }
rm -rf "$work"
echo "$deb"
