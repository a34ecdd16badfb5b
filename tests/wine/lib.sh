# Shared pieces of the checks of the real program, the Windows build under Wine and the desktop
# build (tests/e2e/run-desktop.sh): a private Xvfb, a fresh Wine prefix, screenshots compared
# with the generated pictures, waiting, working directories and runs of the program.
# Needs: Xvfb, xdotool, imagemagick (import), python3, faketime; wine (Debian's wine64 + wine).

set -euo pipefail

WINE_TESTS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
COMPARE="$WINE_TESTS_DIR/compare_screen.py"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts in a fresh prefix: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The program and how it starts: the Windows build unless the script says otherwise.
PROGRAM=tolvaro.exe
PROGRAM_COMMAND=(wine tolvaro.exe)

# require_tools [tool...]: exits 77 (skipped) when one of these or the common tools is missing;
# in the full suite, which installs every tool, it fails.
require_tools() {
  local missing=()
  [[ "$PROGRAM" == *.exe ]] && set -- wine wineboot wineserver "$@"
  for tool in Xvfb xdotool import python3 faketime "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "SKIP: missing ${missing[*]} (tests/wine/README.md lists the packages)"
    [[ -n "${TOLVARO_REQUIRE_E2E:-}" ]] && exit 1
    exit 77
  fi
}

# start_run <run dir> <generated dir> [tool...]: RUN_DIR (the program, 03_16/, charImg/,
# mouse6.ani) and GENERATED; the tools; a scratch folder and Xvfb on a free display.
start_run() {
  RUN_DIR="$(cd "$1" && pwd)"
  GENERATED="$(cd "$2" && pwd)"
  shift 2
  [[ -f "$RUN_DIR/$PROGRAM" ]] || { echo "FAIL: no $RUN_DIR/$PROGRAM"; exit 1; }
  require_tools "$@"
  start_session
}

SCRATCH=""
XVFB_PID=""
cleanup() {
  if [[ -n "${WINEPREFIX:-}" && -d "${WINEPREFIX}" ]]; then wineserver -k 2>/dev/null || true; fi
  stop_xvfb
  if [[ -n "$SCRATCH" && -z "${KEEP_SCRATCH:-}" ]]; then rm -rf "$SCRATCH"; fi
}

# Makes a scratch folder (kept when KEEP_SCRATCH is set) and starts Xvfb on a free display.
start_session() {
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  SCRATCH="$(mktemp -d "${TMPDIR:-/tmp}/tolvaro-wine.XXXXXX")"
  trap cleanup EXIT
  start_xvfb "${SCREEN_SIZE:-1024x768}"
}

# start_xvfb <width>x<height>: a private X server of that screen size on a free display.
start_xvfb() {
  exec 3>"$SCRATCH/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >"$SCRATCH/xvfb.log" 2>&1 &
  XVFB_PID=$!
  exec 3>&-
  eventually 30 test -s "$SCRATCH/display" || true
  export DISPLAY=":$(tr -d '[:space:]' <"$SCRATCH/display")"
  # The server takes clients once it answers; a busy machine may take a while.
  eventually 30 xdotool getdisplaygeometry || true
  echo "Xvfb on $DISPLAY, scratch $SCRATCH"
}

# eventually <seconds> <command...>: true as soon as the command is, false once the time is up.
eventually() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < deadline)) || return 1; sleep 0.1; done
}
gone() { ! kill -0 "$1" 2>/dev/null; }
# stop_wine: Wine's server and its helpers ended.
stop_wine() { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }

# The next run's server may pick the same display once this one is gone, not before.
stop_xvfb() {
  if [[ -n "$XVFB_PID" ]]; then kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=""
}

# map_keys <keysym...>: gives these characters key codes of their own before Wine starts (it
# reads the key map once); xdotool would otherwise remap a spare key code per character, which
# Wine misses.
map_keys() {
  local codes i=0
  mapfile -t codes < <(xmodmap -pke | sed -n 's/^keycode *\([0-9]*\) = *$/\1/p' | head -n $#)
  for keysym in "$@"; do xmodmap -e "keycode ${codes[i++]} = $keysym"; done
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

# expect_code_page <code page> <label>: the ANSI code page of the prefix's system.
expect_code_page() {
  local acp
  acp="$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null |
    tr -d '\r' | awk '$1 == "ACP" { print $3 }')"
  if [[ "$acp" == "$1" ]]; then pass "$2: the ANSI code page is $1"; else fail "$2: the ANSI code page is '$acp'"; fi
}

# screenshot <name>: the whole screen as <scratch>/<name>.png and .ppm; prints the .ppm path.
screenshot() {
  import -display "$DISPLAY" -window root "$SCRATCH/$1.png"
  /usr/bin/convert "$SCRATCH/$1.png" "$SCRATCH/$1.ppm"
  if [[ -n "${SCREENSHOT_DIR:-}" ]]; then mkdir -p "$SCREENSHOT_DIR" && cp "$SCRATCH/$1.png" "$SCREENSHOT_DIR/"; fi
  echo "$SCRATCH/$1.ppm"
}

FAILURES=0
# TOLVARO_STOP_AT_FAILURE=1 (the fault list's runs) ends the script at its first failed check.
fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
  if [[ -n "${TOLVARO_STOP_AT_FAILURE:-}" ]]; then exit 1; fi
}
pass() { echo "ok: $*"; }
# check <what> <command...>: passes or fails on the command's result.
check() {
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# expect_bytes <file> <printf format of the expected bytes> <what>
expect_bytes() {
  if cmp -s "$1" <(printf "$2"); then pass "$3"; else
    fail "$3: $(basename "$1") holds $(od -An -c "$1" 2>&1 | tr -s ' ' | head -c 300)"; fi
}

# new_workdir <name>: a fresh working directory holding the program and its picture folders.
new_workdir() {
  local dir="$SCRATCH/$1"
  mkdir -p "$dir"
  cp -r "$RUN_DIR/$PROGRAM" "$RUN_DIR/03_16" "$RUN_DIR/charImg" "$RUN_DIR/mouse6.ani" "$dir/"
  echo "$dir"
}

# launch <working dir>: starts the program there; its exit code lands in <dir>/.exit-code.
# FAKE_CLOCK="2023-11-14 22:13:20" starts the program's clock at that time (UTC, faketime; its
# preload comes before AddressSanitizer's runtime, which a sanitized build is told to accept).
# A start that shows no window is described and tried once more from a stopped Wine: a start
# that hangs inside Wine itself must not hide the checks of the program.
launch() {
  local dir="$1" attempt started
  for attempt in 1 2; do
    started=$(date +%s%N)
    (
      cd "$dir"
      code=0
      ${FAKE_CLOCK:+env TZ=UTC ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 faketime "$FAKE_CLOCK"} "${PROGRAM_COMMAND[@]}" >"$dir/.log" 2>&1 || code=$?
      echo "$code" >"$dir/.exit-code"
    ) &
    GAME_PID=$!
    for _ in $(seq 300); do
      if xdotool search --onlyvisible --name '^Tolvaro$' >/dev/null 2>&1; then
        echo "window shown $((($(date +%s%N) - started) / 1000000)) ms after launch"
        return 0
      fi
      kill -0 "$GAME_PID" 2>/dev/null || break
      sleep 0.1
    done
    echo "-- no window (attempt $attempt); exit code $(cat "$dir/.exit-code" 2>/dev/null || echo none)"
    tail -n 20 "$dir/.log" 2>/dev/null || true
    ps -eo pid,stat,etime,args | grep -iE 'wine|\.exe' | grep -v grep || true
    screenshot "start-$attempt-$(basename "$dir")"
    wineserver -k 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -f "$dir/.exit-code"
  done
  fail "the program showed no window in two starts"
  report_and_exit "Wine checks"
}

# expect_screen <screen> <seconds> <label> [compare_screen.py arguments after the screen]:
# screenshots until the screen matches, or fails. LAST_SHOT is the last screenshot taken.
expect_screen() {
  local screen="$1" deadline=$((SECONDS + $2)) label="$3" report
  shift 3
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

# exit_yes <label>: Esc on the main menu, the exit box, Yes highlighted and clicked.
exit_yes() {
  xdotool key Escape
  expect_screen exit 10 "$1-exit"
  xdotool mousemove 440 400
  expect_screen exit-yes 10 "$1-exit-yes"
  xdotool click 1
}

# finish <dir> <seconds>: waits for the program to end and checks its exit code is 0.
finish() {
  if ! eventually "$2" gone "$GAME_PID"; then
    fail "the program did not end within $2 s"
    wineserver -k || true
  fi
  wait "$GAME_PID" 2>/dev/null || true
  # Wine's server and its helpers linger after the program; the next start begins from a
  # stopped Wine, as the first one did.
  wineserver -w 2>/dev/null || true
  local code
  code="$(cat "$1/.exit-code" 2>/dev/null || echo none)"
  if [[ "$code" == 0 ]]; then pass "exit code 0"; else fail "exit code $code"; fi
}

# kill_program: SIGKILL to the program from outside, as a power cut or a crash ends it; waits
# until it has gone.
kill_program() {
  local pid="" parents="$GAME_PID"
  # The program among the launch's descendants, never another run's program on the machine.
  for _ in 1 2 3 4; do
    pid="$(pgrep -x "$PROGRAM" -P "$parents" | head -n 1)" && break
    parents="$(pgrep -d, -P "$parents")" || break
  done
  [[ -n "$pid" ]] && kill -KILL "$pid"
  eventually 30 gone "$GAME_PID" || true
  wait "$GAME_PID" 2>/dev/null || true
  if [[ "$PROGRAM" == *.exe ]]; then stop_wine; fi
  check "the program was killed" test "$(cat "$DIR/.exit-code" 2>/dev/null)" != 0
}

# start_without_display <name> [NAME=value...]: the program started with no display in a fresh
# working directory (DIR) cannot make its window: it ends with code 1 and writes nothing.
start_without_display() {
  DIR="$(new_workdir "$1")"
  shift
  local code=0
  (cd "$DIR" && env -u DISPLAY "$@" timeout 120 "${PROGRAM_COMMAND[@]}" >"$DIR/.log" 2>&1) || code=$?
  [[ "$PROGRAM" == *.exe ]] && wineserver -w
  check "a start without a window ends with code 1 (code $code)" test "$code" == 1
  check "a start without a window writes no record file" test ! -e "$DIR/mg.tol" -a ! -e "$DIR/lhb.lhb"
}

# report_and_exit <what>: the script's result from the checks made.
report_and_exit() {
  ((FAILURES)) && { echo "$FAILURES check(s) failed"; exit 1; }
  echo "all $1 passed"
  exit 0
}
