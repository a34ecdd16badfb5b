#!/usr/bin/env bash
# The name-entry dialog of the Win32 host under Wine, driven through tolvaro_win32_probe:
# template 241 laid out over bitmap 242, typed Latin and Chinese text reaching the game as GBK
# (on a system whose ANSI code page is not 936), the 7-byte cut on a whole character, the
# hovered button picture, the right click and the three ways of closing.
#   run-dialog.sh <tolvaro_win32_probe.exe> <generated dir>
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PROBE="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
GENERATED="$(cd "$2" && pwd)"
require_tools
command -v xmodmap >/dev/null || {
  echo 'SKIP: no xmodmap (apt-get install x11-xserver-utils)'
  if [[ -n "${TOLVARO_REQUIRE_E2E:-}" ]]; then exit 1; fi
  exit 77
}
# A Western locale: the ANSI code page is 1252, so Chinese must come through the Unicode box.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
start_session
make_prefix
COMPARE="$WINE_TESTS_DIR/compare_screen.py"
# The dialog's client area is centred on the 1024 x 768 screen: (1024 - 320) / 2, (768 - 160) / 2.
FACE_X=352
FACE_Y=304

# open_dialog <case>: starts the probe; the stored name will land in <scratch>/<case>.name.
open_dialog() {
  CASE="$1"
  xdotool mousemove 5 5  # off the dialog, so its face shows untouched until the test moves
  (cd "$SCRATCH" && wine "$PROBE" dialog "$CASE.name" >"$SCRATCH/$CASE.log" 2>&1; echo $? >"$SCRATCH/$CASE.code") &
  PROBE_PID=$!
  wait_for_window '^Tolvaro$' 30 >/dev/null
  sleep 1.0  # the dialog opens right after the window
}

# closed <expected GBK bytes as printf format> <what>
closed() {
  if ! wait_for_exit "$PROBE_PID" 15; then
    fail "$2: the dialog did not close"
    wineserver -k || true
    return
  fi
  wait "$PROBE_PID" 2>/dev/null || true
  expect_bytes "$SCRATCH/$CASE.name" "$1" "$2"
}

echo "== face, typing ten Latin letters, Enter"
open_dialog latin
shot="$(screenshot dialog)"
if python3 "$COMPARE" "$shot" "$GENERATED" dialog $FACE_X $FACE_Y; then pass "dialog face"; else fail "dialog face"; fi
xdotool type --delay 30 'Tolvaro123'
xdotool key Return
closed 'Tolvaro' "Enter stores the first 7 of 10 Latin letters"
expect_bytes "$SCRATCH/latin.name.full" 'Tolvaro123' "the box held all 10 letters"

echo "== Chinese typed on code page 1252, Esc"
# The four characters get key codes of their own before Wine starts (it reads the key map once):
# xdotool would otherwise remap a spare key code per character, and Wine misses such remappings.
mapfile -t free_codes < <(xmodmap -pke | sed -n 's/^keycode *\([0-9]*\) = *$/\1/p' | head -n4)
keysyms=(U9F8D U864E U5C0F U5C07)  # 龍 虎 小 將
for i in 0 1 2 3; do xmodmap -e "keycode ${free_codes[$i]} = ${keysyms[$i]}"; done
open_dialog chinese
expect_bytes "$SCRATCH/chinese.name.acp" '1252' "the system's ANSI code page is 1252"
xdotool type --delay 60 '龍虎小將'
sleep 0.2
screenshot dialog-chinese >/dev/null
xdotool key Escape
# 龍虎小將 is 8 GBK bytes; the cut keeps the first three characters whole.
closed '\xfd\x88\xbb\xa2\xd0\xa1' "Esc stores Chinese as GBK, cut at 7 bytes on a whole character"
expect_bytes "$SCRATCH/chinese.name.full" '\xfd\x88\xbb\xa2\xd0\xa1\x8c\xa2' "the box held 4 Chinese characters"

echo "== hovered confirm button, clear button, confirm button"
open_dialog buttons
xdotool type --delay 30 'abc'
xdotool mousemove $((FACE_X + 200)) $((FACE_Y + 125))
sleep 0.2
xdotool click 1  # clear
xdotool type --delay 30 'xyz'
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 125))
sleep 0.4
shot="$(screenshot dialog-hover)"
if python3 "$COMPARE" "$shot" "$GENERATED" dialog-hover $FACE_X $FACE_Y; then pass "confirm button hovered"; else fail "confirm button hovered"; fi
xdotool click 1  # confirm
closed 'xyz' "clear empties the box; the confirm button stores"

echo "== right click shows the last mouse position"
open_dialog right
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 20))
sleep 0.2
xdotool click 3
sleep 0.2
xdotool key Return
closed 'x: 100 ' "right click text x: 100 , y: 20, cut at 7 bytes"
expect_bytes "$SCRATCH/right.name.full" 'x: 100 , y: 20' "right click put the position into the box"

if ((FAILURES)); then
  echo "$FAILURES check(s) failed"
  exit 1
fi
echo "all Wine dialog checks passed"
