#!/usr/bin/env bash
# The name box of the name-entry dialog under Wine, in a private Xvfb, on a system without any
# font for Chinese: typed as 张三 through the dialog's own edit control, the name must show in
# the game's own glyphs, pixel for pixel, on a Western (en_US.UTF-8, code page 1252) and on a
# Chinese (zh_CN.UTF-8, code page 936) locale, and reach lhb.lhb as its GBK bytes. Builds nothing.
#   run-name-box.sh <run dir holding tolvaro.exe, 03_16/, charImg/, mouse6.ani> <generated dir>
# Locales the system lacks are generated into the scratch folder (localedef, LOCPATH).
# SCREENSHOT_DIR=<dir> keeps the screenshots; KEEP_SCRATCH=1 the scratch folder.
# Exit 0 pass, 1 fail, 77 skip.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

RUN_DIR="$(cd "$1" && pwd)"
GENERATED="$(cd "$2" && pwd)"
[[ -f "$RUN_DIR/tolvaro.exe" ]] || { echo "FAIL: no $RUN_DIR/tolvaro.exe"; exit 1; }
require_tools
for tool in xmodmap localedef fc-list; do
  command -v "$tool" >/dev/null || {
    echo "SKIP: no $tool (apt-get install x11-xserver-utils locales fontconfig)"
    if [[ -n "${TOLVARO_REQUIRE_E2E:-}" ]]; then exit 1; fi
    exit 77
  }
done
export LANG=C.UTF-8 LC_ALL=C.UTF-8
start_session
source "$WINE_TESTS_DIR/game-steps.sh"

# Wine finds the system's fonts through fontconfig: it is given only DejaVu, which has no
# Chinese, so any Chinese in the box can only come from the game's glyphs.
mkdir -p "$SCRATCH/fontconfig"
cat >"$SCRATCH/fontconfig/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$SCRATCH/fontconfig/cache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE="$SCRATCH/fontconfig/fonts.conf"
fonts="$(fc-list : family | sort -u | tr '\n' ',')"
chinese="$(fc-list :lang=zh-cn family)"
if [[ -n "$fonts" && -z "$chinese" ]]; then
  pass "the fonts Wine sees have no Chinese: $fonts"
else
  fail "fonts seen: '$fonts', with Chinese: '$chinese'"
fi

# 张 and 三 get key codes of their own before Wine starts (it reads the key map once).
mapfile -t free_codes < <(xmodmap -pke | sed -n 's/^keycode *\([0-9]*\) = *$/\1/p' | head -n2)
xmodmap -e "keycode ${free_codes[0]} = U5F20" -e "keycode ${free_codes[1]} = U4E09"
NAME_GBK='\xd5\xc5\xc8\xfd'  # 张三
NAME_HEX=d5c5c8fd

# system_colour <name>: a colour of the prefix's "Control Panel\Colors" as r,g,b.
system_colour() {
  wine reg query 'HKCU\Control Panel\Colors' /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v name="$1" '$1 == name { print $3 "," $4 "," $5 }'
}

# use_locale <name>: the locale for what starts next, generated into the scratch folder when
# the system does not have it.
use_locale() {
  local name="$1" start=$SECONDS
  local normalised="${name%%.*}.utf8"
  if ! locale -a 2>/dev/null | grep -qx "$normalised"; then
    mkdir -p "$SCRATCH/locale"
    if [[ ! -d "$SCRATCH/locale/$name" ]]; then
      localedef -i "${name%%.*}" -f UTF-8 "$SCRATCH/locale/$name" 2>"$SCRATCH/localedef.log" || {
        fail "localedef of $name: $(tail -n3 "$SCRATCH/localedef.log")"
        return 1
      }
      echo "locale $name generated in $((SECONDS - start)) s"
    fi
    export LOCPATH="$SCRATCH/locale"
  fi
  # (The shell itself keeps its locale; what it starts from here on runs under this one.)
  { export LANG="$name" LC_ALL="$name"; } 2>/dev/null
  if [[ -n "$(locale 2>&1 >/dev/null)" ]]; then
    fail "the locale $name cannot be set: $(locale 2>&1 >/dev/null | head -n1)"
    return 1
  fi
}

# name_box_run <locale> <ANSI code page> <label>: a fresh prefix made under the locale, the road
# into the dialog, 张三 typed, the box compared with the glyphs with the caret in both phases,
# Enter, Alt+F4 on the records screen, and the files checked.
name_box_run() {
  local locale="$1" code_page="$2" label="$3"
  echo "== $label: $locale"
  use_locale "$locale" || return
  if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  make_prefix
  local acp
  acp="$(ansi_code_page)"
  if [[ "$acp" == "$code_page" ]]; then pass "$label: the ANSI code page is $acp"; else
    fail "$label: the ANSI code page is '$acp', not $code_page"; fi

  DIR="$(new_workdir "$label")"
  seed_records "$DIR"
  RECORDS_SHOT=""
  launch "$DIR"
  into_dialog "$label"
  xdotool type --delay 60 '张三'
  # The caret blinks: the box must show it right after the two glyphs, and then without it.
  # A mismatch is counted and the run goes on, so both locales are always checked.
  expect_screen name-box 10 "$label-name-box" $FACE_X $FACE_Y $NAME_HEX on || true
  expect_screen name-box 10 "$label-name-box-caret-off" $FACE_X $FACE_Y $NAME_HEX off || true
  # Caret keys, typing and selection stay the edit control's; the picture follows them, the
  # caret placed by the glyphs' widths: Left, "a" between the two, Shift+End selects 三 in the
  # system's highlight colours, two Backspaces and 三 again give 张三; a press in the box.
  local highlight highlight_text
  highlight="$(system_colour Hilight)"
  highlight_text="$(system_colour HilightText)"
  [[ -n "$highlight" && -n "$highlight_text" ]] || fail "$label: no highlight colours in the prefix"
  xdotool key Left
  expect_screen name-box 10 "$label-name-box-left" $FACE_X $FACE_Y $NAME_HEX on 2 || true
  xdotool type 'a'
  expect_screen name-box 10 "$label-name-box-insert" $FACE_X $FACE_Y d5c561c8fd on 3 || true
  xdotool key shift+End
  expect_screen name-box 10 "$label-name-box-selection" $FACE_X $FACE_Y d5c561c8fd on 5 \
    3 5 "$highlight" "$highlight_text" || true
  xdotool key BackSpace BackSpace
  xdotool type --delay 60 '三'
  expect_screen name-box 10 "$label-name-box-retyped" $FACE_X $FACE_Y $NAME_HEX on || true
  # A press 21 pixels into the field, on the left half of 三 (16 to 31), puts the caret between
  # the two characters, where the glyphs are, not where the system's font would have them.
  xdotool mousemove $((FACE_X + 84 + 1 + 21)) $((FACE_Y + 72 + 12)) click 1
  expect_screen name-box 10 "$label-name-box-click" $FACE_X $FACE_Y $NAME_HEX on 2 || true
  xdotool key Return
  expect_screen records-board 10 "$label-records" && RECORDS_SHOT="$LAST_SHOT"
  xdotool key alt+F4
  finish "$DIR" 20
  check_files "$DIR" "$NAME_GBK" "$label: 张三"
}

name_box_run en_US.UTF-8 1252 western
name_box_run zh_CN.UTF-8 936 chinese

report_and_exit "Wine name box checks"
