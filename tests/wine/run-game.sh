#!/usr/bin/env bash
# The game's own way into the name-entry dialog, under Wine in a private Xvfb. Builds nothing.
#   run-game.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
# Each run seeds a record table that a score of 0 enters, plays to the dialog (Start Game, the
# lobby's start button, Enter, Esc to abandon the game), types a name, closes the dialog, and
# checks the records screen pixel for pixel and the record files byte for byte after the exit;
# the last run is killed from outside once the dialog has closed, and its files hold the record.
# The system's ANSI code page is 1252, so Chinese must come through the Unicode name box.
# SCREENSHOT_DIR=<dir> keeps the screenshots; KEEP_SCRATCH=1 the scratch folder.
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$WINE_TESTS_DIR/game-steps.sh"
start_run "$1" "$2" xmodmap
map_keys U9F8D U864E U5C0F U5C07  # 龍 虎 小 將
make_prefix
expect_code_page 1252 "the prefix"

echo "== Latin name: ten letters typed, Enter; back through lobby and menu, exit box, Yes"
# The clock seeds the letters: 1700000000 is 2023-11-14 22:13:20 UTC, and start-up reads it
# within the first seconds of the program's run.
FAKE_CLOCK="2023-11-14 22:13:20" into_dialog latin
check "the first board is the one the clock's seed gives on every host" \
  python3 "$COMPARE" "$PLAY_SHOT" "$GENERATED" board 1700000000 1700000030
xdotool type --delay 30 'Tolvaro123'
sleep 0.2
screenshot latin-dialog-name >/dev/null
xdotool key Return
records_screen latin
back_to_exit latin
check_files 'Tolvaro' "Latin name (first 7 of 10 letters)"

echo "== Chinese name: abc, clear button, 龍虎小將, confirm hovered, Esc"
into_dialog chinese
xdotool type --delay 30 'abc'
xdotool mousemove $((FACE_X + 200)) $((FACE_Y + 125)) click 1  # clear (x 165-253, y 116-138)
xdotool type --delay 60 '龍虎小將'
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 125))  # over confirm (x 64-153)
expect_screen dialog-hover 5 chinese-dialog-name $FACE_X $FACE_Y
xdotool key Escape
records_screen chinese
back_to_exit chinese
# 龍虎小將 is 8 GBK bytes; the name keeps the first three characters whole.
check_files '\xfd\x88\xbb\xa2\xd0\xa1' "Chinese name (3 of 4 characters)"

echo "== right click puts the mouse position in the box, confirm button; Alt+F4 on the records screen"
into_dialog right
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 20)) sleep 0.2 click 3 sleep 0.2
screenshot right-dialog-name >/dev/null
xdotool mousemove $((FACE_X + 100)) $((FACE_Y + 125)) click 1  # confirm
expect_screen records-board 10 right-records && RECORDS_SHOT="$LAST_SHOT"
xdotool mousemove 10 10 click 1 sleep 0.2 key alt+F4  # a press beside the buttons does nothing
# "x: 100 , y: 20" cut to 7 bytes holds spaces, so the file carries it in hex.
check_files 'namehex:783a2031303020' "right click text"

echo "== killed from outside once the dialog has closed: the files already hold the record"
into_dialog killed
xdotool type --delay 30 'Kid'
sleep 0.2
xdotool key Return
expect_screen records-board 10 killed-records && RECORDS_SHOT="$LAST_SHOT"
kill_program
check_files 'Kid' "killed on the records screen" killed

report_and_exit "Wine game checks"
