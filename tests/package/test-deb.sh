#!/usr/bin/env bash
# The Debian package as a family gets it: checked by lintian, desktop-file-validate and
# appstreamcli, installed with apt, played by an ordinary user under Xvfb and ended through the
# exit box, which leaves the records in that user's folder; removed, it leaves no file of its
# own behind and the user's records stay. Needs root (apt); CI runs as root.
#
#   tests/package/test-deb.sh PACKAGE.deb
set -euo pipefail
package=$(readlink -f "$1")
user=tolvaro-player
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "--- lintian"
lintian --fail-on error,warning --tag-display-limit 0 "$package"
stage=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$stage"
}
trap cleanup EXIT
dpkg-deb -x "$package" "$stage/root"
echo "--- desktop-file-validate"
desktop-file-validate "$stage"/root/usr/share/applications/*.desktop
echo "--- appstreamcli validate --no-net"
appstreamcli validate --no-net "$stage"/root/usr/share/metainfo/*.metainfo.xml
# Each screenshot the metainfo names is one the build took: a 1024 x 768 PNG, each a different
# picture.
echo "--- screenshots"
shots="$(dirname "$package")/screenshots"
mapfile -t images < <(sed -n 's|.*<image[^>]*>\(.*\)</image>.*|\1|p' \
  "$stage"/root/usr/share/metainfo/*.metainfo.xml)
[ "${#images[@]}" -ge 3 ] || fail "the metainfo names ${#images[@]} screenshots"
for url in "${images[@]}"; do
  file="$shots/$(basename "$url")"
  [ "$(head -c 24 "$file" | od -An -tx1 -j16 | tr -d ' \n')" = "0000040000000300" ] ||
    fail "$file is not a 1024 x 768 PNG"
  echo "$(basename "$url") $(md5sum <"$file" | cut -c1-32)"
done | sort -u -k2,2 | wc -l | grep -qx "${#images[@]}" || fail "two screenshots are the same picture"

echo "--- install"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "$package" >/dev/null
mapfile -t owned < <(dpkg -L tolvaro | while read -r path; do [ -f "$path" ] && echo "$path"; done)
[ "${#owned[@]}" -gt 50 ] || fail "only ${#owned[@]} files installed"
[ "$(/usr/games/tolvaro --version)" = "tolvaro $(dpkg-query -W -f='${Version}' tolvaro)" ] ||
  fail "tolvaro --version says $(/usr/games/tolvaro --version)"

echo "--- play as an ordinary user"
id "$user" >/dev/null 2>&1 || $sudo useradd --create-home --shell /bin/sh "$user"
home=$(getent passwd "$user" | cut -d: -f6)
$sudo rm -rf "$home/.local/share/tolvaro"
exec 3>"$stage/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$stage/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 200); do [ -s "$stage/display" ] && break; sleep 0.05; done
display=":$(tr -d '[:space:]' <"$stage/display")"
$sudo runuser -u "$user" -- env HOME="$home" DISPLAY="$display" SDL_AUDIODRIVER=dummy \
  /usr/games/tolvaro >"$stage/game.log" 2>&1 &
game=$!
window=""
for _ in $(seq 600); do
  window=$(DISPLAY=$display xdotool search --onlyvisible --name '^Tolvaro$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$game" 2>/dev/null || { cat "$stage/game.log"; fail "the game ended before its window showed"; }
  sleep 0.1
done
[ -n "$window" ] || fail "no game window after 60 s"
# The files exist once start-up has read them; then the menu slides in.
for _ in $(seq 600); do [ -e "$home/.local/share/tolvaro/lhb.lhb" ] && break; sleep 0.1; done
sleep 3
DISPLAY=$display xdotool mousemove 100 100 key Escape
sleep 2
DISPLAY=$display xdotool mousemove 430 400 click 1
for _ in $(seq 600); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "the game did not end through the exit box"
wait "$game" || fail "the game ended with $?"
records="$home/.local/share/tolvaro"
for name in mg.tol lhb.lhb; do
  [ -f "$records/$name" ] || fail "no $name in $records"
  [ "$(stat -c %U "$records/$name")" = "$user" ] || fail "$name is not the player's"
done
[ "$(cat "$records/mg.tol")" = "0" ] || fail "mg.tol holds '$(cat "$records/mg.tol")'"
[ "$(grep -c . "$records/lhb.lhb")" = "6" ] || fail "lhb.lhb does not hold six rows"
cp "$records/lhb.lhb" "$stage/records-before"

echo "--- remove"
$sudo apt-get -o DPkg::Lock::Timeout=900 remove -y tolvaro >/dev/null
for path in "${owned[@]}"; do [ ! -e "$path" ] || fail "$path is left after removal"; done
[ ! -e /usr/share/games/tolvaro ] || fail "/usr/share/games/tolvaro is left"
cmp "$records/lhb.lhb" "$stage/records-before" || fail "the player's records changed"
echo "package ok: $(du -k "$package" | cut -f1) KiB, ${#owned[@]} files; records kept in $records"
