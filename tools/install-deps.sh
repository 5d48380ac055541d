#!/usr/bin/env bash
# Installs what building, running and testing Tessaro needs on Debian 12, when it is missing.
set -euo pipefail

packages=(
  cmake make g++ python3 clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools googletest
  wine wine64 xvfb xdotool fonts-ipafont-gothic imagemagick
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  wixl msitools libz-mingw-w64-dev osslsigncode openssl
  icc-profiles-free colord-data argyll-ref libgs-common
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# The Wine session downloads fonts-wine for its Marlett font alone (tools/wine-session.sh): apt
# must know the package, which it does not on a machine whose package lists were never fetched.
if ! apt-cache show fonts-wine >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -q
fi
