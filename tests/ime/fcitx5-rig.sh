# A Chinese input method for the program's checks: fcitx5 with pinyin, active and in Chinese
# mode for every new window, inside a private D-Bus session on the test's own X server. Sourced
# after tests/wine/lib.sh's start_session (needs DISPLAY and SCRATCH); nothing is written outside
# the scratch folder.
#   start_fcitx5: starts it and exports what clients need to reach it (XIM for Wine and X
#   programs, fcitx's own D-Bus protocol for SDL).
# Needs: fcitx5, fcitx5-chinese-addons, dbus-x11 (dbus-daemon).

FCITX5_PID=""
DBUS_PID=""
stop_fcitx5() {
  [[ -n "$FCITX5_PID" ]] && kill "$FCITX5_PID" 2>/dev/null && wait "$FCITX5_PID" 2>/dev/null || true
  [[ -n "$DBUS_PID" ]] && kill "$DBUS_PID" 2>/dev/null || true
  FCITX5_PID="" DBUS_PID=""
}

start_fcitx5() {
  local home="$SCRATCH/ime-home"
  mkdir -p "$home/.config/fcitx5" "$home/.local/share"
  cat >"$home/.config/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
PROFILE
  cat >"$home/.config/fcitx5/config" <<'CONFIG'
[Hotkey/TriggerKeys]
0=Control+space

[Behavior]
ActiveByDefault=True
ShareInputState=All
CONFIG
  # A bus of its own: a call to fcitx on the user's bus would start one with the real HOME.
  # On this bus too a call to fcitx before it owns its name would start a second one, so the
  # wait below asks the bus, not fcitx.
  local address
  address="$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --nopidfile)"
  DBUS_PID="$(sed -n 2p <<<"$address")"
  export DBUS_SESSION_BUS_ADDRESS="$(sed -n 1p <<<"$address")"
  export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
  export XMODIFIERS=@im=fcitx SDL_IM_MODULE=fcitx GTK_IM_MODULE=fcitx QT_IM_MODULE=fcitx
  fcitx5 --disable=wayland,waylandim,notificationitem,kimpanel >"$SCRATCH/fcitx5.log" 2>&1 &
  FCITX5_PID=$!
  trap 'stop_fcitx5; cleanup' EXIT
  # Ready once it answers on the bus and its XIM server has registered with the X server.
  local _
  for _ in $(seq 600); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null | grep -q true &&
      xprop -root XIM_SERVERS 2>/dev/null | grep -q ATOM; then
      echo "fcitx5 $(fcitx5 --version) ready (pinyin, Chinese mode by default)"
      return 0
    fi
    kill -0 "$FCITX5_PID" 2>/dev/null || break
    sleep 0.1
  done
  cat "$SCRATCH/fcitx5.log"
  fail "fcitx5 did not start"
  report_and_exit "input-method checks"
}
