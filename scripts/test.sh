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

"$root/scripts/install-deps.sh"

step() { printf '\n=== %s ===\n' "$*"; }

step "build and test"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

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
  step "fuzz the record-file reader and the bitmap decoder"
  cmake -S "$root/fuzz" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DTOLVARO_FUZZ=ON
  cmake --build "$root/build-fuzz" -j"$jobs"
  mkdir -p "$root/build-fuzz/corpus"
  "$root/build-fuzz/record_files_fuzz" -max_total_time="${TOLVARO_FUZZ_SECONDS:-60}" \
    -max_len=4096 "$root/build-fuzz/corpus" "$root/fuzz/corpus"
  # Seeded with the generated tree's letter tiles and an 8-bit picture besides the hand-made
  # run-length files.
  mkdir -p "$root/build-fuzz/bitmap-corpus"
  cp "$root/build/generated/charImg/65.bmp" "$root/build/generated/bitmap/176.bmp" \
    "$root/build-fuzz/bitmap-corpus/"
  "$root/build-fuzz/bitmap_fuzz" -max_total_time="${TOLVARO_BITMAP_FUZZ_SECONDS:-30}" \
    -max_len=8192 "$root/build-fuzz/bitmap-corpus" "$root/fuzz/bitmap-corpus"
fi

if [ -f "$root/src/hosts/win32/CMakeLists.txt" ]; then
  step "Windows program: cross build and tests under Wine"
  cmake -S "$root" -B "$root/build-windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTOLVARO_GENERATED_DIR="$root/build/generated"
  cmake --build "$root/build-windows" -j"$jobs"
  ctest --test-dir "$root/build-windows" --output-on-failure
fi

if [ -f "$root/scripts/web-test.sh" ]; then
  step "web page: Emscripten build and tests in headless Chromium"
  "$root/scripts/web-test.sh"
fi

step "benchmarks (short run)"
"$root/build/bench/tolvaro_bench" --benchmark_min_time=0.05

step "all tests passed"
