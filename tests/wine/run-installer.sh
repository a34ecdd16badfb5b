#!/usr/bin/env bash
# The installer under Wine in a private Xvfb: a silent install puts the program in Program Files
# with its Start-menu shortcut and its Add/Remove Programs entry; the installed program, started
# from the shortcut's target and working folder, keeps its records in %LOCALAPPDATA%\Tolvaro;
# a silent uninstall removes the program and keeps the records.
#   run-installer.sh <tolvaro-setup.exe>
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

SETUP="$(readlink -f "$1")"
[[ -f "$SETUP" ]] || { echo "FAIL: no $SETUP"; exit 1; }
require_tools
start_session
make_prefix

unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_variable() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvaro'

echo "== silent install"
wine "$SETUP" /S >"$SCRATCH/setup.log" 2>&1 || fail "the installer ended with $?"
wineserver -w
INSTALLED="$(unix_path 'C:\Program Files\Tolvaro')"
for name in tolvaro.exe uninstall.exe mouse6.ani 03_16/chongzi1.bmp charImg/65.bmp; do
  check "installed $name" test -f "$INSTALLED/$name"
done
START_MENU="$(unix_path "$(windows_variable ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs\\Tolvaro")"
check "Start-menu shortcut" test -f "$START_MENU/Tolvaro.lnk"
check "no desktop shortcut unless chosen" test ! -e "$(unix_path "$(windows_variable PUBLIC)\\Desktop")/Tolvaro.lnk"
check "registered in Add/Remove Programs" \
  grep -q uninstall.exe <(wine reg query "$KEY" /v UninstallString 2>/dev/null)

echo "== the installed program, from its shortcut's target and working folder"
PLAYERS="$(unix_path "$(windows_variable LOCALAPPDATA)\\Tolvaro")"
launch "$INSTALLED"
sleep 4  # the menu slides in
xdotool mousemove 100 100 key Escape sleep 2 mousemove 440 400 click 1
finish "$INSTALLED" 60
for name in mg.tol lhb.lhb mouse6.ani 03_16/chongzi1.bmp charImg/65.bmp; do
  check "$name in the player's folder" test -f "$PLAYERS/$name"
done
expect_bytes "$PLAYERS/mg.tol" '0' "the best score written at the exit"
check "no record files in Program Files" test ! -e "$INSTALLED/mg.tol" -a ! -e "$INSTALLED/lhb.lhb"
cp "$PLAYERS/lhb.lhb" "$SCRATCH/records-before"
rm -f "$INSTALLED/.exit-code" "$INSTALLED/.log"  # the test's own notes of the run

echo "== silent uninstall"
wine "$INSTALLED/uninstall.exe" /S >"$SCRATCH/uninstall.log" 2>&1 || fail "the uninstaller ended with $?"
wineserver -w
# The uninstaller runs from a copy of itself in the temporary folder; give it time to finish.
for _ in $(seq 100); do [[ -e "$INSTALLED" ]] || break; sleep 0.1; done
check "the program is removed" test ! -e "$INSTALLED"
check "the shortcut is removed" test ! -e "$START_MENU"
if wine reg query "$KEY" >/dev/null 2>&1; then fail "the uninstall entry is left"; else pass "the uninstall entry is removed"; fi
check "the records stay" cmp -s "$PLAYERS/lhb.lhb" "$SCRATCH/records-before"
echo "installer: $(du -k "$SETUP" | cut -f1) KiB"
report_and_exit "installer checks"
