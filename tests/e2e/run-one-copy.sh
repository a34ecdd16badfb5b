#!/usr/bin/env bash
# One game per working directory, with the real program (the desktop build, or the Windows build
# under Wine when the run dir holds tolvaro.exe) on an X server of its own:
# - a second start in the folder of a running game ends with 0, writes nothing, opens no window,
#   and brings the running game to the front, which then plays a game into the record table and
#   keeps its record when it exits (the second copy, had it stayed, would have written over it);
# - a game in another folder runs beside it all along;
# - after the game is killed (SIGKILL), the next start in that folder plays.
#   run-one-copy.sh <run dir holding the program, 03_16/, charImg/, mouse6.ani> <generated dir>
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/../wine/lib.sh"
source "$WINE_TESTS_DIR/game-steps.sh"
if [[ ! -f "$1/tolvaro.exe" ]]; then
  PROGRAM=tolvaro
  PROGRAM_COMMAND=(./tolvaro)
  export SDL_AUDIODRIVER=dummy
fi
start_run "$1" "$2"
[[ "$PROGRAM" == *.exe ]] && make_prefix
WAIT=60  # seconds; every wait ends as soon as its condition holds

windows() { xdotool search --onlyvisible --name '^Tolvaro$' 2>/dev/null || true; }
window_count() { windows | grep -c . || true; }
windows_shown() { (($(window_count) == $1)); }
window_of() { for w in $(windows); do [[ "$(xdotool getwindowpid "$w")" != "$1" ]] || echo "$w"; done; }
# wait_for <seconds> <command...>
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do ((SECONDS < deadline)) || return 1; sleep 0.1; done
}

# start_copy <dir> <windows expected afterwards>: starts the program there in the background;
# COPY_PID is the shell that runs it (its code lands in <dir>/.exit-code), WINDOW_PID the process
# behind the new window.
start_copy() {
  local dir="$1" before
  before="$(windows)"
  (
    cd "$dir"
    code=0
    "${PROGRAM_COMMAND[@]}" >"$dir/.log" 2>&1 || code=$?
    echo "$code" >"$dir/.exit-code"
  ) &
  COPY_PID=$!
  wait_for $WAIT windows_shown "$2" || { fail "no window in $dir"; report_and_exit "one-copy checks"; }
  local w
  for w in $(windows); do grep -qx "$w" <<<"$before" || WINDOW_PID="$(xdotool getwindowpid "$w")"; done
}
# ended <shell pid> <dir> <label>: the program there ended with code 0.
ended() {
  wait_for $WAIT eval "! kill -0 $1 2>/dev/null" || fail "$3: the program still runs after $WAIT s"
  check "$3: exit code $(cat "$2/.exit-code" 2>/dev/null || echo none)" test "$(cat "$2/.exit-code" 2>/dev/null)" == 0
}
# The files of a folder, with their sizes, times and contents (the running game's log aside).
folder_state() { (cd "$1" && find . ! -name .log -printf '%p %s %T@\n' | sort && cat mg.tol lhb.lhb | md5sum); }
# give_focus: a click beside every button and item of the menu and the lobby gives the window
# under the pointer the keyboard.
give_focus() { xdotool mousemove 10 10 click 1 sleep 0.2; }
# to_the_front <pid>: that game's window raised and given the keyboard, as a player's click would.
to_the_front() {
  local w
  w="$(window_of "$1")"
  xdotool windowraise "$w" windowfocus --sync "$w"
  give_focus
}

echo "== a game in one folder, another in a second folder beside it"
HERE="$(new_workdir here)"
seed_records "$HERE"
start_copy "$HERE" 1
FIRST=$COPY_PID FIRST_PID=$WINDOW_PID
expect_screen menu 30 first-menu
OTHER="$(new_workdir other)"
start_copy "$OTHER" 2
BESIDE=$COPY_PID BESIDE_PID=$WINDOW_PID
expect_screen menu 30 beside-menu
give_focus
xdotool mousemove 800 225 click 1 mousemove 300 700  # Start Game: the later window shows the lobby
expect_screen lobby 30 beside-lobby
check "two folders: both games run" kill -0 "$FIRST_PID" "$BESIDE_PID"

echo "== a second start in the first folder"
BEFORE="$(folder_state "$HERE")"
started=$(date +%s%N)
(cd "$HERE" && "${PROGRAM_COMMAND[@]}" >"$SCRATCH/second.log" 2>&1; echo $? >"$SCRATCH/second.code") &
SECOND=$!
wait_for $WAIT test -s "$SCRATCH/second.code" &&
  echo "figure: the second copy ended $((($(date +%s%N) - started) / 1000000)) ms after its start"
check "the second copy ends with 0 (code $(cat "$SCRATCH/second.code" 2>/dev/null || echo none: still running))" \
  test "$(cat "$SCRATCH/second.code" 2>/dev/null)" == 0
check "the second copy wrote nothing in the folder" test "$(folder_state "$HERE")" == "$BEFORE"
check "the second copy opened no window ($(window_count) shown)" test "$(window_count)" == 2
expect_screen menu 15 raised-menu  # the first game's menu, no longer under the other's lobby
# Wine, with no window manager, leaves the X keyboard focus where it was; the picture above
# shows that the window came to the front.
if [[ "$PROGRAM" != *.exe ]]; then
  check "the first game has the keyboard" test "$(xdotool getwindowfocus 2>/dev/null)" == "$(window_of "$FIRST_PID")"
fi

echo "== the first game plays into the record table and ends"
# Also so that a second copy that stayed open does not take the first game's input.
to_the_front "$FIRST_PID"
xdotool mousemove 800 225 click 1 mousemove 840 120  # Start Game, then over the lobby's start
expect_screen lobby-start 30 first-lobby
xdotool click 1
expect_screen level-announcement 15 first-intro
xdotool key Return
sleep 1.2
xdotool key Escape  # a game of 0 points enters the seeded table: the name dialog
expect_screen dialog 30 first-dialog $FACE_X $FACE_Y
xdotool type --delay 60 'lock'
sleep 0.3
xdotool key Return
expect_screen records-board 30 first-records
to_the_front "$FIRST_PID"  # the name dialog's end may have handed the keyboard on
back_to_exit first
ended "$FIRST" "$HERE" "the first game"
# A second copy that did not end would write its own table now, as the program did before.
if kill -0 "$SECOND" 2>/dev/null; then
  for w in $(windows); do
    pid="$(xdotool getwindowpid "$w")"
    [[ "$pid" == "$BESIDE_PID" ]] && continue
    if [[ "$PROGRAM" == *.exe ]]; then xdotool windowfocus "$w" key alt+F4; else kill -TERM "$pid"; fi
  done
  wait_for $WAIT eval "! kill -0 $SECOND 2>/dev/null" || true
fi
seconds="$(LC_ALL=C sed -n '1s/^lock \([0-9]*\) 0\r$/\1/p' "$HERE/lhb.lhb")"
expect_bytes "$HERE/lhb.lhb" "lock ${seconds:-?} 0\\r\\n$PUSHED_ROWS" "lhb.lhb keeps the first game's record in row 1"
expect_bytes "$HERE/mg.tol" '0' "mg.tol keeps the first game's best score"

echo "== the game in the other folder still runs, and ends as it should"
check "the other folder's game still runs" kill -0 "$BESIDE_PID"
to_the_front "$BESIDE_PID"
xdotool key Escape
expect_screen menu 30 beside-menu-again
exit_yes beside
ended "$BESIDE" "$OTHER" "the other folder's game"
expect_bytes "$OTHER/mg.tol" '0' "the other folder's mg.tol is its own"

echo "== a killed game leaves nothing behind that stops the next start"
start_copy "$HERE" 1
expect_screen menu 30 killed-menu
kill -KILL "$WINDOW_PID"
wait_for $WAIT windows_shown 0 || fail "the killed game's window stays"
wait "$COPY_PID" 2>/dev/null || true
start_copy "$HERE" 1
expect_screen menu 30 after-kill-menu
give_focus
exit_yes after-kill
ended "$COPY_PID" "$HERE" "the start after the kill"
expect_bytes "$HERE/lhb.lhb" "lock $seconds 0\\r\\n$PUSHED_ROWS" "the start after the kill read and kept the records"
report_and_exit "one-copy checks"
