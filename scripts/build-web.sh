#!/usr/bin/env bash
# Builds the game as a static web page in build-web/web/ (index.html, .js, .wasm, .data, the
# long sounds, the app manifest with its icons and the service worker):
# the asset generator natively first (build-web/native), then the game with Emscripten.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-web"
jobs=${TOLVARO_JOBS:-2}
# Debian's emcc runs its JavaScript tools under node and needs Debian's node modules (acorn).
export NODE_PATH=/usr/share/nodejs

cmake -S "$root/tools" -B "$out/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out/native" -j"$jobs" --target tolvaro_assets

emcmake cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release \
  -DTOLVARO_GENERATED_DIR="$out/native/generated" -DTOLVARO_WEB_DIR="$out/web" >/dev/null
cmake --build "$out" -j"$jobs" --target tolvaro_web_page
echo "web page: $out/web/index.html"
