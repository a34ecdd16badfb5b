#!/usr/bin/env bash
# The desktop program as a player meets it: the real executable in fresh working directories,
# on an X server of its own (Xvfb), driven with xdotool and compared through screenshots with the
# generated pictures, with the Windows checks' helpers and screens (tests/wine); and started
# with no display. Builds nothing.
#   run-desktop.sh <run dir holding tolvaro, 03_16/, charImg/, mouse6.ani> <generated dir>
# SCREENSHOT_DIR=<dir> keeps the screenshots; KEEP_SCRATCH=1 the scratch folder.
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../wine/game-steps.sh"
PROGRAM=tolvaro
PROGRAM_COMMAND=(./tolvaro)
start_run "$1" "$2" xmodmap
export SDL_AUDIODRIVER=dummy
EMPTY_ROW='namehex: 0 0\r\n'
FRESH_TABLE="$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW"

# score_changed: the score line in the second info box differs from PLAY_SHOT's.
score() { /usr/bin/convert "$1" -crop 270x63+711+565 +repage rgb:-; }
score_changed() { ! cmp -s <(score "$PLAY_SHOT") <(score "$(screenshot game-score)"); }
# score_steady: the score line is the same a second later: the shots in flight have landed.
score_steady() {
  local before
  before="$(score "$(screenshot game-score)" | md5sum)"
  sleep 1
  [[ $before == "$(score "$(screenshot game-score)" | md5sum)" ]]
}

echo "== fresh working directory: menu, Start Game lit under the pointer, exit box, Yes"
DIR="$(new_workdir fresh)"
launch "$DIR"
expect_screen menu 30 fresh-menu
check "start-up made lhb.lhb, empty" test -f "$DIR/lhb.lhb" -a ! -s "$DIR/lhb.lhb"
xdotool mousemove 800 225  # Start Game (x 681-942, y 201-250)
expect_screen menu-hover 10 fresh-menu-hover
xdotool mousemove 300 700
exit_yes fresh
finish "$DIR" 60
expect_bytes "$DIR/mg.tol" '0' "fresh start: mg.tol holds the best score 0"
expect_bytes "$DIR/lhb.lhb" "$FRESH_TABLE" "fresh start: lhb.lhb holds six empty rows"

echo "== seeded record files in a loose form come back in the program's own"
DIR="$(new_workdir seeded)"
printf '  1100\n' >"$DIR/mg.tol"
# LF line ends, tabs and runs of spaces; a GBK name (张三); three rows only.
printf 'Amy\t120   900\n\xd5\xc5\xc8\xfd 200 800\nBob 5\t\t700\n' >"$DIR/lhb.lhb"
xdotool mousemove 300 700  # the last run left the pointer on Yes, which would light it
launch "$DIR"
expect_screen menu 30 seeded-menu
xdotool mousemove 300 700  # off the exit box's Yes, where the last run's pointer rests
exit_yes seeded
finish "$DIR" 60
expect_bytes "$DIR/mg.tol" '1100' "mg.tol rewritten"
expect_bytes "$DIR/lhb.lhb" "Amy 120 900\\r\\n\\xd5\\xc5\\xc8\\xfd 200 800\\r\\nBob 5 700\\r\\n$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW" \
  "lhb.lhb rewritten, the missing rows empty"

echo "== a game: the clock's board, its letters caught, the name dialog, 张三, the records screen, killed"
map_keys U5F20 U4E09  # 张 三, with key codes of their own
DIR="$(new_workdir game)"
FAKE_CLOCK="2023-11-14 22:13:20" launch "$DIR"  # 1700000000
expect_screen menu 30 game-menu
into_play game
xdotool key --delay 50 $LETTERS  # each sends a shot at its tile
check "catching letters ($LETTERS) changes the score" eventually 60 score_changed
# A catch in the frame Esc ends would count in the score but not yet in the best score.
check "the score settles" eventually 60 score_steady
xdotool key Escape  # abandoned with a score above the empty table's: the name dialog
expect_screen dialog 30 game-dialog 352 304
xdotool type --delay 60 '张三'
sleep 0.5
xdotool key Return
expect_screen records-board 30 game-records
RECORDS_SHOT="$LAST_SHOT"
# Killed, as a power cut or a crash ends it: the record was kept when the dialog closed.
kill_program
score="$(LC_ALL=C sed -n '1s/^\xd5\xc5\xc8\xfd [0-9]* \([1-9][0-9]*\)\r$/\1/p' "$DIR/lhb.lhb")"
# The best score is the score a playing frame starts at: a miss after the peak lowers only the
# score, so mg.tol holds at least the game's score.
check "row 1 holds 张三 with the game's score, and mg.tol at least the score: $(od -An -c "$DIR/lhb.lhb" | head -c 120)" \
  test -n "$score" -a "$(cat "$DIR/mg.tol")" -ge "${score:-0}"
check "the records screen showed the saved rows" \
  python3 "$COMPARE" "$RECORDS_SHOT" "$GENERATED" records "$DIR/lhb.lhb" 1

# The frame log: one line per presented frame, the interval since the previous present and the
# present's own cost, in microseconds. How long they are is a report (scripts/pacing.sh), not a
# check: this checks the log's shape.
echo "== the frame log, and closing the window saves the record files"
DIR="$(new_workdir frame-log)"
TOLVARO_FRAME_LOG="$DIR/frames.log" launch "$DIR"
expect_screen menu 30 frame-log-menu
close_window
finish "$DIR" 60
expect_bytes "$DIR/mg.tol" '0' "closing the window saves mg.tol"
expect_bytes "$DIR/lhb.lhb" "$FRESH_TABLE" "closing the window saves lhb.lhb"
# Start-up's black frame, the 48 frames of the slide-in, then the menu at rest; the first
# present has no interval.
check "a line of two counts per present, at least 49, the first interval 0" awk '
  NF != 2 || $1 < 0 || $2 < 0 || (NR == 1 && $1 != 0) { bad = 1 } END { exit bad || NR < 49 }' "$DIR/frames.log"

echo "== no video driver, or no display at all: code 1, the reason said, nothing written"
for environment in SDL_VIDEODRIVER=no-such-driver "SDL_VIDEODRIVER= WAYLAND_DISPLAY="; do
  start_without_display "no-video" $environment
  check "the reason is said" grep -q '^tolvaro: cannot open a window: ' "$DIR/.log"
  rm -rf "$DIR"
done

report_and_exit "desktop checks"
