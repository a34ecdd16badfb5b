#!/usr/bin/env bash
# The Windows build on screens of other sizes, under Wine in a private Xvfb. Builds nothing.
#   run-screens.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
#                  <nudge_window.exe>
# On 1920x1080, 1366x768, 1280x1024 and 1024x768: the window covers the screen, the menu is the
# generated picture scaled with its shape kept (compare_screen.py), exact at 1024x768; clicks at
# scaled positions open the lobby and its level announcement, a click on a bar does nothing, and
# the exit box's Yes ends the program with 0 and both record files. On 1920x1080: a record game
# whose name dialog stands scaled on the picture, a name typed and confirmed with the scaled
# button reaches lhb.lhb; and with Wine's display scale at 150 % (LogPixels 144) the whole picture
# is still on the screen, and the window moved aside covers the screen again after a display
# change, a new scale and an activation (nudge_window.exe). SCREENSHOT_DIR=<dir> keeps the screenshots. Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$WINE_TESTS_DIR/game-steps.sh"
NUDGE="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
start_run "$1" "$2"
make_prefix

# use_screen <width>x<height>: a new X server of that size; Wine starts afresh on it.
use_screen() {
  stop_wine
  stop_xvfb
  start_xvfb "$1"
  SCREEN_W=${1%x*} SCREEN_H=${1#*x}
  # The picture's place: the largest 4:3 that fits, centred.
  if ((SCREEN_W * 768 <= SCREEN_H * 1024)); then
    PIC_W=$SCREEN_W PIC_H=$((SCREEN_W * 768 / 1024))
  else
    PIC_W=$((SCREEN_H * 1024 / 768)) PIC_H=$SCREEN_H
  fi
  PIC_X=$(((SCREEN_W - PIC_W) / 2)) PIC_Y=$(((SCREEN_H - PIC_H) / 2))
}

# at <x> <y>: the screen position of the middle of picture pixel (x, y).
at() { echo $((PIC_X + (2 * $1 + 1) * PIC_W / 2048)) $((PIC_Y + (2 * $2 + 1) * PIC_H / 1536)); }

window_covers_screen() {
  local geometry
  geometry="$(xdotool search --name '^Tolvaro$' getwindowgeometry 2>/dev/null | tr -s ' \n' ' ')"
  [[ "$geometry" == *"Position: 0,0 "*"Geometry: ${SCREEN_W}x${SCREEN_H}"* ]] || {
    echo "window: $geometry"; return 1; }
}

echo "== 1920x1080: a record game, the name dialog scaled on the picture"
use_screen 1920x1080
DIR="$(new_workdir record-1920x1080)"
seed_records "$DIR"
launch "$DIR"
expect_screen menu 60 record-menu
xdotool mousemove $(at 800 225) sleep 0.3 click 1
xdotool mousemove $(at 840 120)
expect_screen lobby-start 60 record-lobby
xdotool click 1
expect_screen level-announcement 60 record-intro
xdotool key Return sleep 1 key Escape               # play, then abandon a game of 0 points
expect_screen dialog 60 record-dialog
xdotool type --delay 30 'Tolvaro123'
xdotool mousemove $(at $((FACE_X + 100)) $((FACE_Y + 125))) sleep 0.3 click 1  # confirm
expect_screen records-board 60 record-records
xdotool key alt+F4
finish "$DIR" 30
SECONDS_PLAYED="$(LC_ALL=C sed -n '1s/^Tolvaro \([0-9]*\) 0\r$/\1/p' "$DIR/lhb.lhb" 2>/dev/null || true)"
expect_bytes "$DIR/lhb.lhb" "Tolvaro ${SECONDS_PLAYED:-?} 0\\r\\n$PUSHED_ROWS" \
  "the name typed in the scaled dialog is in row 1 of lhb.lhb"

echo "== 1920x1080 with Wine's display scale at 150 % (LogPixels 144)"
use_screen 1920x1080
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -w
DIR="$(new_workdir dpi-144)"
launch "$DIR"
expect_screen menu 60 dpi-144-menu
check "150 %: the window covers the screen" window_covers_screen
for message in displaychange dpichange activate; do
  wine "$NUDGE" "$message"
  check "after $message the window covers the screen again" eventually 20 window_covers_screen
  expect_screen menu 60 "dpi-144-$message"
done
xdotool key Escape
expect_screen exit 60 dpi-144-exit
xdotool mousemove $(at 440 400) sleep 0.3 click 1
finish "$DIR" 30

# Back to 100 % for the sizes.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
wineserver -w

for size in 1920x1080 1366x768 1280x1024 1024x768; do
  echo "== $size"
  use_screen "$size"
  DIR="$(new_workdir "screen-$size")"
  launch "$DIR"
  expect_screen menu 60 "$size-menu"
  check "$size: the window covers the screen" window_covers_screen
  xdotool mousemove $(at 800 225) sleep 0.3 click 1  # Start Game
  xdotool mousemove $(at 840 120)                    # over the lobby's start button
  expect_screen lobby-start 60 "$size-lobby"
  xdotool click 1
  expect_screen level-announcement 60 "$size-intro"
  xdotool key Escape sleep 0.3 key Escape            # back to the lobby, out to the menu
  expect_screen menu 60 "$size-menu-again"
  if ((PIC_X > 0 || PIC_Y > 0)); then
    # Start hovered, then a press on a bar: had it reached the game, the hovered Start would
    # have opened the lobby, where Esc opens no exit box.
    xdotool mousemove $(at 800 225)
    expect_screen menu-hover 60 "$size-menu-hover"
    if ((PIC_X > 0)); then xdotool mousemove $((PIC_X / 2)) $(at 0 225 | cut -d' ' -f2); else
      xdotool mousemove $(at 800 0 | cut -d' ' -f1) $((PIC_Y / 2)); fi
    xdotool sleep 0.3 click 1 sleep 0.3
  fi
  xdotool key Escape
  expect_screen exit 60 "$size-exit"
  xdotool mousemove $(at 440 400) sleep 0.3 click 1  # Yes
  finish "$DIR" 30
  EMPTY_ROW='namehex: 0 0\r\n'
  expect_bytes "$DIR/mg.tol" '0' "$size: mg.tol holds the best score 0"
  expect_bytes "$DIR/lhb.lhb" "$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW" \
    "$size: lhb.lhb holds six empty rows"
done

report_and_exit "Wine screen-size checks"
