#!/usr/bin/env bash
# End-to-end run of the Windows build under Wine in a private Xvfb. Builds nothing.
#   run-e2e.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
# Every run uses a fresh Wine prefix and fresh working directories. SCREENSHOT_DIR=<dir> keeps
# the screenshots; KEEP_SCRATCH=1 keeps the scratch folder. Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

RUN_DIR="$(cd "$1" && pwd)"
GENERATED="$(cd "$2" && pwd)"
[[ -f "$RUN_DIR/tolvaro.exe" ]] || { echo "FAIL: no $RUN_DIR/tolvaro.exe"; exit 1; }
require_tools
start_session
make_prefix

# Both record files, seeded in a loose but readable form; an orderly end rewrites them whole in
# the program's own form.
seed_records() {
  local dir="$1"
  printf '777\n' >"$dir/mg.tol"
  printf 'alice 30 500\nbob 41  400\n\tcarol 50 300\ndave 60 200\nerin 70 100\nfrank 80 50\n' \
    >"$dir/lhb.lhb"
}
SEEDED_RECORDS='alice 30 500\r\nbob 41 400\r\ncarol 50 300\r\ndave 60 200\r\nerin 70 100\r\nfrank 80 50\r\n'

# Main menu -> Esc -> exit box -> Yes -> the program ends with code 0.
menu_exit_yes() {
  local label="$1"
  expect_screen menu 15 "$label-menu"
  xdotool mousemove 10 10 click 1  # a click outside every item, so Wine gives the window focus
  sleep 0.2
  xdotool key Escape
  expect_screen exit 10 "$label-exit"
  xdotool mousemove 440 400
  expect_screen exit-yes 10 "$label-exit-yes"
  xdotool click 1
}

echo "== fresh working directory: menu, exit box, Yes"
DIR="$(new_workdir fresh)"
launch "$DIR"
menu_exit_yes fresh
finish "$DIR" 20
expect_bytes "$DIR/mg.tol" '0' "fresh start: mg.tol holds the best score 0"
if [[ -f "$DIR/lhb.lhb" ]] && python3 - "$DIR/lhb.lhb" <<'EOF'; then
import sys
data = open(sys.argv[1], 'rb').read()
lines = data.split(b'\r\n')
sys.exit(0 if len(lines) == 7 and lines[6] == b'' and all(l.endswith(b' 0 0') for l in lines[:6]) else 1)
EOF
  pass "fresh start: lhb.lhb holds six empty rows, CR LF each"
else
  fail "fresh start: lhb.lhb is $(od -An -c "$DIR/lhb.lhb" 2>/dev/null | head -c 200)"
fi

echo "== seeded record files: menu, exit box, Yes"
DIR="$(new_workdir seeded-yes)"
seed_records "$DIR"
launch "$DIR"
menu_exit_yes seeded
finish "$DIR" 20
expect_bytes "$DIR/mg.tol" '777' "orderly exit rewrites mg.tol in the program's form"
expect_bytes "$DIR/lhb.lhb" "$SEEDED_RECORDS" "orderly exit rewrites lhb.lhb in the program's form"

echo "== seeded record files: Alt+F4 closes the window"
DIR="$(new_workdir seeded-close)"
seed_records "$DIR"
launch "$DIR"
expect_screen menu 15 close-menu
xdotool mousemove 10 10 click 1
sleep 0.2
xdotool key alt+F4
finish "$DIR" 20
expect_bytes "$DIR/mg.tol" '777' "closing the window saves mg.tol in the program's form"
expect_bytes "$DIR/lhb.lhb" "$SEEDED_RECORDS" "closing the window saves lhb.lhb in the program's form"

echo "== lhb.lhb is a folder: replacing it fails, mg.tol is still written, no temporary file left"
DIR="$(new_workdir folder)"
seed_records "$DIR"
rm "$DIR/lhb.lhb"
mkdir "$DIR/lhb.lhb"
launch "$DIR"
menu_exit_yes folder
finish "$DIR" 20
expect_bytes "$DIR/mg.tol" '777' "a record file that cannot be replaced does not stop mg.tol"
if [[ -d "$DIR/lhb.lhb" && -z "$(ls -A "$DIR/lhb.lhb")" ]]; then
  pass "the folder lhb.lhb is left as it was, empty"
else
  fail "lhb.lhb is no longer an empty folder"
fi
leftovers="$(cd "$DIR" && ls -d -- *.tmp 2>/dev/null || true)"
if [[ -z "$leftovers" ]]; then
  pass "the refused temporary file was removed"
else
  fail "left behind: $leftovers"
fi

echo "== lhb.lhb is read-only: it keeps its bytes and its read-only attribute, mg.tol is written"
DIR="$(new_workdir read-only)"
seed_records "$DIR"
chmod a-w "$DIR/lhb.lhb"
seeded_bytes="$(od -An -tx1 "$DIR/lhb.lhb")"
launch "$DIR"
menu_exit_yes read-only
finish "$DIR" 20
expect_bytes "$DIR/mg.tol" '777' "a read-only record file does not stop mg.tol"
if [[ "$(od -An -tx1 "$DIR/lhb.lhb")" == "$seeded_bytes" && "$(stat -c %a "$DIR/lhb.lhb")" == 444 ]]
then
  pass "the read-only lhb.lhb is left as it was"
else
  fail "the read-only lhb.lhb was replaced: mode $(stat -c %a "$DIR/lhb.lhb")"
fi

echo "== no display: the program cannot make its window, ends with 1 and writes nothing"
DIR="$(new_workdir no-display)"
wineserver -w 2>/dev/null || true
code=0
(cd "$DIR" && env -u DISPLAY timeout 120 wine tolvaro.exe >"$DIR/.wine.log" 2>&1) || code=$?
wineserver -w 2>/dev/null || true
if [[ "$code" == 1 ]]; then pass "a start without a window ends with code 1"; else
  fail "a start without a window ended with code $code"; fi
if [[ ! -e "$DIR/mg.tol" && ! -e "$DIR/lhb.lhb" ]]; then
  pass "a start without a window writes no record file"
else
  fail "a start without a window wrote: $(cd "$DIR" && ls mg.tol lhb.lhb 2>/dev/null)"
fi

report_and_exit "Wine end-to-end checks"
