# Shared pieces of the Wine tests: a private Xvfb, a fresh Wine prefix, screenshots, waiting.
# Sourced by run-e2e.sh and run-dialog.sh. Needs: wine (Debian's wine64 + wine), Xvfb, xdotool,
# imagemagick (import), python3.

set -euo pipefail

WINE_TESTS_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts in a fresh prefix: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

require_tools() {
  local missing=()
  for tool in wine wineboot wineserver Xvfb xdotool import python3; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if ((${#missing[@]})); then
    echo "SKIP: missing ${missing[*]} (apt-get install wine64 wine xvfb xdotool imagemagick)"
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

# screenshot <name>: the whole screen as <scratch>/<name>.png and .ppm; prints the .ppm path.
screenshot() {
  local name="$1"
  import -display "$DISPLAY" -window root "$SCRATCH/$name.png"
  /usr/bin/convert "$SCRATCH/$name.png" "$SCRATCH/$name.ppm"
  if [[ -n "${SCREENSHOT_DIR:-}" ]]; then mkdir -p "$SCREENSHOT_DIR" && cp "$SCRATCH/$name.png" "$SCREENSHOT_DIR/"; fi
  echo "$SCRATCH/$name.ppm"
}

# wait_for_window <name regex> [seconds]: prints the X window id once it is mapped.
wait_for_window() {
  local pattern="$1" limit="${2:-30}" id=""
  for _ in $(seq $((limit * 10))); do
    id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)"
    [[ -n "$id" ]] && { echo "$id"; return 0; }
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
