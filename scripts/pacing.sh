#!/usr/bin/env bash
# Frame pacing report: runs the real programs with TOLVARO_FRAME_LOG on the main menu at rest and
# prints the median and 99th percentile of 1000 frame intervals and of the present's own cost:
# the Linux program under Xvfb at 1024x768 and at 1920x1080, and the Windows program under Wine
# at the same two sizes. With --busy, a `yes > /dev/null` keeps one core busy beside each run.
#
#   scripts/pacing.sh [--busy] [--wine-only [RUN_DIR]]
#       (after scripts/test.sh has built build/ and build-windows/; --wine-only measures only the
#       Windows program, from build-windows/run or RUN_DIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
busy=""
[[ "${1:-}" == "--busy" ]] && { busy=1; shift; }
wine_only=""
windows_run="$root/build-windows/run"
if [[ "${1:-}" == "--wine-only" ]]; then
  wine_only=1
  windows_run=$(cd "${2:-$windows_run}" && pwd)
fi
seconds=${TOLVARO_PACING_SECONDS:-16}  # the slide-in, then well over 1000 frames at rest

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tolvaro-pacing.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [[ -n "${WINEPREFIX:-}" ]]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

start_xvfb() {  # start_xvfb WxH: sets DISPLAY
  exec 3>"$scratch/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
  pids+=($!)
  exec 3>&-
  for _ in $(seq 200); do [[ -s "$scratch/display" ]] && break; sleep 0.05; done
  export DISPLAY=":$(tr -d '[:space:]' <"$scratch/display")"
}

stop_xvfb() {
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
  unset 'pids[-1]'
}

report() {  # report NAME LOG: the last 1000 lines
  python3 - "$1" "$2" <<'EOF'
import sys
name, path = sys.argv[1], sys.argv[2]
rows = [tuple(map(int, line.split())) for line in open(path) if line.strip()]
rows = rows[-1000:]
if len(rows) < 100:
    print(f"{name}: only {len(rows)} frames logged")
    sys.exit(0)
if len(rows) < 1000:
    name += f" (only {len(rows)} frames logged, slide-in included)"
def stats(values):
    values = sorted(values)
    return values[len(values) // 2] / 1000, values[min(len(values) - 1, int(0.99 * len(values)))] / 1000
im, ip = stats([r[0] for r in rows])
pm, pp = stats([r[1] for r in rows])
print(f"{name}: frame interval median {im:.2f} ms, p99 {ip:.2f} ms; "
      f"present median {pm:.2f} ms, p99 {pp:.2f} ms")
EOF
}

if [[ -n "$busy" ]]; then
  yes >/dev/null &
  pids+=($!)
  echo "one core kept busy by yes (pid ${pids[-1]})"
fi

# The Linux program, windowed to the screen's size.
for size in 1024x768 1920x1080; do
  [[ -n $wine_only ]] && break
  start_xvfb "$size"
  work="$scratch/linux-$size"
  mkdir -p "$work"
  cp -r "$root/build/run/." "$work/"
  (cd "$work" && exec env SDL_AUDIODRIVER=dummy TOLVARO_FRAME_LOG="$work/frames.log" ./tolvaro \
    >"$work/out.log" 2>&1) &
  program=$!
  sleep "$seconds"
  kill -TERM "$program"  # a close request: the program ends normally and writes its log
  wait "$program" || true
  report "Linux, Xvfb $size" "$work/frames.log"
  stop_xvfb
done

# The Windows program under Wine, covering the screen; it ends through the exit box.
if [[ -x "$(command -v wine)" && -f "$windows_run/tolvaro.exe" ]]; then
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$scratch/prefix"
  for size in 1024x768 1920x1080; do
    start_xvfb "$size"
    if [[ ! -d "$WINEPREFIX" ]]; then
      wineboot -i >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      wineserver -w
    fi
    work="$scratch/windows-$size"
    mkdir -p "$work"
    cp -r "$windows_run/." "$work/"
    (cd "$work" && exec env TOLVARO_FRAME_LOG='frames.log' wine tolvaro.exe >"$work/out.log" 2>&1) &
    program=$!
    sleep "$seconds"
    xdotool mousemove 100 100 key Escape
    sleep 2
    # Yes at (430, 400) of the picture, which fills the screen's height, centred.
    height=${size#*x} width=${size%x*}
    yes_at="$(((width - height * 4 / 3) / 2 + 430 * height / 768)) $((400 * height / 768))"
    # The box may still be sliding in on a busy machine: click again until the program ends.
    for _ in $(seq 30); do
      kill -0 "$program" 2>/dev/null || break
      xdotool mousemove $yes_at click 1
      sleep 2
    done
    if kill -0 "$program" 2>/dev/null; then
      echo "Windows, Wine $size: the program did not end through the exit box; stopped"
      wineserver -k || true
    fi
    wait "$program" || true
    if [[ -f $work/frames.log ]]; then report "Windows, Wine $size" "$work/frames.log"; fi
    wineserver -w
    stop_xvfb
  done
else
  echo "Windows, Wine: no $windows_run/tolvaro.exe or no wine; skipped"
fi
