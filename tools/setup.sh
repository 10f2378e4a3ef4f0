#!/usr/bin/env bash
# Installs every Debian package the project needs to build both programs and run every test.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail

# xfonts-base: the X core fonts that SDL draws its message boxes with (a bare Xvfb has none).
# osslsigncode: signs the Windows program of a delivery (openssl makes the test certificates).
# python3: the throwaway RFC 3161 time-stamp server of the signing test.
packages=(
  build-essential cmake ninja-build pkg-config
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine64 wine xvfb xfonts-base xdotool x11-utils xauth imagemagick libx11-dev libxfixes-dev
  libsdl2-dev libssl-dev libpng-dev libfreetype-dev fonts-liberation fonts-liberation2
  libgtest-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev valgrind zip
  openssl osslsigncode python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
