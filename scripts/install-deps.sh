#!/usr/bin/env bash
# Installs what Tolvaro needs on Debian 12: `install-deps.sh play` what building and running the
# desktop program needs (play.sh), `install-deps.sh test` (the default) that and everything the
# tests, benchmarks, fuzzers, packages, the Windows program and the web page need (test.sh).
set -euo pipefail
set_name=${1:-test}

# Building and running the desktop program.
play_packages=(
  cmake g++ make pkg-config zlib1g-dev
  # asset generator: drawing, lettering, the glyph set's fonts
  libcairo2-dev libpango1.0-dev libfreetype-dev xfonts-wqy fonts-wqy-microhei fonts-dejavu-core
  # the Linux desktop host
  libsdl2-dev libsdl2-mixer-dev libx11-dev libxext-dev
)

# Tests and everything else; one group a line, so additions merge easily.
test_packages=(
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the record files' durable save is checked by watching its system calls
  strace
  # fuzzing
  clang libclang-rt-14-dev
  # the desktop program's end-to-end tests
  xvfb xauth xdotool imagemagick
  # a Chinese input method (pinyin) for the keyboard checks on Linux and under Wine
  fcitx5 fcitx5-chinese-addons dbus-x11 x11-utils
  # the Debian package and its checks
  dpkg-dev lintian desktop-file-utils appstream
  # the Windows program, its installer and their tests under Wine
  nsis
  g++-mingw-w64-x86-64-win32 wine64 wine zip x11-xserver-utils python3 faketime
  # the Windows name box's checks: a Western and a Chinese locale, fonts limited by fontconfig
  locales fontconfig
  # the web page (its long sounds in Opus) and its tests in headless Chromium
  emscripten opus-tools chromium
)

case "$set_name" in
  play) packages=("${play_packages[@]}") ;;
  test) packages=("${play_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac

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
if [ "$set_name" = test ] && ! command -v npm >/dev/null; then
  $sudo apt-get install -y --no-install-recommends nodejs npm
fi
