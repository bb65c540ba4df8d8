#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; only
# what is missing, so a second run costs nothing.
set -euo pipefail
pkgs=(
  make cmake g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev
  wine64 wine64-tools libwine-dev
  libjpeg62-turbo-dev zlib1g-dev libminizip-dev
  xvfb xauth x11-utils imagemagick fonts-wine
  clang-14 libclang-rt-14-dev
  giflib-tools libtiff-tools libjpeg-turbo-progs
  xdotool mscompress zip unzip python3
  ffmpeg
  libtiff-dev libgif-dev libfreeimage-dev libstb-dev
  python3-dbfread python3-dbf
  ffmpeg sox gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav gstreamer1.0-tools
  cups cups-client printer-driver-cups-pdf poppler-utils
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
