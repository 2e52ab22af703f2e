#!/usr/bin/env bash
# setup.sh -- installs every Debian package Vitrion needs to build, test and run.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6opengl6-dev libgl1-mesa-dri
  libjpeg62-turbo-dev libwebp-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core poppler-utils
  xvfb xdotool x11-utils imagemagick
  clang libclang-rt-14-dev
  qt6-wayland weston
  dpkg-dev file desktop-file-utils appstream xdg-user-dirs
  xdg-utils shared-mime-info libfile-mimeinfo-perl
  emscripten chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { echo "setup: all packages present"; exit 0; }

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
