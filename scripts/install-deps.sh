#!/usr/bin/env bash
# Installs everything Tolvaro needs to build, run and test on Debian 12.
set -euo pipefail

packages=(
  # build and tests
  cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  # the record files' durable save is checked by watching its system calls
  strace
  # asset generator: drawing, lettering, the glyph set's fonts
  libcairo2-dev libpango1.0-dev libfreetype-dev xfonts-wqy fonts-wqy-microhei fonts-dejavu-core
  # fuzzing
  clang libclang-rt-14-dev
  # the Linux desktop host and its end-to-end tests
  libsdl2-dev libsdl2-mixer-dev libx11-dev libxext-dev xvfb xauth xdotool imagemagick
  # the Debian package and its checks
  dpkg-dev lintian desktop-file-utils appstream
  # the Windows program, its installer and their tests under Wine
  nsis
  g++-mingw-w64-x86-64-win32 wine64 wine zip x11-xserver-utils python3 faketime
  # the Windows name box's checks: a Western and a Chinese locale, fonts limited by fontconfig
  locales fontconfig
  # the web page and its tests in headless Chromium
  emscripten chromium fonts-wqy-microhei
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The web tests take puppeteer-core from npm; Debian's npm only where there is none.
if ! command -v npm >/dev/null; then
  $sudo apt-get install -y --no-install-recommends nodejs npm
fi
