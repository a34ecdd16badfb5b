#!/usr/bin/env bash
# What a save of the record files costs the frame that makes it, on each desktop host: the
# Linux program under Xvfb and the Windows program under Wine play into the records screen,
# where 清除 is pressed twenty times half a second apart (each press writes both files whole
# and durably), and the run's frame log gives the intervals of those frames against the others.
# A report, not a test.
#   scripts/save-cost.sh [linux|windows]   (after scripts/test.sh has built build/ and build-windows/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [[ $# -eq 0 ]]; then
  "$0" linux
  [[ -f "$root/build-windows/run/tolvaro.exe" ]] && "$0" windows
  exit 0
fi

source "$root/tests/wine/lib.sh"
source "$root/tests/wine/game-steps.sh"
PRESSES=20

if [[ "$1" == linux ]]; then
  PROGRAM=tolvaro PROGRAM_COMMAND=(./tolvaro)
  export SDL_AUDIODRIVER=dummy
  start_run "$root/build/run" "$root/build/generated" >/dev/null
  close_window() { kill -TERM "$(xdotool search --name '^Tolvaro$' getwindowpid)"; }
else
  start_run "$root/build-windows/run" "$root/build/generated" >/dev/null
  make_prefix >/dev/null
  close_window() { xdotool key alt+F4; }
fi

export TOLVARO_FRAME_LOG=frames.log  # in the working directory
into_dialog cost >/dev/null
xdotool type --delay 30 'cost'
xdotool key Return
expect_screen records-board 15 cost-records >/dev/null
sleep 1
xdotool mousemove 580 560  # 清除 (x 533-637, y 548-570)
for _ in $(seq "$PRESSES"); do
  xdotool click 1
  sleep 0.5
done
close_window
finish "$DIR" 30 >/dev/null
expect_bytes "$DIR/lhb.lhb" "$(printf 'someone 9999 0\\r\\n%.0s' 1 2 3 4 5 6)" "the presses cleared the table" >/dev/null

# After the longest interval (the dialog's wait), the frames of the presses are the longest.
python3 - "$1" "$DIR/frames.log" "$PRESSES" <<'EOF'
import statistics, sys
host, path, presses = sys.argv[1], sys.argv[2], int(sys.argv[3])
intervals = [int(line.split()[0]) / 1000 for line in open(path) if line.strip()]
dialog = max(range(len(intervals)), key=intervals.__getitem__)
after = sorted(intervals[dialog + 1:])
saves, others = after[-presses:], after[:-presses]
print(f"{host}: the {presses} frames that saved {statistics.median(saves):.1f} ms median "
      f"({saves[0]:.1f} to {saves[-1]:.1f} ms) from present to present; the other "
      f"{len(others)} frames {statistics.median(others):.1f} ms median")
EOF
((FAILURES == 0))
