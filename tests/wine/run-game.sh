#!/usr/bin/env bash
# The game's own way into the name-entry dialog, under Wine in a private Xvfb. Builds nothing.
#   run-game.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
# Each run seeds a record table that a score of 0 enters, plays to the dialog (Start Game, the
# lobby's start button, Enter, Esc to abandon the game), types a name, closes the dialog, and
# checks the records screen pixel for pixel and the record files byte for byte after the exit.
# The system's ANSI code page is 1252, so Chinese must come through the Unicode name box.
# SCREENSHOT_DIR=<dir> keeps the screenshots; KEEP_SCRATCH=1 the scratch folder.
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

RUN_DIR="$(cd "$1" && pwd)"
GENERATED="$(cd "$2" && pwd)"
[[ -f "$RUN_DIR/tolvaro.exe" ]] || { echo "FAIL: no $RUN_DIR/tolvaro.exe"; exit 1; }
require_tools
command -v xmodmap >/dev/null || {
  echo 'SKIP: no xmodmap (apt-get install x11-xserver-utils)'
  if [[ -n "${TOLVARO_REQUIRE_E2E:-}" ]]; then exit 1; fi
  exit 77
}
export LANG=C.UTF-8 LC_ALL=C.UTF-8
start_session
# The four test characters get key codes of their own before Wine starts (it reads the key map
# once): xdotool would otherwise remap a spare key code per character, and Wine misses that.
mapfile -t free_codes < <(xmodmap -pke | sed -n 's/^keycode *\([0-9]*\) = *$/\1/p' | head -n4)
keysyms=(U9F8D U864E U5C0F U5C07)  # 龍 虎 小 將
for i in 0 1 2 3; do xmodmap -e "keycode ${free_codes[$i]} = ${keysyms[$i]}"; done
make_prefix
acp="$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null |
  tr -d '\r' | awk '$1 == "ACP" { print $3 }')"
if [[ "$acp" == 1252 ]]; then pass "the ANSI code page is 1252"; else fail "the ANSI code page is '$acp'"; fi

# The dialog's client area, centred on the 1024 x 768 screen: (1024 - 320) / 2, (768 - 160) / 2.
FACE_X=352
FACE_Y=304

# mg.tol below every score, and six rows of score -1 (row 2 in Chinese, 李四), so that an
# abandoned game with score 0 becomes the new row 1 and raises the best score to 0.
seed_records() {
  printf -- '-5' >"$1/mg.tol"
  printf 'ann 11 -1\r\n\xc0\xee\xcb\xc4 12 -1\r\ncy 13 -1\r\ndee 14 -1\r\neve 15 -1\r\nfay 16 -1\r\n' \
    >"$1/lhb.lhb"
}
# Rows 1 to 5 of the seed, which move down one row under the new row 1.
PUSHED_ROWS='ann 11 -1\r\n\xc0\xee\xcb\xc4 12 -1\r\ncy 13 -1\r\ndee 14 -1\r\neve 15 -1\r\n'

# into_dialog <label>: main menu -> Start Game -> lobby -> start -> level intro -> Enter ->
# play -> Esc: the abandoned game enters the table and the name dialog opens.
into_dialog() {
  local label="$1"
  expect_screen menu 15 "$label-menu"
  xdotool mousemove 800 225 click 1  # Start Game (x 681-942, y 201-250)
  xdotool mousemove 840 120          # over the lobby's start button once it has slid in
  expect_screen lobby-start 15 "$label-lobby"
  xdotool click 1                    # start button (x 725-963, y 99-147)
  sleep 0.3
  screenshot "$label-intro" >/dev/null
  xdotool key Return
  sleep 1.2
  PLAY_SHOT="$(screenshot "$label-play")"
  xdotool key Escape
  expect_screen dialog 10 "$label-dialog" $FACE_X $FACE_Y
}

# records_screen <label>: waits for the records screen after the dialog has closed; Esc there
# leaves the picture as it is. RECORDS_SHOT is the screenshot for the exact check after the exit.
records_screen() {
  local label="$1"
  expect_screen records-board 10 "$label-records" || return
  RECORDS_SHOT="$LAST_SHOT"
  xdotool key Escape
  sleep 0.5
  if cmp -s "$RECORDS_SHOT" "$(screenshot "$label-records-esc")"; then
    pass "Esc leaves the records screen as it is"
  else
    fail "Esc changed the records screen"
  fi
}

# back_to_exit <label>: records confirm -> lobby -> Esc -> main menu -> Esc -> exit box -> Yes.
back_to_exit() {
  local label="$1"
  xdotool mousemove 420 560 click 1  # records confirm (x 373-474, y 548-570)
  expect_screen lobby 15 "$label-lobby-again"
  xdotool key Escape
  expect_screen menu 15 "$label-menu-again"
  xdotool key Escape
  expect_screen exit 10 "$label-exit"
  xdotool mousemove 440 400
  expect_screen exit-yes 10 "$label-exit-yes"
  xdotool click 1
}

# check_files <dir> <row 1 name as printf format> <label>: mg.tol holds the new best score 0;
# lhb.lhb holds the name in row 1 with the seconds of the game and score 0, then the pushed
# rows; the records screen showed exactly these rows with the marker beside row 1.
check_files() {
  local dir="$1" name="$2" label="$3" seconds
  expect_bytes "$dir/mg.tol" '0' "$label: mg.tol holds the best score 0"
  seconds="$(python3 -c '
import re, sys
m = re.match(rb"[^ ]* (\d+) 0\r\n", open(sys.argv[1], "rb").read())
print(m.group(1).decode() if m and int(m.group(1)) <= 60 else "")' "$dir/lhb.lhb" 2>/dev/null || true)"
  if [[ -z "$seconds" ]]; then
    fail "$label: row 1 of lhb.lhb is not a game of 0 points: $(od -An -c "$dir/lhb.lhb" | head -c 200)"
    return
  fi
  expect_bytes "$dir/lhb.lhb" "$name $seconds 0\\r\\n$PUSHED_ROWS" \
    "$label: lhb.lhb holds the name in row 1 ($seconds s, 0 points) and the five rows below"
  if [[ -n "${RECORDS_SHOT:-}" ]] &&
    python3 "$COMPARE" "$RECORDS_SHOT" "$GENERATED" records "$dir/lhb.lhb" 1; then
    pass "$label: the records screen showed these rows"
  else
    fail "$label: the records screen did not show these rows"
  fi
}

echo "== Latin name: ten letters typed, Enter; back through lobby and menu, exit box, Yes"
DIR="$(new_workdir latin)"
seed_records "$DIR"
RECORDS_SHOT=""
# The clock seeds the letters: 1700000000 is 2023-11-14 22:13:20 UTC, and start-up reads it
# within the first seconds of the program's run.
FAKE_CLOCK="2023-11-14 22:13:20" launch "$DIR"
into_dialog latin
if python3 "$COMPARE" "$PLAY_SHOT" "$GENERATED" board 1700000000 1700000030; then
  pass "the first board is the one the clock's seed gives on every host"
else
  fail "the first board is not one of the seeds 1700000000 to 1700000030"
fi
xdotool type --delay 30 'Tolvaro123'
sleep 0.2
screenshot latin-dialog-name >/dev/null
xdotool key Return
records_screen latin
back_to_exit latin
finish "$DIR" 20
check_files "$DIR" 'Tolvaro' "Latin name (first 7 of 10 letters)"

echo "== Chinese name: abc, clear button, 龍虎小將, confirm hovered, Esc"
DIR="$(new_workdir chinese)"
seed_records "$DIR"
RECORDS_SHOT=""
launch "$DIR"
into_dialog chinese
xdotool type --delay 30 'abc'
xdotool mousemove $((FACE_X + 200)) $((FACE_Y + 125)) click 1  # clear (x 165-253, y 116-138)
xdotool type --delay 60 '龍虎小將'
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 125))  # over confirm (x 64-153)
expect_screen dialog-hover 5 chinese-dialog-name $FACE_X $FACE_Y
xdotool key Escape
records_screen chinese
back_to_exit chinese
finish "$DIR" 20
# 龍虎小將 is 8 GBK bytes; the name keeps the first three characters whole.
check_files "$DIR" '\xfd\x88\xbb\xa2\xd0\xa1' "Chinese name (3 of 4 characters)"

echo "== right click puts the mouse position in the box, confirm button; Alt+F4 on the records screen"
DIR="$(new_workdir right-click)"
seed_records "$DIR"
RECORDS_SHOT=""
launch "$DIR"
into_dialog right
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 20))
sleep 0.2
xdotool click 3
sleep 0.2
screenshot right-dialog-name >/dev/null
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 125)) click 1  # confirm
expect_screen records-board 10 right-records && RECORDS_SHOT="$LAST_SHOT"
xdotool mousemove 10 10 click 1  # a press beside the buttons does nothing
sleep 0.2
xdotool key alt+F4
finish "$DIR" 20
# "x: 100 , y: 20" cut to 7 bytes holds spaces, so the file carries it in hex.
check_files "$DIR" 'namehex:783a2031303020' "right click text"

report_and_exit "Wine game checks"
