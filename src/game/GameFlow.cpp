#include "game/GameFlow.h"

#include "assets/BitmapCatalogue.h"
#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "frame/Frame.h"
#include "game/LetterBugs.h"
#include "records/RecordFiles.h"
#include "records/RecordTable.h"
#include "screens/InfoBoxes.h"
#include "screens/Lobby.h"
#include "screens/NameEntry.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

constexpr int kCaptionX = 193;
constexpr int kCaptionY = 240;
constexpr BitmapSize kCaptionSize = bitmapSize(kLevelCaptionBitmap);
constexpr int kDigitX = 320;
constexpr int kDigitY = 312;
// The digits of levels 1 to 5 share one block.
constexpr BitmapSize kDigitSize =
    commonBitmapSize({kLevelDigitBitmaps[0], kLevelDigitBitmaps[1], kLevelDigitBitmaps[4],
                      kLevelDigitBitmaps[2], kLevelDigitBitmaps[3]});
constexpr int kCongratsX = 163;
constexpr int kCongratsY = 240;
constexpr BitmapSize kCongratsSize = bitmapSize(kCongratsBitmap);

constexpr int kIntroBestTextY = kInfoTextY[2];
constexpr int kPlayBestTextY = 655;
constexpr int kTimeTextY = 675;

// "历史最高分: %d!" (all-time best score)
constexpr const char* kBestScoreFormat = "\xC0\xFA\xCA\xB7\xD7\xEE\xB8\xDF\xB7\xD6: %d!";
// "用时: %d 秒!" (time used)
constexpr const char* kTimeFormat = "\xD3\xC3\xCA\xB1: %d \xC3\xEB!";

// The lobby's frame panel where it rests.
void drawFramePanel() {
  putBackground(g_themeFramePanels[g_theme], kLobbyPanelX, kLobbyPanelRestY, kLobbyPanelWidth,
                kLobbyPanelHeight);
}

// The boxes with level, score and best score; the caller adds what follows them.
void drawInfoBoxesWithTexts(int bestScoreY) {
  drawInfoBoxes();
  drawLevelAndScore();
  drawFormatted(kInfoTextX, bestScoreY, kBestScoreFormat, g_bestScore);
}

void clearIntroFlags() {
  for (std::int32_t& flag : g_introShown) flag = 0;
}

void stopGameTimer() {
  g_platform->killTimer(kGameTimer);
  g_timerRunning = 0;
}

// The record check at the end of a game. The seconds count one game, so they start again
// from 0 once the check has taken them, and the next game starts on an empty board. A new best
// score is saved while the game's end is on screen anyway.
bool checkRecordAtGameEnd() {
  const bool entered = enterRecord(g_records, g_elapsedSeconds, g_score) == 1;
  g_elapsedSeconds = 0;
  freeAllBugSlots();
  saveRecordsAtGameEnd(entered);
  return entered;
}

}  // namespace

void levelIntroFrame() {
  stopGameTimer();
  drawFramePanel();
  if (g_score != kWinningScore) {
    copyOpaque(g_backBuffer, g_levelCaptionPicture, kCaptionX, kCaptionY, kCaptionSize.width,
               kCaptionSize.height);
  }
  for (int i = 0; i < kThresholdCount; ++i) {
    if (g_score != kScoreThresholds[i]) continue;
    g_introShown[i] = 1;
    if (i == kWinningThreshold) {
      copyOpaque(g_backBuffer, g_congratsPicture, kCongratsX, kCongratsY, kCongratsSize.width,
                 kCongratsSize.height);
    } else {
      copyOpaque(g_backBuffer, g_levelDigitPictures[i + 1], kDigitX, kDigitY, kDigitSize.width,
                 kDigitSize.height);
    }
  }
  drawInfoBoxesWithTexts(kIntroBestTextY);
  resetBoard();
  presentBackBuffer();
  if (g_introJinglePlayed == 0) {
    playSound(kIntroJingleWave, SoundMode::OneShot);
    g_introJinglePlayed = 1;
  }
  sleepOnly();
}

void playingFrame() {
  if (g_timerRunning == 0) {
    g_timerRunning = 1;
    g_platform->setTimer(kGameTimer, 1000);
  }
  drawFramePanel();
  // Exact equality: a score that jumps over a threshold does not change the level.
  for (int i = 0; i < kThresholdCount; ++i) {
    if (g_score != kScoreThresholds[i]) continue;
    if (i != kWinningThreshold) g_level = i + 1;
    if (g_introShown[i] == 0) g_phase = PHASE_LEVEL_INTRO;
  }
  if (g_score > g_bestScore) g_bestScore = g_score;
  // The frame that finds a threshold still runs the bugs, at the level just set.
  updateBugs();
  drawInfoBoxesWithTexts(kPlayBestTextY);
  drawFormattedPresentAndSleep(kInfoTextX, kTimeTextY, kTimeFormat, g_elapsedSeconds);
}

void levelIntroEnter() {
  if (g_introShown[kWinningThreshold] == 1) {
    g_level = 1;
    clearIntroFlags();
    const bool entered = checkRecordAtGameEnd();
    g_score = 0;
    if (entered) openNameEntryDialog();
    return;
  }
  g_phase = PHASE_PLAYING;
  g_introJinglePlayed = 0;
  playSound(kPlayMusicWave, SoundMode::Loop);
}

void levelIntroEscape() {
  g_phase = PHASE_PANEL;
  playSound(kLobbyMusicWave, SoundMode::Loop);
}

void abandonGame() {
  playSound(kLobbyMusicWave, SoundMode::Loop);
  resetBoard();
  g_level = 1;
  clearIntroFlags();
  stopGameTimer();
  const bool entered = checkRecordAtGameEnd();
  if (entered) {
    openNameEntryDialog();
  } else {
    g_phase = PHASE_PANEL;
  }
  g_score = 0;
}

void resetGameFlowState() {
  clearIntroFlags();
  g_introJinglePlayed = 0;
  g_timerRunning = 0;
}

}  // namespace tolvaro
