#!/usr/bin/env bash
# Installs what is needed, builds the game and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$(nproc)"

if [ -x "$root/build/run/tolvaro" ]; then
  cd "$root/build/run"
  exec ./tolvaro
fi
# Without the desktop program, a scripted run without a window saves what it shows as pictures.
exec "$root/build/src/tolvaro_headless_demo" "$root/build/generated" "$root/build/demo"
