#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite: the tests and the
# end-to-end runs of the real programs, again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the file-reading fuzzers for a bounded time, the Windows program
# under Wine, and a short run of the benchmarks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# Every tool the end-to-end tests use is installed below, so none of them may skip.
export TOLVARO_REQUIRE_E2E=1

"$root/scripts/install-deps.sh" test

step() { printf '\n=== %s ===\n' "$*"; }

step "build and test"
# The tests and benchmarks are named, as a folder that play.sh configured leaves them out.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVARO_BUILD_TESTS=ON \
  -DTOLVARO_BUILD_BENCHMARKS=ON
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

step "Debian package: built, checked by lintian, desktop-file-validate and appstreamcli, installed, played, removed"
"$root/tests/package/test-deb.sh" "$("$root/scripts/package-deb.sh" "$root/build")"

step "build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DTOLVARO_SANITIZE=ON \
  -DTOLVARO_BUILD_BENCHMARKS=OFF
cmake --build "$root/build-sanitize" -j"$jobs"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs" -LE 'sdl|e2e'
# The desktop program loads the display's and the sound system's drivers at run time, and their
# allocations outlive it; memory errors stay fatal there, only leak reports are off.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  ctest --test-dir "$root/build-sanitize" --output-on-failure -j"$jobs" -L 'sdl|e2e'

if [ -f "$root/fuzz/CMakeLists.txt" ]; then
  step "fuzz the readers of the record files, bitmaps, sounds and the animated cursor"
  cmake -S "$root/fuzz" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DTOLVARO_FUZZ=ON
  cmake --build "$root/build-fuzz" -j"$jobs"
  # A target fails on a crash, a leak, an allocation over 64 MiB or an input that hangs (the
  # limit is wall-clock time, so it is generous on a busy machine). Each seeds from what the
  # generator made besides its hand-made files.
  # New inputs go to the first folder, the build's own; the seed folders stay as they are.
  fuzz() {
    local target=$1 max_len=$2 corpus="$root/build-fuzz/$1-corpus"
    shift 2
    mkdir -p "$corpus"
    "$root/build-fuzz/$target" -max_total_time="${TOLVARO_FUZZ_SECONDS:-30}" -timeout=10 \
      -malloc_limit_mb=64 -max_len="$max_len" "$corpus" "$@"
  }
  seeds="$root/build-fuzz/seeds"
  rm -rf "$seeds" && mkdir -p "$seeds/bitmap" "$seeds/cursor"
  python3 "$root/fuzz/make_bitmap_seeds.py" "$seeds/bitmap"
  cp "$root/build/generated/charImg/65.bmp" "$root/build/generated/bitmap/176.bmp" "$seeds/bitmap/"
  cp "$root/build/generated/mouse6.ani" "$seeds/cursor/"
  fuzz record_files_fuzz 4096 "$root/fuzz/corpus"
  fuzz bitmap_fuzz 8192 "$seeds/bitmap" "$root/fuzz/bitmap-corpus"
  fuzz wave_fuzz 8192 "$root/build/generated/wave"
  fuzz cursor_fuzz 40000 "$seeds/cursor"
fi

if [ -f "$root/src/hosts/win32/CMakeLists.txt" ]; then
  step "Windows program: cross build and tests under Wine"
  cmake -S "$root" -B "$root/build-windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTOLVARO_GENERATED_DIR="$root/build/generated"
  cmake --build "$root/build-windows" -j"$jobs"
  ctest --test-dir "$root/build-windows" --output-on-failure
fi

step "soak: an hour of play at the game's pace"
"$root/build/bench/tolvaro_soak" 360000 --strict

if [ -f "$root/scripts/web-test.sh" ]; then
  step "web page: Emscripten build and tests in headless Chromium"
  "$root/scripts/web-test.sh"
fi

step "benchmarks (short run)"
"$root/build/bench/tolvaro_bench" --benchmark_min_time=0.05

step "all tests passed"
