#!/usr/bin/env bash
# CPU cost report, not a test: the desktop program and its X server at rest on the main menu, in
# the lobby, in a game in play and on the records screen, each measured over the same stretch of
# time side by side with Tux Typing (Debian's tuxtype, installed here when missing) on its own
# menu. Each program has an Xvfb of its own (1024x768x24); the figures are percent of one core,
# from the processes' user and system time in /proc.
#
#   scripts/measure-cpu.sh [RUN_DIR]    (default build/run, made by scripts/test.sh)
#   scripts/measure-cpu.sh --wine [RUN_DIR]   the Windows program under Wine (default
#       build-windows/run) on screens of 1920x1080x24, the game's side counting the program, its
#       X server and the wineserver
#   TOLVARO_CPU_SECONDS=20 sets the stretch measured on each screen; TOLVARO_CPU_SCREEN=WxH the
#   screens' size; TOLVARO_CPU_SHOTS=DIR keeps a screenshot of both screens at the end of each
#   stretch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wine_mode=""
[[ ${1:-} == --wine ]] && { wine_mode=1; shift; }
if [[ -n $wine_mode ]]; then
  run_dir=$(cd "${1:-$root/build-windows/run}" && pwd)
  screen=${TOLVARO_CPU_SCREEN:-1920x1080}
else
  run_dir=$(cd "${1:-$root/build/run}" && pwd)
  screen=${TOLVARO_CPU_SCREEN:-1024x768}
fi
seconds=${TOLVARO_CPU_SECONDS:-20}
tuxtype=/usr/games/tuxtype

if [[ ! -x $tuxtype ]]; then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends tuxtype >/dev/null
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tolvaro-cpu.XXXXXX")
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

start_xvfb() {  # start_xvfb NAME: prints the display number; the server's pid in $scratch/NAME.pid
  local file="$scratch/$1.display"
  exec 3>"$file"
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp >"$scratch/$1.xvfb.log" 2>&1 &
  echo $! >"$scratch/$1.pid"
  exec 3>&-
  for _ in $(seq 200); do [[ -s $file ]] && break; sleep 0.05; done
  tr -d '[:space:]' <"$file"
}

wait_window() {  # wait_window DISPLAY NAME_PATTERN (a busy machine may take a while)
  for _ in $(seq 1200); do
    DISPLAY=":$1" xdotool search --onlyvisible --name "$2" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "no window matching $2 on :$1" >&2
  return 1
}

ticks() {  # ticks PID...: user + system clock ticks of the processes
  local total=0 pid
  for pid in "$@"; do
    total=$((total + $(awk '{print $14 + $15}' "/proc/$pid/stat")))
  done
  echo "$total"
}

game_display=$(start_xvfb game)
game_server=$(cat "$scratch/game.pid")
pids+=("$game_server")
peer_display=$(start_xvfb peer)
peer_server=$(cat "$scratch/peer.pid")
pids+=("$peer_server")

mkdir -p "$scratch/game" "$scratch/peer-home"
cp -r "$run_dir/." "$scratch/game/"
game_side=()  # the processes counted on the game's side besides the program and its X server
if [[ -n $wine_mode ]]; then
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$scratch/prefix"
  DISPLAY=":$game_display" wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  # A wineserver of this run's own, started here so that its time can be read.
  wineserver -f -p >/dev/null 2>&1 &
  game_side+=($!)
  pids+=($!)
  # A table of negative scores, which a game of any score enters: the records screen follows
  # the name even where the typed letters catch nothing.
  printf -- '-5' >"$scratch/game/mg.tol"
  for name in a b c d e f; do printf '%s 1 -1\r\n' "$name"; done >"$scratch/game/lhb.lhb"
  (cd "$scratch/game" && DISPLAY=":$game_display" exec wine tolvaro.exe) >"$scratch/game.log" 2>&1 &
else
  (cd "$scratch/game" && DISPLAY=":$game_display" SDL_AUDIODRIVER=dummy exec ./tolvaro) \
    >"$scratch/game.log" 2>&1 &
fi
game=$!
pids+=("$game")
HOME="$scratch/peer-home" DISPLAY=":$peer_display" SDL_AUDIODRIVER=dummy \
  "$tuxtype" --fullscreen --nosound >"$scratch/peer.log" 2>&1 &
peer=$!
pids+=("$peer")
wait_window "$game_display" '^Tolvaro$'
wait_window "$peer_display" '^Tux Typing$'
on_game() { DISPLAY=":$game_display" xdotool "$@"; }
# at X Y: the screen position of picture pixel (X, Y), the picture fitted to the screen with its
# shape kept and centred.
screen_w=${screen%x*} screen_h=${screen#*x}
if ((screen_w * 768 <= screen_h * 1024)); then pic_w=$screen_w pic_h=$((screen_w * 768 / 1024))
else pic_w=$((screen_h * 1024 / 768)) pic_h=$screen_h; fi
at() {
  echo $(((screen_w - pic_w) / 2 + (2 * $1 + 1) * pic_w / 2048)) \
    $(((screen_h - pic_h) / 2 + (2 * $2 + 1) * pic_h / 1536))
}
on_game mousemove $(at 300 700)
sleep 3

hz=$(getconf CLK_TCK)
if [[ -n $wine_mode ]]; then
  echo "the Windows program under Wine on $screen; its side: program + wineserver + X server"
fi
printf '%-8s %28s %28s\n' screen "game + its X server (%)" "tuxtype + its X server (%)"
measure() {  # measure NAME
  local g0 s0 p0 q0 g1 s1 p1 q1
  g0=$(ticks "$game" "${game_side[@]}"); s0=$(ticks "$game_server")
  p0=$(ticks "$peer"); q0=$(ticks "$peer_server")
  sleep "$seconds"
  if [[ -n ${TOLVARO_CPU_SHOTS:-} ]]; then
    mkdir -p "$TOLVARO_CPU_SHOTS"
    DISPLAY=":$game_display" import -window root "$TOLVARO_CPU_SHOTS/$1.png"
    DISPLAY=":$peer_display" import -window root "$TOLVARO_CPU_SHOTS/$1-tuxtype.png"
  fi
  g1=$(ticks "$game" "${game_side[@]}"); s1=$(ticks "$game_server")
  p1=$(ticks "$peer"); q1=$(ticks "$peer_server")
  python3 - "$1" "$hz" "$seconds" $((g1 - g0)) $((s1 - s0)) $((p1 - p0)) $((q1 - q0)) <<'EOF'
import sys
name, hz, seconds = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
g, s, p, q = (100.0 * int(v) / hz / seconds for v in sys.argv[4:])
print(f"{name:<8} {g:6.1f} + {s:5.1f} = {g + s:5.1f}      {p:6.1f} + {q:5.1f} = {p + q:5.1f}"
      f"    ratio {(g + s) / max(p + q, 0.01):.1f}")
EOF
}

measure menu
on_game mousemove $(at 800 225) click 1  # Start Game: the lobby slides in
sleep 3
on_game mousemove $(at 300 700)
sleep 1
measure lobby
on_game mousemove $(at 840 120) click 1  # the lobby's start button: the first announcement
sleep 2
on_game key Return
sleep 1
measure game
# A few catches lift the score above the empty table's, so Esc asks for a name, and the name
# leads to the records screen.
for _ in 1 2 3 4 5 6; do
  on_game key --delay 40 a b c d e f g h i j k l m n o p q r s t u v w x y z
done
on_game key Escape
sleep 2
on_game type --delay 60 cpu
on_game key Return
sleep 4
measure records
