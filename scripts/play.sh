#!/usr/bin/env bash
# Installs what building and running the desktop program needs, builds the game alone (no tests,
# benchmarks, fuzzers, Windows program or web page) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps.sh" play
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLVARO_BUILD_TESTS=OFF -DTOLVARO_BUILD_BENCHMARKS=OFF
# The desktop program where SDL2 was found, and the scripted run without a window besides.
targets=(tolvaro_headless_demo)
if cmake --build "$root/build" --target help | grep -qx '\.\.\. tolvaro'; then targets+=(tolvaro); fi
cmake --build "$root/build" -j"$(nproc)" --target "${targets[@]}"

if [ -x "$root/build/run/tolvaro" ]; then
  cd "$root/build/run"
  exec ./tolvaro
fi
# Without the desktop program, a scripted run without a window saves what it shows as pictures.
exec "$root/build/src/tolvaro_headless_demo" "$root/build/generated" "$root/build/demo"
