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
source "$WINE_TESTS_DIR/game-steps.sh"
start_run "$1" "$2" xmodmap localedef fc-list

# Wine finds the system's fonts through fontconfig: it is given only DejaVu, which has no
# Chinese, so any Chinese in the box can only come from the game's glyphs.
export FONTCONFIG_FILE="$SCRATCH/fonts.conf"
printf '<?xml version="1.0"?>\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' \
  /usr/share/fonts/truetype/dejavu "$SCRATCH/fontconfig-cache" >"$FONTCONFIG_FILE"
fonts="$(fc-list : family | sort -u | tr '\n' ',')"
chinese="$(fc-list :lang=zh-cn family)"
check "the fonts Wine sees have no Chinese: '$fonts', with Chinese: '$chinese'" \
  test -n "$fonts" -a -z "$chinese"

map_keys U5F20 U4E09  # 张 三
NAME_HEX=d5c5c8fd

# system_colour <name>: a colour of the prefix's "Control Panel\Colors" as r,g,b.
system_colour() {
  wine reg query 'HKCU\Control Panel\Colors' /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v name="$1" '$1 == name { print $3 "," $4 "," $5 }'
}

# use_locale <name>: the locale for what starts next, generated into the scratch folder when
# the system does not have it.
use_locale() {
  local name="$1"
  if ! locale -a 2>/dev/null | grep -qx "${name%%.*}.utf8"; then
    mkdir -p "$SCRATCH/locale"
    [[ -d "$SCRATCH/locale/$name" ]] ||
      localedef -i "${name%%.*}" -f UTF-8 "$SCRATCH/locale/$name" 2>"$SCRATCH/localedef.log" ||
      { fail "localedef of $name: $(tail -n3 "$SCRATCH/localedef.log")"; return 1; }
    export LOCPATH="$SCRATCH/locale"
  fi
  # (The shell itself keeps its locale; what it starts from here on runs under this one.)
  { export LANG="$name" LC_ALL="$name"; } 2>/dev/null
  [[ -z "$(locale 2>&1 >/dev/null)" ]] || { fail "the locale $name cannot be set"; return 1; }
}

# box <label suffix> <GBK hex> <caret byte> [selection]: the name box as the glyphs draw it.
box() {
  local suffix="$1"
  shift
  expect_screen name-box 10 "$label-name-box$suffix" $FACE_X $FACE_Y "$@" || true
}

# name_box_run <locale> <ANSI code page> <label>: a fresh prefix made under the locale, the road
# into the dialog, 张三 typed, the box compared with the glyphs with the caret in both phases,
# caret keys, typing, selection and a press in the box, Enter, Alt+F4 on the records screen, and
# the files checked. A mismatch is counted and the run goes on, so both locales are checked.
name_box_run() {
  local locale="$1" code_page="$2" label="$3"
  echo "== $label: $locale"
  use_locale "$locale" || return
  if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  make_prefix
  expect_code_page "$code_page" "$label"
  into_dialog "$label"
  xdotool type --delay 60 '张三'
  box "" $NAME_HEX on
  box -caret-off $NAME_HEX off  # the caret blinks
  # Left, "a" between the two, Shift+End selects 三 in the system's highlight colours, two
  # Backspaces and 三 again; the caret is placed by the glyphs' widths.
  local highlight highlight_text
  highlight="$(system_colour Hilight)"
  highlight_text="$(system_colour HilightText)"
  [[ -n "$highlight" && -n "$highlight_text" ]] || fail "$label: no highlight colours in the prefix"
  xdotool key Left
  box -left $NAME_HEX on 2
  xdotool type 'a'
  box -insert d5c561c8fd on 3
  xdotool key shift+End
  box -selection d5c561c8fd on 5 3 5 "$highlight" "$highlight_text"
  xdotool key BackSpace BackSpace
  xdotool type --delay 60 '三'
  box -retyped $NAME_HEX on
  # A press 21 pixels into the field, on the left half of 三 (16 to 31), puts the caret between
  # the two characters, where the glyphs are, not where the system's font would have them.
  xdotool mousemove $((FACE_X + 84 + 1 + 21)) $((FACE_Y + 72 + 12)) click 1
  box -click $NAME_HEX on 2
  xdotool key Return
  expect_screen records-board 10 "$label-records" && RECORDS_SHOT="$LAST_SHOT"
  xdotool key alt+F4
  check_files '\xd5\xc5\xc8\xfd' "$label: 张三"
}

name_box_run en_US.UTF-8 1252 western
name_box_run zh_CN.UTF-8 936 chinese

report_and_exit "Wine name box checks"
