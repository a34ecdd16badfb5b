#!/usr/bin/env bash
# The Windows program's keyboard under Wine, with fcitx5 pinyin in Chinese mode (tests/ime):
# the host's own checks (keyboard_check host: input contexts, VK_PROCESSKEY, the shortcut
# settings), then the game with a second program's low-level keyboard hook watching what reaches
# the system: no Windows key while the game is active, every key again after it has ended, and
# the shortcut settings read back as before. Builds nothing.
#   run-keyboard.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
#                   <keyboard_check.exe>
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$WINE_TESTS_DIR/../ime/fcitx5-rig.sh"
CHECKER="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
start_run "$1" "$2" fcitx5 dbus-daemon xprop
start_fcitx5
make_prefix

echo "== the host: input contexts, VK_PROCESSKEY, the shortcut settings"
DIR="$(new_workdir host)"
cp "$CHECKER" "$DIR/"
code=0
(cd "$DIR" && timeout 120 wine "$(basename "$CHECKER")" host) || code=$?
check "the host's keyboard checks pass (failed: $code)" test "$code" == 0
wineserver -w

echo "== the game: a second program's hook sees no Windows key while the game is active"
DIR="$(new_workdir watched)"
cp "$CHECKER" "$DIR/"
(cd "$DIR" && wine "$(basename "$CHECKER")" watch keys.log >/dev/null 2>&1) &
WATCH_PID=$!
for _ in $(seq 300); do grep -q hooked "$DIR/keys.log" 2>/dev/null && break; sleep 0.1; done
check "the watching program's hook is in place" grep -q '^hooked' "$DIR/keys.log"
# keys_then <keys...>: presses the keys, then Pause as a marker, and waits until the watcher has
# seen the marker; KEYS_SEEN is what it saw meanwhile.
marks=0
keys_then() {
  local before
  before=$(wc -l <"$DIR/keys.log")
  xdotool key --delay 100 "$@" Pause
  marks=$((marks + 1))
  for _ in $(seq 300); do (($(grep -c '^key 19$' "$DIR/keys.log") >= marks)) && break; sleep 0.1; done
  KEYS_SEEN="$(tail -n +$((before + 1)) "$DIR/keys.log" | sed -n 's/^key //p' | tr '\n' ' ')"
}
launch "$DIR"
expect_screen menu 30 watched-menu
keys_then Control_L Super_L Super_R Shift_L
check "while the game is active, Ctrl and Shift reach the system, the Windows keys not: $KEYS_SEEN" \
  test "$KEYS_SEEN" == "162 160 19 "
# The game hears of a focus change a pass or more later, longer on a busy machine: the key is
# pressed again until it is seen as expected or the tries run out.
xdotool search --name '^Keyboard watch$' windowfocus
for _ in $(seq 20); do keys_then Super_L; grep -qw 91 <<<"$KEYS_SEEN" && break; sleep 0.5; done
check "with the focus elsewhere, the Windows key reaches the system: $KEYS_SEEN" grep -qw 91 <<<"$KEYS_SEEN"
xdotool mousemove 300 700 click 1  # a click on the menu where nothing is
for _ in $(seq 20); do keys_then Super_R; [[ $KEYS_SEEN == "19 " ]] && break; sleep 0.5; done
check "with the focus back on the game, it does not: $KEYS_SEEN" test "$KEYS_SEEN" == "19 "
exit_yes watched
# Not lib.sh's finish: Wine stays up for the watcher.
for _ in $(seq 600); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
check "the game ended with code 0" test "$(cat "$DIR/.exit-code" 2>/dev/null)" == 0
xdotool search --name '^Keyboard watch$' windowfocus
keys_then Super_R
check "after the game, the Windows key reaches the system: $KEYS_SEEN" grep -qw 92 <<<"$KEYS_SEEN"
xdotool key F12
for _ in $(seq 300); do kill -0 "$WATCH_PID" 2>/dev/null || break; sleep 0.1; done
# Wine keeps these settings without acting on them; the host's checks above hold the rules.
check "the shortcut settings read back as before the game: $(grep settings "$DIR/keys.log" | tr '\n' ';')" \
  test "$(grep -c settings "$DIR/keys.log")" == 2 -a "$(grep settings "$DIR/keys.log" | uniq | wc -l)" == 1

report_and_exit "Wine keyboard checks"
