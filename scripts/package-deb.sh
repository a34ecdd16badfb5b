#!/usr/bin/env bash
# Builds the Debian package tolvaro_<version>_amd64.deb from a build folder (default build/):
# the build installed under /usr, stripped, with its Depends found by dpkg-shlibdeps.
#
#   scripts/package-deb.sh [BUILD_DIR]    (prints the package's path)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
stage="$build/deb/tolvaro"
rm -rf "$build/deb" && mkdir -p "$stage"

DESTDIR="$stage" cmake --install "$build" --prefix /usr --strip >/dev/null
# Debian keeps documentation compressed, with a copyright file and a changelog beside it.
gzip -9n "$stage/usr/share/man/man6/tolvaro.6"
doc="$stage/usr/share/doc/tolvaro"
mkdir -p "$doc"
cat >"$doc/copyright" <<EOF
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tolvaro

Files: *
Copyright: 2026 The Tolvaro developers
License: proprietary
 All rights reserved. The pictures, sounds and glyphs are drawn by the program's own
 generator at build time.
EOF
printf 'tolvaro (%s) stable; urgency=medium\n\n  * Release %s.\n\n -- The Tolvaro developers <games@tolvaro.org>  %s\n' \
  "$version" "$version" "$(date -R -d 2026-12-07)" | gzip -9n >"$doc/changelog.gz"
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
chmod 0755 "$stage/usr/games/tolvaro" "$stage/usr/lib/games/tolvaro/tolvaro"

mkdir -p "$stage/DEBIAN" "$build/deb/debian"
# dpkg-shlibdeps reads the package name from a control file of a source tree.
printf 'Source: tolvaro\n\nPackage: tolvaro\nArchitecture: any\n' >"$build/deb/debian/control"
depends=$(cd "$build/deb" && dpkg-shlibdeps -O "tolvaro/usr/lib/games/tolvaro/tolvaro" |
  sed -n 's/^shlibs:Depends=//p')
size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
cat >"$stage/DEBIAN/control" <<EOF
Package: tolvaro
Version: $version
Architecture: $arch
Maintainer: The Tolvaro developers <games@tolvaro.org>
Installed-Size: $size
Depends: $depends
Section: games
Priority: optional
Description: typing game for children learning the Latin alphabet
 Letter bugs A to Z fall down the playfield; pressing the key of a letter
 sends a shot that catches the first bug with that letter. Five levels,
 each with fewer but faster bugs, follow one another, and a game is won
 at exactly 1100 points. The whole interface is in Chinese.
 .
 Each player's best score and table of the six best results are kept in
 the player's own folder under ~/.local/share/tolvaro.
EOF
(cd "$stage" && find usr -type f -exec md5sum {} + | sort -k2) >"$stage/DEBIAN/md5sums"
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
package="$build/tolvaro_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
echo "$package"
