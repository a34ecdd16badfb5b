#!/usr/bin/env bash
# Puts known faults into the sources one at a time and checks that the tests catch each: the
# fault is applied, the test programs it touches are rebuilt, their tests run, and at least one
# must fail. The file is put back afterwards, also on Ctrl-C.
# Usage: scripts/mutants.sh BUILD_DIR [NAME_FILTER]   (the filter is a grep -E pattern)
# The win32 faults take the Windows build (scripts/mutants.sh build-windows '^win32-'), the web
# faults build the page themselves (scripts/mutants.sh build-web '^web-').
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: mutants.sh BUILD_DIR [NAME_FILTER]}" && pwd)
filter=${2:-.}
jobs=${MUTANT_JOBS:-2}

# One fault a line, fields split by " :: ": name, group, file, exact text, replacement.
# The group says which programs to rebuild and which tests to run.
read -r -d '' faults <<'EOF'
fall-level-1 :: core :: src/game/LetterBugs.cpp :: count > 0 ? g_fallSpeed[g_bugLevel] : 0; :: count > 0 ? g_fallSpeed[g_bugLevel] - (g_bugLevel == 1) : 0;
fall-level-2 :: core :: src/game/LetterBugs.cpp :: count > 0 ? g_fallSpeed[g_bugLevel] : 0; :: count > 0 ? g_fallSpeed[g_bugLevel] - (g_bugLevel == 2) : 0;
fall-level-3 :: core :: src/game/LetterBugs.cpp :: count > 0 ? g_fallSpeed[g_bugLevel] : 0; :: count > 0 ? g_fallSpeed[g_bugLevel] - (g_bugLevel == 3) : 0;
fall-level-4 :: core :: src/game/LetterBugs.cpp :: count > 0 ? g_fallSpeed[g_bugLevel] : 0; :: count > 0 ? g_fallSpeed[g_bugLevel] - (g_bugLevel == 4) : 0;
fall-level-5 :: core :: src/game/LetterBugs.cpp :: count > 0 ? g_fallSpeed[g_bugLevel] : 0; :: count > 0 ? g_fallSpeed[g_bugLevel] - (g_bugLevel == 5) : 0;
catch-adds-two :: core :: src/game/LetterBugs.cpp :: ++g_score; :: g_score += 2;
catch-not-strict :: core :: src/game/LetterBugs.cpp :: shot.fired == 1 && shot.y < bug.y + kTileBlock :: shot.fired == 1 && shot.y <= bug.y + kTileBlock
target-twice :: core :: src/game/LetterBugs.cpp :: bug.letter == letter && bug.targeted == 0 :: bug.letter == letter
miss-costs-nothing :: core :: src/game/LetterBugs.cpp :: if (!missIsSpared(g_level, g_score)) --g_score; :: if (!missIsSpared(g_level, g_score)) g_score -= 0;
score-floor-lost :: core :: src/game/LetterBugs.cpp :: return score == kScoreThresholds[level - 1] || :: return score == kScoreThresholds[level] ||
win-at-750 :: core :: src/game/GameFlow.cpp :: if (g_introShown[kWinningThreshold] == 1) { :: if (g_introShown[kWinningThreshold - 1] == 1) {
menu-zone-left :: core :: src/screens/MainMenu.cpp :: return {681, :: return {682,
menu-zone-sense :: core :: src/screens/MainMenu.cpp :: kMenuItemHeight - 1, Edges::Inclusive :: kMenuItemHeight - 1, Edges::Exclusive
lobby-band-left :: core :: src/screens/Lobby.cpp :: return {724, :: return {723,
lobby-band-sense :: core :: src/screens/Lobby.cpp :: Edges::Exclusive}; :: Edges::Inclusive};
exit-yes-left :: core :: src/screens/ExitConfirm.cpp :: kYesZone = {402, :: kYesZone = {403,
exit-row-bottom :: core :: src/screens/ExitConfirm.cpp :: kNoZone = {483, 391, 558, 415, :: kNoZone = {483, 391, 558, 414,
rect-inclusive-edge :: core :: src/base/Rect.h :: left <= x && x <= right : :: left <= x && x < right :
rect-exclusive-edge :: core :: src/base/Rect.h :: top < y && y < bottom; :: top <= y && y < bottom;
load-row-zone :: core :: src/screens/LoadGame.cpp :: openBlock(g_slotRowX, :: openBlock(g_slotRowX + 1,
records-clear-button :: core :: src/screens/RecordsScreen.cpp :: } else if (kClearZone.contains(g_mouseX, g_mouseY)) { :: } else if (false) {
name-confirm-zone :: core :: src/screens/NameEntry.h :: kDialogConfirmZone = {64, :: kDialogConfirmZone = {65,
menu-slide-step :: core :: src/screens/MainMenu.cpp :: constexpr int kSlideStep = 30; :: constexpr int kSlideStep = 29;
lobby-slide-step :: core :: src/screens/Lobby.cpp :: constexpr int kSlideStep = 30; :: constexpr int kSlideStep = 31;
exit-box-step :: core :: src/screens/ExitConfirm.cpp :: constexpr int kExitBoxStep = 20; :: constexpr int kExitBoxStep = 19;
rank-ties-by-score :: core :: src/records/RecordTable.cpp :: while (k >= 1 && score > row(k).score) --k; :: while (k >= 1 && score >= row(k).score) --k;
rank-ties-by-time :: core :: src/records/RecordTable.cpp :: seconds < row(k).useTime :: seconds <= row(k).useTime
record-write-lf :: core :: src/records/RecordFormat.cpp :: text += "\r\n"; :: text += "\n";
record-read-hex :: core :: src/records/RecordFormat.cpp :: name += static_cast<char>(high * 16 + low); :: name += static_cast<char>(low * 16 + high);
record-read-sign :: core :: src/records/RecordFormat.cpp :: negative = token[i++] == '-'; :: negative = token[i++] == '+';
seconds-any-timer :: core :: src/app/Program.cpp :: if (event.wParam == kGameTimer) ++g_elapsedSeconds; :: ++g_elapsedSeconds;
seconds-kept :: core :: src/game/GameFlow.cpp :: g_elapsedSeconds = 0; :: g_elapsedSeconds += 0;
name-to-top-row :: core :: src/screens/NameEntry.cpp :: setName(g_records[g_newRecordSlot - 1], :: setName(g_records[0],
save-at-name-lost :: core :: src/screens/NameEntry.cpp :: saveRecordFiles(); :: (void)0;
save-at-clear-lost :: core :: src/screens/RecordsScreen.cpp :: saveRecordFiles(); :: (void)0;
save-at-game-end-lost :: core :: src/game/GameFlow.cpp :: saveRecordsAtGameEnd(entered); :: (void)entered;
game-end-ignores-best :: core :: src/records/RecordFiles.cpp :: if (g_bestScore == g_bestScoreOnDisk && !g_saveOwed) return; :: if (!g_saveOwed) return;
game-end-always-saves :: core :: src/records/RecordFiles.cpp :: if (g_bestScore == g_bestScoreOnDisk && !g_saveOwed) return; :: if (false) return;
loaded-best-unknown :: core :: src/records/RecordFiles.cpp :: readRecordTable(readRecordFileBytes(kRecordFile), g_records); :: readRecordTable(readRecordFileBytes(kRecordFile), g_records); return;
game-end-record-writes-table :: core :: src/records/RecordFiles.cpp :: if (!recordEntered) { :: if (true) {
game-end-record-skips-best :: core :: src/records/RecordFiles.cpp :: } else if (!saveBestScoreFile()) { :: } else if (false) {
failed-save-not-owed :: core :: src/records/RecordFiles.cpp :: g_saveOwed = !(bestWritten && tableWritten); :: g_saveOwed = false;
save-without-write :: core :: src/base/FilesPosix.cpp :: ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0; :: ok = ok && ::fsync(fd) == 0;
save-without-fsync :: core :: src/base/FilesPosix.cpp :: ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0; :: ok = ok && writeAll(fd, bytes);
copy-same-half-compared :: core :: src/base/Picture.cpp :: if (std::memcmp(to, from, bytes) == 0) continue; :: if (std::memcmp(to, from, bytes / 2) == 0) continue;
drawn-rows-last-lost :: core :: src/base/Picture.cpp :: s.w, last - first + 1}); :: s.w, last - first});
keyed-change-lane-lost :: core :: src/base/Picture.cpp :: changed4[0] | changed4[1] | changed4[2] | changed4[3]; :: changed4[0] | changed4[1] | changed4[2];
fill-other-colour-skipped :: core :: src/base/Picture.cpp :: if (*start == colour && std::memcmp(start, :: if (std::memcmp(start,
about-card-column-lost :: core :: src/screens/About.cpp :: std::clamp(g_aboutCurtain - card.x, 0, card.width) :: std::clamp(g_aboutCurtain - card.x + 1, 0, card.width)
text-glyph-unnoted :: core :: src/base/Text.cpp :: changed |= drawRows(target, x, y, &data_[glyphfile::fullGlyphOffset :: (void)drawRows(target, x, y, &data_[glyphfile::fullGlyphOffset
black-restore-edge :: core :: src/frame/Frame.cpp :: fillRect(g_backBuffer, l, t, r, b, colour); :: fillRect(g_backBuffer, l, t, r - 1, b, colour);
drawn-next-row-below-kept :: core :: src/frame/Frame.cpp :: restoreOutside(l, nextBottom, r, b, rest, restore); :: restoreOutside(l, nextBottom + 1, r, b, rest, restore);
drawn-next-column-beside-kept :: core :: src/frame/Frame.cpp :: restoreOutside(nextRight, shareTop, r, shareBottom, rest, restore); :: restoreOutside(nextRight + 1, shareTop, r, shareBottom, rest, restore);
drawn-next-later-ones-skip :: core :: src/frame/Frame.cpp :: restoreOutside(l, t, r, b, rest, restore); :: (void)rest;
drawn-next-place-forgotten :: core :: src/frame/Frame.cpp :: if (next.w > 0 && next.h > 0) g_drawnOverBackground.note :: if (false) g_drawnOverBackground.note
changes-span-short :: core :: src/frame/FrameChanges.cpp :: (64 - std::countl_zero(touched)) * kBlockWidth :: (63 - std::countl_zero(touched)) * kBlockWidth
changes-run-not-closed :: core :: src/frame/FrameChanges.cpp :: ends = open & ~changed; :: ends = open & ~changed & (changed - 1);
save-without-rename :: core :: src/base/FilesPosix.cpp :: if (std::rename(from.c_str(), to.c_str()) != 0) return false; :: if (::access(from.c_str(), F_OK) != 0) return false;
save-without-folder-sync :: core :: src/base/FilesPosix.cpp :: ::fsync(fd); :: (void)fd;
key-letters-shifted :: sdl :: src/hosts/sdl/KeyMap.cpp :: kKeyA + static_cast<std::uint32_t>(keycode - SDLK_a) :: kKeyA + static_cast<std::uint32_t>(keycode - SDLK_a + 1)
key-escape-as-enter :: sdl :: src/hosts/sdl/KeyMap.cpp :: if (keycode == SDLK_ESCAPE) return kKeyEscape; :: if (keycode == SDLK_ESCAPE) return kKeyEnter;
text-input-left-on :: sdl :: src/hosts/sdl/SdlHost.cpp :: SDL_StopTextInput(); :: (void)0;
keyboard-not-grabbed :: sdl :: src/hosts/sdl/SdlHost.cpp :: SDL_SetWindowKeyboardGrab(window_, SDL_TRUE); :: SDL_SetWindowKeyboardGrab(window_, SDL_FALSE);
mouse-x-offset-lost :: sdl :: src/hosts/shared/Letterbox.cpp :: static_cast<std::int64_t>(windowX - target_.x) :: static_cast<std::int64_t>(windowX)
mouse-y-offset-lost :: sdl :: src/hosts/shared/Letterbox.cpp :: static_cast<std::int64_t>(windowY - target_.y) :: static_cast<std::int64_t>(windowY)
press-on-bar-clamped :: sdl :: src/hosts/sdl/SdlHost.cpp :: onPicture = letterbox_.toPicture(in.button.x, in.button.y); :: onPicture = letterbox_.toPictureClamped(in.button.x, in.button.y);
one-copy-lock-let-go :: one-copy :: src/hosts/sdl/OneCopy.cpp :: g_workingDirectoryLock = directory; :: close(directory);
one-copy-held-never :: one-copy :: src/hosts/sdl/OneCopy.cpp :: const bool held = errno == EWOULDBLOCK; :: const bool held = false;
one-copy-no-raise :: one-copy :: src/hosts/sdl/OneCopy.cpp :: bringToFront(display, window); :: (void)window;
one-copy-no-focus :: one-copy :: src/hosts/sdl/OneCopy.cpp :: XSetInputFocus(display, window, RevertToParent, CurrentTime); :: (void)window;
one-copy-other-holder :: one-copy :: src/hosts/sdl/OneCopy.cpp :: inode == here.st_ino && :: inode != here.st_ino &&
win32-one-copy-let-go :: win32 :: src/hosts/win32/SingleInstance.cpp :: g_folderClaim = claim; :: CloseHandle(claim);
win32-one-copy-no-raise :: win32 :: src/hosts/win32/SingleInstance.cpp :: SetForegroundWindow(GetLastActivePopup(search.found)); :: (void)search;
web-one-tab-no-lock :: web :: src/hosts/web/one-tab.js :: if (lock) return hold(start); :: if (true) return hold(start);
web-hand-over-unsaved :: web :: src/hosts/web/page.js :: onPageHide(); :: closing = true; idbSync();
web-storage-not-kept :: web :: src/hosts/web/page.js :: keepStorage(); :: void 0;
win32-main-window-keeps-input-context :: win32 :: src/hosts/win32/Win32Host.cpp :: detachInputContext(window); :: (void)0;
win32-context-kept-after-dialog :: win32 :: src/hosts/win32/Win32Host.cpp :: detachInputContext(g_mainWindow); :: (void)0;
win32-processkey-not-mapped :: win32 :: src/hosts/win32/KeyboardGuard.cpp :: if (wParam != VK_PROCESSKEY) return wParam; :: return wParam;
win32-right-windows-key-passes :: win32 :: src/hosts/win32/KeyboardGuard.cpp :: if (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN) return 1; :: if (key->vkCode == VK_LWIN) return 1;
win32-hook-kept-when-inactive :: win32 :: src/hosts/win32/KeyboardGuard.cpp :: if (hook_) UnhookWindowsHookEx(hook_); :: (void)0;
win32-sticky-in-use-loses-shortcut :: win32 :: src/hosts/win32/KeyboardGuard.cpp :: if (!(keys.sticky.dwFlags & SKF_STICKYKEYSON)) { :: if (true) {
win32-guard-rereads-own-settings :: win32 :: src/hosts/win32/KeyboardGuard.cpp :: if (active == active_) return; :: if (false) return;
win32-settings-not-restored :: win32 :: src/hosts/win32/KeyboardGuard.cpp :: if (saved_) settings_.write(before_); :: (void)0;
win32-window-in-corner :: win32 :: src/hosts/win32/Win32Host.cpp :: const RECT monitor = monitorUnderPointer(); :: const RECT monitor{0, 0, width, height};
win32-picture-unscaled :: win32 :: src/hosts/win32/WindowPresenter.cpp :: const hosts::Rect place = hosts::Letterbox(pictureWidth_, pictureHeight_, width, height).picture(); :: const hosts::Rect place{0, 0, pictureWidth_, pictureHeight_};
win32-mouse-unmapped :: win32 :: src/hosts/win32/Win32Host.cpp :: deliver(makeEvent(type, wParam, MAKELPARAM(at.x, at.y))); :: deliver(makeEvent(type, wParam, lParam));
win32-bar-press-reaches-game :: win32 :: src/hosts/win32/Win32Host.cpp :: if (!letterbox_.toPicture(x, y)) return; :: if (!letterbox_.toPicture(x, y) && type == EventType::MouseMove) return;
win32-no-cover-again :: win32 :: src/hosts/win32/Win32Host.cpp :: if (GetWindowRect(g_mainWindow, &now) && EqualRect(&now, &monitor)) return; :: return;
win32-dialog-face-unscaled :: win32 :: src/hosts/win32/Win32Host.cpp :: scaledFacePicture(face, onScreen)}; :: nullptr};
win32-presenter-rect-dropped :: win32 :: src/hosts/win32/WindowPresenter.cpp :: for (const hosts::Rect& rect : drawn) { :: for (const hosts::Rect& rect : std::span(drawn).first(drawn.size() - (drawn.size() > 1))) {
win32-paint-not-redrawn :: win32 :: src/hosts/win32/Win32Host.cpp :: if (host && host->presenter_) host->presenter_->redrawWhole(); :: (void)host;
win32-resize-not-rescaled :: win32 :: src/hosts/win32/WindowPresenter.cpp :: whole = true; :: (void)0;
win32-blit-one-column-short :: win32 :: src/hosts/win32/WindowPresenter.cpp :: place.y + rect.y, static_cast<DWORD>(rect.w), :: place.y + rect.y, static_cast<DWORD>(rect.w - 1),
win32-manifest-no-per-monitor-v2 :: win32 :: src/hosts/win32/tolvaro.manifest :: PerMonitorV2, PerMonitor< :: PerMonitor<
win32-imports-newer-than-7 :: win32 :: src/hosts/win32/Display.cpp :: auto current = lookUp<HANDLE(WINAPI*)()>(user32, "GetThreadDpiAwarenessContext"); :: auto current = &GetThreadDpiAwarenessContext;
changes-rect-dropped :: core :: src/frame/FrameChanges.cpp :: return {rects_.data(), static_cast<std::size_t>(count_)}; :: return {rects_.data(), static_cast<std::size_t>(count_ - (count_ > 1))};
changes-run-short :: core :: src/frame/FrameChanges.cpp :: bottom - runTop[static_cast<std::size_t>(block)]}); :: bottom - 1 - runTop[static_cast<std::size_t>(block)]});
changes-join-short :: core :: src/frame/FrameChanges.cpp :: last.w += rect.w; :: last.w += rect.w - 1;
changes-scattered-short :: core :: src/frame/FrameChanges.cpp :: endRow[b] - firstRow[b]}); :: endRow[b] - firstRow[b] - 1});
scaled-reach-left :: core :: src/hosts/shared/Scaler.cpp :: return t.near < from - 1; :: return t.near < from;
scaled-reach-right :: core :: src/hosts/shared/Scaler.cpp :: return t.near < to; :: return t.near < to - 1;
scaled-row-cache-evicts-wrong :: core :: src/hosts/shared/Scaler.cpp :: acrossRow[0] < acrossRow[1] ? 0 : 1; :: acrossRow[0] < acrossRow[1] ? 1 : 0;
scaled-down-near-flat-copied :: core :: src/hosts/shared/Scaler.cpp :: if (weight == 0) { :: if (weight < 32) {
scaled-pair-odd-pixel-lost :: core :: src/hosts/shared/Scaler.cpp :: if (x < count) out[x] = blend(upper[x], lower[x], weight); :: (void)0;
scaled-pair-second-green-lost :: core :: src/hosts/shared/Scaler.cpp :: (rb & kRedBlue) | (g & kGreen); :: (rb & kRedBlue) | (g & kGreen & 0xFFFFFFFFull);
drawn-copy-unnoted :: core :: src/base/Picture.cpp :: std::memcpy(to, from, bytes); :: std::memcpy(to, from, bytes); continue;
drawn-keyed-short :: core :: src/base/Picture.cpp :: if (differences == 0) continue; :: if (differences == 0 || row > 0) continue;
drawn-rows-narrow :: core :: src/base/Picture.cpp :: {s.dstX, s.dstY + first, s.w, last - first + 1} :: {s.dstX, s.dstY + first, s.w - 1, last - first + 1}
drawn-fill-unnoted :: core :: src/base/Picture.cpp :: std::memset(start, 0, length * sizeof(std::uint32_t)); :: std::memset(start, 0, length * sizeof(std::uint32_t)); continue;
drawn-text-unnoted :: core :: src/base/Text.cpp :: if (changed) noteDrawn(target, :: if (false) noteDrawn(target,
drawn-log-drops-rects :: core :: src/base/DrawLog.h :: rects_[static_cast<std::size_t>(count_++)] = rect; :: if (count_ < 8) rects_[static_cast<std::size_t>(count_++)] = rect;
background-restore-short :: core :: src/frame/Frame.cpp :: std::min(right, drawn.x + drawn.w) :: std::min(right, drawn.x + drawn.w - 1)
background-restore-skipped :: core :: src/frame/Frame.cpp :: copyOpaqueFrom(g_backBuffer, source, l - x, t - y, l, t, r - l, b - t); :: (void)l;
background-moved-kept :: core :: src/frame/Frame.cpp :: return g_background == wanted && :: return g_background.source == wanted.source &&
mailbox-change-dropped :: core :: src/hosts/shared/PendingPicture.cpp :: changes_.rects.push_back(rect); :: (void)rect;
mailbox-unchanged-owed-whole-lost :: core :: src/hosts/shared/PendingPicture.cpp :: if (changed.empty() && !changes_.whole) return false; :: if (changed.empty()) return false;
mailbox-whole-past-one-more :: core :: src/hosts/shared/PendingPicture.cpp :: changes_.rects.size() == static_cast<std::size_t>(kMostChangedRects) :: changes_.rects.size() == static_cast<std::size_t>(kMostChangedRects) - 1
bmp8-row-padding :: tools :: tools/assetgen/formats/bmp_writer.cpp :: for (int pad = width; pad < stride; ++pad) w.u8(0); :: for (int pad = width + 1; pad < stride; ++pad) w.u8(0);
adpcm-step :: tools :: tools/assetgen/formats/ms_adpcm.cpp :: s.delta = std::max(16, (kAdpcmAdaptation[nibble] * s.delta) >> 8); :: s.delta = std::max(16, (kAdpcmAdaptation[nibble] * s.delta) >> 7);
wave-riff-size :: tools :: tools/assetgen/formats/wave_writer.cpp :: writeWaveHeader(w, 36 + dataBytes + (dataBytes % 2)); :: writeWaveHeader(w, 44 + dataBytes + (dataBytes % 2));
cursor-riff-size :: tools :: tools/assetgen/formats/ani_writer.cpp :: w.patchU32(riffSizeAt, static_cast<uint32_t>(w.size() - 8)); :: w.patchU32(riffSizeAt, static_cast<uint32_t>(w.size() - 4));
web-icon-size :: web :: tools/assetgen/drawing/art_web.cpp :: {"icon-192.png", 192, false}, :: {"icon-192.png", 191, false},
web-sound-frame-short :: web :: src/hosts/web/page_files.mjs :: frames: data.size / format.align, :: frames: data.size / format.align - 1,
web-old-cache-kept :: web :: src/hosts/web/sw.js :: await Promise.all(others.map((k) => caches.delete(k))); :: await Promise.all([]);
web-cache-shared-by-folders :: web :: src/hosts/web/sw.js :: const PREFIX = `tolvaro ${self.registration.scope} `; :: const PREFIX = 'tolvaro ';
web-offline-from-network :: web :: src/hosts/web/sw.js :: .then((kept) => kept || fetch(request))); :: .then(() => fetch(request)));
web-tap-not-a-pointer :: web :: src/hosts/web/page.js :: screen.addEventListener('pointerdown', onTapDown); :: screen.addEventListener('pointerdown', function () {});
web-tap-without-move :: web :: src/hosts/web/page.js :: push(EventCode.move, LEFT_FLAG, pack(at[0], at[1])); :: void 0;
web-key-sign-stays :: web :: src/hosts/web/page.js :: keyboardUsed = true; :: keyboardUsed = false;
EOF

# The programs to rebuild and the tests to run, by group. Core tests are all but the host's,
# the generator's and the soak; the desktop host's run in-process first, then end to end.
targets_of() {
  case $1 in
    core) echo tolvaro_tests ;;
    sdl) echo tolvaro_sdl_tests tolvaro ;;
    tools) echo tolvaro_asset_conformance_test tolvaro_assetgen_sound_test ;;
    one-copy) echo tolvaro ;;
    win32) echo tolvaro tolvaro_keyboard_check tolvaro_present_check ;;
    web) echo tolvaro_web ;;
  esac
}
# The web page is built apart (scripts/build-web.sh) and driven in headless Chromium.
build_group() {
  case $1 in
    web) "$root/scripts/build-web.sh" ;;
    # shellcheck disable=SC2046
    *) cmake --build "$build" -j"$jobs" --target $(targets_of "$1") ;;
  esac
}
run_tests_of() {
  local common=(--test-dir "$build" --stop-on-failure --timeout 600)
  case $1 in
    core) ctest "${common[@]}" -j"$jobs" -LE 'sdl|e2e' -E '^(Soak|tolvaro_asset)' ;;
    sdl) ctest "${common[@]}" -j"$jobs" -L sdl && ctest "${common[@]}" -L e2e ;;
    tools) ctest "${common[@]}" -j"$jobs" -R '^tolvaro_asset' ;;
    one-copy) ctest "${common[@]}" -R '^tolvaro_desktop_one_copy$' ;;
    # BUILD_DIR is then the Windows cross build
    win32) TOLVARO_STOP_AT_FAILURE=1 ctest "${common[@]}" \
             -R '^win32_(exe_imports|wine_present|wine_screens|wine_one_copy|wine_keyboard)$' ;;
    web) (cd "$root/tests/web" && node web_test.mjs "$root/build-web/web" "$root/build-web/native/generated" &&
           node app_test.mjs "$root/build-web/web" "$root/build-web/native/generated") ;;
  esac
}

log_dir="$build/mutants"
mkdir -p "$log_dir"
current_file=""
current_backup=""
touched_groups=""

restore() {
  if [ -n "$current_backup" ]; then
    cp "$current_backup" "$root/$current_file"
    rm -f "$current_backup"
    current_backup=""
  fi
}
trap 'restore; echo "interrupted: the sources are restored" >&2; exit 130' INT TERM
trap restore EXIT

# Replaces the text, which must occur exactly once, in place.
apply() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding="utf-8").read()
count = text.count(old)
if count != 1:
    sys.exit(f"{path}: the text occurs {count} times, not once: {old}")
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
}

caught=0
survived=0
survivors=()
while IFS= read -r line; do
  [ -z "$line" ] && continue
  name=${line%% :: *}; rest=${line#* :: }
  group=${rest%% :: *}; rest=${rest#* :: }
  file=${rest%% :: *}; rest=${rest#* :: }
  old=${rest%% :: *}; new=${rest#* :: }
  echo "$name" | grep -Eq -- "$filter" || continue
  # The Windows program's faults are tried only on a Windows build.
  [ "$group" = win32 ] && [ ! -f "$build/run/tolvaro.exe" ] && continue
  [ "$group" = web ] && [ ! -f "$build/web/tolvaro.html" ] && continue

  current_file=$file
  current_backup=$(mktemp)
  cp "$root/$file" "$current_backup"
  if ! apply "$root/$file" "$old" "$new"; then
    restore
    echo "mutants.sh: $name cannot be applied" >&2
    exit 2
  fi
  touched_groups="$touched_groups $group"
  log="$log_dir/$name.log"
  if ! build_group "$group" >"$log" 2>&1; then
    verdict="caught (does not build)"
  elif run_tests_of "$group" >>"$log" 2>&1; then
    verdict="SURVIVED"
  else
    verdict="caught"
  fi
  restore
  if [ "$verdict" = SURVIVED ]; then
    survived=$((survived + 1))
    survivors+=("$name")
  else
    caught=$((caught + 1))
  fi
  printf '%-26s %s\n' "$name" "$verdict"
done <<<"$faults"

# Leave the build as the restored sources make it (the generator's faults also changed the
# generated files).
for group in $(echo "$touched_groups" | tr ' ' '\n' | sort -u); do
  build_group "$group" >"$log_dir/rebuild.log" 2>&1 ||
    echo "mutants.sh: the rebuild of the restored sources failed, see $log_dir/rebuild.log" >&2
done

echo "$caught caught, $survived survived${survivors[*]:+: ${survivors[*]}}"
[ "$survived" -eq 0 ]
