#!/usr/bin/env bash
# End-to-end run of the Windows build under Wine in a private Xvfb. Builds nothing.
#   run-e2e.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
# Every run uses a fresh Wine prefix and fresh working directories. SCREENSHOT_DIR=<dir> keeps
# the screenshots; KEEP_SCRATCH=1 keeps the scratch folder. Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
start_run "$1" "$2"
make_prefix

# Both record files, seeded in a loose but readable form; an orderly end rewrites them whole in
# the program's own form.
seeded() {
  printf '777\n' >"$1/mg.tol"
  printf 'alice 30 500\nbob 41  400\n\tcarol 50 300\ndave 60 200\nerin 70 100\nfrank 80 50\n' \
    >"$1/lhb.lhb"
}
SEEDED_RECORDS='alice 30 500\r\nbob 41 400\r\ncarol 50 300\r\ndave 60 200\r\nerin 70 100\r\nfrank 80 50\r\n'
# lhb.lhb a folder, which the program cannot replace.
folder() { seeded "$1" && rm "$1/lhb.lhb" && mkdir "$1/lhb.lhb"; }
read_only() { seeded "$1" && chmod a-w "$1/lhb.lhb" && od -An -tx1 "$1/lhb.lhb" >"$SCRATCH/read-only.od"; }
close_window() { xdotool key alt+F4; }

# run_to_the_end <name> <how the folder is made> <how the program is ended>: a fresh working
# directory, the main menu compared, the window given focus, the end, exit code 0.
run_to_the_end() {
  echo "== $1: $3"
  DIR="$(new_workdir "$1")"
  "$2" "$DIR"
  launch "$DIR"
  expect_screen menu 15 "$1-menu"
  xdotool mousemove 10 10 click 1 sleep 0.2  # a click outside every item gives the window focus
  "$3" "$1"
  finish "$DIR" 20
}

run_to_the_end fresh true exit_yes
expect_bytes "$DIR/mg.tol" '0' "fresh start: mg.tol holds the best score 0"
EMPTY_ROW='namehex: 0 0\r\n'
expect_bytes "$DIR/lhb.lhb" "$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW$EMPTY_ROW" "fresh start: lhb.lhb holds six empty rows"

for end in exit_yes close_window; do
  run_to_the_end "seeded-$end" seeded "$end"
  expect_bytes "$DIR/mg.tol" '777' "$end rewrites mg.tol in the program's form"
  expect_bytes "$DIR/lhb.lhb" "$SEEDED_RECORDS" "$end rewrites lhb.lhb in the program's form"
done

run_to_the_end folder folder exit_yes
expect_bytes "$DIR/mg.tol" '777' "a record file that cannot be replaced does not stop mg.tol"
check "the folder lhb.lhb is left as it was, empty" test -d "$DIR/lhb.lhb" -a -z "$(ls -A "$DIR/lhb.lhb")"
check "the refused temporary file was removed" test -z "$(cd "$DIR" && ls -d -- *.tmp 2>/dev/null)"

run_to_the_end read-only read_only exit_yes
expect_bytes "$DIR/mg.tol" '777' "a read-only record file does not stop mg.tol"
check "the read-only lhb.lhb keeps its bytes and its mode" \
  test "$(od -An -tx1 "$DIR/lhb.lhb")" == "$(cat "$SCRATCH/read-only.od")" -a "$(stat -c %a "$DIR/lhb.lhb")" == 444

echo "== no display: the program cannot make its window, ends with 1 and writes nothing"
start_without_display no-display

report_and_exit "Wine end-to-end checks"
