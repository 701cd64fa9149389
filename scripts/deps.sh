#!/usr/bin/env bash
# Installs what the build needs on a Debian 12 machine, when it is missing.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-svg-dev
          libgl-dev xvfb xauth rsync
          # installing and packaging, and the validators the tests run
          dpkg-dev desktop-file-utils appstream shared-mime-info groff-base)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
