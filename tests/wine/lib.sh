# Shared pieces of the Wine tests: a private Xvfb, a fresh Wine prefix, screenshots, waiting,
# working directories and runs of the program. Sourced by run-e2e.sh and run-game.sh, which set
# RUN_DIR (the folder holding tolvaro.exe, 03_16/, charImg/, mouse6.ani) and GENERATED.
# Needs: wine (Debian's wine64 + wine), Xvfb, xdotool, imagemagick (import), python3.

set -euo pipefail

WINE_TESTS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts in a fresh prefix: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

require_tools() {
  local missing=()
  for tool in wine wineboot wineserver Xvfb xdotool import python3 faketime; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "SKIP: missing ${missing[*]} (apt-get install wine64 wine xvfb xdotool imagemagick faketime)"
    # The full suite installs every tool, so there a missing one is a failure, not a skip.
    if [[ -n "${TOLVARO_REQUIRE_E2E:-}" ]]; then exit 1; fi
    exit 77
  fi
}

SCRATCH=""
XVFB_PID=""
cleanup() {
  if [[ -n "${WINEPREFIX:-}" && -d "${WINEPREFIX}" ]]; then wineserver -k 2>/dev/null || true; fi
  if [[ -n "$XVFB_PID" ]]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  if [[ -n "$SCRATCH" && -z "${KEEP_SCRATCH:-}" ]]; then rm -rf "$SCRATCH"; fi
}

# Makes a scratch folder (kept when KEEP_SCRATCH is set) and starts Xvfb on a free display.
start_session() {
  SCRATCH="$(mktemp -d "${TMPDIR:-/tmp}/tolvaro-wine.XXXXXX")"
  trap cleanup EXIT
  exec 3>"$SCRATCH/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$SCRATCH/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec 3>&-
  for _ in $(seq 100); do [[ -s "$SCRATCH/display" ]] && break; sleep 0.05; done
  export DISPLAY=":$(tr -d '[:space:]' <"$SCRATCH/display")"
  # The server takes clients once it answers; a busy machine may take a while.
  for _ in $(seq 300); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  echo "Xvfb on $DISPLAY, scratch $SCRATCH"
}

# A fresh Wine prefix for this run, without a window manager's frames.
make_prefix() {
  export WINEPREFIX="$SCRATCH/prefix"
  local start=$SECONDS
  wineboot -i >"$SCRATCH/wineboot.log" 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  echo "Wine prefix ready in $((SECONDS - start)) s"
}

# The ANSI code page of the prefix's system, as the registry holds it.
ansi_code_page() {
  wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null |
    tr -d '\r' | awk '$1 == "ACP" { print $3 }'
}

# screenshot <name>: the whole screen as <scratch>/<name>.png and .ppm; prints the .ppm path.
screenshot() {
  local name="$1"
  import -display "$DISPLAY" -window root "$SCRATCH/$name.png"
  /usr/bin/convert "$SCRATCH/$name.png" "$SCRATCH/$name.ppm"
  if [[ -n "${SCREENSHOT_DIR:-}" ]]; then mkdir -p "$SCREENSHOT_DIR" && cp "$SCRATCH/$name.png" "$SCREENSHOT_DIR/"; fi
  echo "$SCRATCH/$name.ppm"
}

# wait_for_window <name regex> [seconds] [pid]: prints the X window id once it is mapped; gives
# up early when the process <pid> has ended.
wait_for_window() {
  local pattern="$1" limit="${2:-30}" pid="${3:-}" id=""
  for _ in $(seq $((limit * 10))); do
    id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)"
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    if [[ -n "$pid" ]] && ! kill -0 "$pid" 2>/dev/null; then
      echo "the process ended before a window named $pattern showed" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "no window named $pattern after $limit s" >&2
  return 1
}

# wait_for_exit <pid> <seconds>: true when the process ended in time.
wait_for_exit() {
  local pid="$1" limit="$2"
  for _ in $(seq $((limit * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

FAILURES=0
fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}
pass() { echo "ok: $*"; }

# expect_bytes <file> <printf format of the expected bytes> <what>
expect_bytes() {
  local file="$1" expected="$2" what="$3"
  if [[ ! -f "$file" ]]; then
    fail "$what: $file missing"
  elif cmp -s "$file" <(printf "$expected"); then
    pass "$what"
  else
    fail "$what: $(basename "$file") holds $(od -An -c "$file" | tr -s ' ' | head -c 300)"
  fi
}

COMPARE="$WINE_TESTS_DIR/compare_screen.py"
GAME_PID=""

# new_workdir <name>: a fresh working directory holding the program and its picture folders.
new_workdir() {
  local dir="$SCRATCH/$1"
  mkdir -p "$dir"
  cp -r "$RUN_DIR/tolvaro.exe" "$RUN_DIR/03_16" "$RUN_DIR/charImg" "$dir/"
  if [[ -f "$RUN_DIR/mouse6.ani" ]]; then cp "$RUN_DIR/mouse6.ani" "$dir/"; fi
  echo "$dir"
}

# launch <working dir>: starts the program there; its exit code lands in <dir>/.exit-code.
# FAKE_CLOCK="2023-11-14 22:13:20" starts the program's clock at that time (faketime).
# A start that shows no window is described (log, processes, windows, screenshot) and tried once
# more from a stopped Wine: the checks are about the program, and a start that hangs inside Wine
# itself must not hide them. A second start without a window fails the run.
launch() {
  local dir="$1" attempt
  for attempt in 1 2; do
    LAUNCHED_AT=$(date +%s%N)
    (
      cd "$dir"
      code=0
      if [[ -n "${FAKE_CLOCK:-}" ]]; then
        # The program's clock starts at FAKE_CLOCK (UTC) and runs on from there.
        TZ=UTC faketime "$FAKE_CLOCK" wine tolvaro.exe >"$dir/.wine.log" 2>&1 || code=$?
      else
        wine tolvaro.exe >"$dir/.wine.log" 2>&1 || code=$?
      fi
      echo "$code" >"$dir/.exit-code"
    ) &
    GAME_PID=$!
    if wait_for_window '^Tolvaro$' 30 "$GAME_PID" >/dev/null; then
      echo "window shown $(( ($(date +%s%N) - LAUNCHED_AT) / 1000000 )) ms after launch"
      return 0
    fi
    describe_failed_start "$dir" "start-$attempt-$(basename "$dir")"
    wineserver -k 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -f "$dir/.exit-code"
    ((attempt == 1)) && echo "NOTE: the first start showed no window; starting once more"
  done
  fail "the program showed no window in two starts"
  report_and_exit "Wine checks"
}

describe_failed_start() {
  local dir="$1" label="$2"
  echo "-- start without a window in $dir"
  if kill -0 "$GAME_PID" 2>/dev/null; then echo "the program is still running"; else
    echo "the program ended with code $(cat "$dir/.exit-code" 2>/dev/null || echo unknown)"; fi
  echo "-- its output:"; tail -n 20 "$dir/.wine.log" 2>/dev/null || true
  echo "-- Wine processes:"; ps -eo pid,stat,etime,args | grep -iE 'wine|\.exe' | grep -v grep || true
  echo "-- named windows:"; xdotool search --name . getwindowname %@ 2>/dev/null | sort | uniq -c || true
  echo "-- screenshot: $(screenshot "$label" || echo none)"
}

# expect_screen <screen> <seconds> <label> [compare_screen.py arguments after the screen]:
# screenshots until the screen matches, or fails. LAST_SHOT is the last screenshot taken.
expect_screen() {
  local screen="$1" limit="$2" label="$3" report
  shift 3
  local deadline=$((SECONDS + limit))
  while :; do
    LAST_SHOT="$(screenshot "$label")"
    if report="$(python3 "$COMPARE" "$LAST_SHOT" "$GENERATED" "$screen" "$@")"; then
      echo "$report"
      pass "$label matches the generated pictures"
      return 0
    fi
    if ((SECONDS >= deadline)); then
      echo "$report"
      fail "$label does not match the generated pictures"
      return 1
    fi
    sleep 0.2
  done
}

# finish <dir> <seconds>: waits for the program to end and checks its exit code is 0.
finish() {
  local dir="$1" limit="$2"
  if ! wait_for_exit "$GAME_PID" "$limit"; then
    fail "the program did not end within $limit s"
    wineserver -k || true
    wait "$GAME_PID" 2>/dev/null || true
    return
  fi
  wait "$GAME_PID" 2>/dev/null || true
  # Wine's server and its helper processes linger a few seconds after the program; the next start
  # then begins from a stopped Wine, as the first one did.
  wineserver -w 2>/dev/null || true
  local code
  code="$(cat "$dir/.exit-code" 2>/dev/null || echo none)"
  if [[ "$code" == 0 ]]; then pass "exit code 0"; else fail "exit code $code"; fi
}

# report_and_exit <what>: the script's result from the checks made.
report_and_exit() {
  if ((FAILURES)); then
    echo "$FAILURES check(s) failed"
    exit 1
  fi
  echo "all $1 passed"
  exit 0
}
