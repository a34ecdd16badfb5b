# The road through the game to the name-entry dialog and back out, shared by the checks that
# play a game (the Windows program's and the desktop program's): seeded record files, the way
# into play and into the dialog, the records screen, the way to the exit box, and the files the
# exit writes. Sourced after lib.sh.

# The dialog's client area, centred on the 1024 x 768 screen: (1024 - 320) / 2, (768 - 160) / 2.
FACE_X=352 FACE_Y=304

# mg.tol below every score, and six rows of score -1 (row 2 in Chinese, 李四), so that an
# abandoned game with score 0 becomes the new row 1 and raises the best score to 0.
seed_records() {
  printf -- '-5' >"$1/mg.tol"
  printf 'ann 11 -1\r\n\xc0\xee\xcb\xc4 12 -1\r\ncy 13 -1\r\ndee 14 -1\r\neve 15 -1\r\nfay 16 -1\r\n' \
    >"$1/lhb.lhb"
}
# Rows 1 to 5 of the seed, which move down one row under the new row 1.
PUSHED_ROWS='ann 11 -1\r\n\xc0\xee\xcb\xc4 12 -1\r\ncy 13 -1\r\ndee 14 -1\r\neve 15 -1\r\n'

# into_level <label>: from the main menu: Start Game -> lobby -> start: the level's caption.
into_level() {
  xdotool mousemove 800 225 click 1  # Start Game (x 681-942, y 201-250)
  xdotool mousemove 840 120          # over the lobby's start button once it has slid in
  expect_screen lobby-start 15 "$1-lobby"
  xdotool click 1                    # start button (x 725-963, y 99-147)
  expect_screen level-announcement 15 "$1-intro"
}

# into_play <label>: from the main menu into play on the board of the program's fake clock
# (FAKE_CLOCK 2023-11-14 22:13:20): PLAY_SHOT, and LETTERS, the board's letters with neither
# neighbour on the board, so that a key mapped one letter off catches nothing.
into_play() {
  into_level "$1"
  xdotool key Return
  expect_screen board 30 "$1-play" 1700000000 1700000030
  PLAY_SHOT="$LAST_SHOT"
  local all
  all="$(python3 "$COMPARE" "$PLAY_SHOT" "$GENERATED" board 1700000000 1700000030 |
    sed -n 's/.*: //p' | grep -o '[A-Z] at' | cut -c1 | tr 'A-Z\n' 'a-z ')"
  LETTERS="$(for l in $all; do grep -q "[$(tr a-y b-z <<<"$l")$(tr b-z a-y <<<"$l")]" <<<"$all" || printf "%s " "$l"; done)"
}

# close_window: SIGTERM to the desktop program, which SDL turns into a close request.
close_window() { kill -TERM "$(xdotool search --name '^Tolvaro$' getwindowpid)"; }

# into_dialog <label>: a fresh working directory with the seeded records (DIR), the program
# started, then main menu -> Start Game -> lobby -> start -> level intro -> Enter -> play -> Esc:
# the abandoned game enters the table and the name dialog opens.
into_dialog() {
  local label="$1"
  DIR="$(new_workdir "$label")"
  seed_records "$DIR"
  RECORDS_SHOT=""
  launch "$DIR"
  expect_screen menu 15 "$label-menu"
  into_level "$label"
  xdotool key Return
  sleep 1.2
  PLAY_SHOT="$(screenshot "$label-play")"
  xdotool key Escape
  expect_screen dialog 10 "$label-dialog" $FACE_X $FACE_Y
}

# records_screen <label>: waits for the records screen after the dialog has closed; Esc there
# leaves the picture as it is. RECORDS_SHOT is the screenshot for the exact check after the exit.
records_screen() {
  expect_screen records-board 10 "$1-records" || return
  RECORDS_SHOT="$LAST_SHOT"
  xdotool key Escape
  sleep 0.5
  check "Esc leaves the records screen as it is" cmp -s "$RECORDS_SHOT" "$(screenshot "$1-records-esc")"
}

# back_to_exit <label>: records confirm -> lobby -> Esc -> main menu -> exit box -> Yes.
back_to_exit() {
  xdotool mousemove 420 560 click 1  # records confirm (x 373-474, y 548-570)
  expect_screen lobby 15 "$1-lobby-again"
  xdotool key Escape
  expect_screen menu 15 "$1-menu-again"
  exit_yes "$1"
}

# check_files <row 1 name as printf format> <label> [killed]: after the end of the program in DIR
# (its orderly end, or with "killed" its process killed from outside),
# mg.tol holds the new best score 0; lhb.lhb holds the name in row 1 with the seconds of the game
# and score 0, then the pushed rows; the records screen showed exactly these rows with the
# marker beside row 1.
check_files() {
  local name="$1" label="$2" seconds
  [[ "${3:-}" == killed ]] || finish "$DIR" 20
  expect_bytes "$DIR/mg.tol" '0' "$label: mg.tol holds the best score 0"
  seconds="$(LC_ALL=C sed -n '1s/^[^ ]* \([0-9]*\) 0\r$/\1/p' "$DIR/lhb.lhb" 2>/dev/null || true)"
  if [[ -z "$seconds" || "$seconds" -gt 60 ]]; then
    fail "$label: row 1 of lhb.lhb is not a game of 0 points: $(od -An -c "$DIR/lhb.lhb" | head -c 200)"
    return
  fi
  expect_bytes "$DIR/lhb.lhb" "$name $seconds 0\\r\\n$PUSHED_ROWS" \
    "$label: lhb.lhb holds the name in row 1 ($seconds s, 0 points) and the five rows below"
  check "$label: the records screen showed these rows" \
    python3 "$COMPARE" "${RECORDS_SHOT:-none}" "$GENERATED" records "$DIR/lhb.lhb" 1
}
