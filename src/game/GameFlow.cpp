#include "game/GameFlow.h"

#include <cstdio>
#include <string>

#include "app/Program.h"
#include "assets/Catalogue.h"
#include "game/LetterBugs.h"
#include "records/NameEntry.h"
#include "records/RecordTable.h"
#include "screens/Lobby.h"

namespace tolvaro {
namespace {

constexpr int kPanelX = 60;
constexpr int kPanelY = 40;
constexpr int kPanelWidth = 606;
constexpr int kPanelHeight = 676;
constexpr int kCaptionX = 193;
constexpr int kCaptionY = 240;
constexpr int kDigitX = 320;
constexpr int kDigitY = 312;
constexpr int kCongratsX = 163;
constexpr int kCongratsY = 240;

constexpr int kLevelTextY = 515;
constexpr int kScoreTextY = 590;
constexpr int kIntroBestTextY = 665;
constexpr int kPlayBestTextY = 655;
constexpr int kTimeTextY = 675;

// "历史最高分: %d!" (all-time best score)
constexpr const char* kBestScoreFormat = "\xC0\xFA\xCA\xB7\xD7\xEE\xB8\xDF\xB7\xD6: %d!";
// "用时: %d 秒!" (time used)
constexpr const char* kTimeFormat = "\xD3\xC3\xCA\xB1: %d \xC3\xEB!";

std::string formatted(const char* format, std::int32_t value) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<int>(value));
  return text;
}

void drawFramePanel() {
  copyOpaque(g_backDC, g_themeFramePanels[g_theme], kPanelX, kPanelY, kPanelWidth, kPanelHeight);
}

// The boxes with level, score and best score; the caller adds what follows them.
void drawInfoBoxesWithTexts(int bestScoreY) {
  drawInfoBoxes();
  drawText(kInfoTextX, kLevelTextY, formatted("%d", g_level));
  drawText(kInfoTextX, kScoreTextY, formatted("%d", g_score));
  drawText(kInfoTextX, bestScoreY, formatted(kBestScoreFormat, g_bestScore));
}

void clearIntroFlags() {
  for (std::int32_t& flag : g_introShown) flag = 0;
}

void stopGameTimer() {
  g_platform->killTimer(kGameTimer);
  g_timerRunning = 0;
}

// The record check at the end of a game. The seconds count one game, so they start again
// from 0 once the check has taken them, and the next game starts on an empty board.
bool checkRecordAtGameEnd() {
  const bool entered = enterRecord(g_records, g_elapsedSeconds, g_score) == 1;
  g_elapsedSeconds = 0;
  freeAllBugSlots();
  return entered;
}

}  // namespace

void levelIntroFrame() {
  stopGameTimer();
  drawFramePanel();
  if (g_score != kWinningScore) {
    copyOpaque(g_backDC, g_levelCaptionPicture, kCaptionX, kCaptionY, 341, 67);
  }
  for (int i = 0; i < kThresholdCount; ++i) {
    if (g_score != kScoreThresholds[i]) continue;
    g_introShown[i] = 1;
    if (i == kWinningThreshold) {
      copyOpaque(g_backDC, g_congratsPicture, kCongratsX, kCongratsY, 400, 200);
    } else {
      copyOpaque(g_backDC, g_levelDigitPictures[i + 1], kDigitX, kDigitY, 86, 86);
    }
  }
  drawInfoBoxesWithTexts(kIntroBestTextY);
  resetBoard();
  g_platform->present(g_backDC.view());
  if (g_introJinglePlayed == 0) {
    playSound(kIntroJingle, SoundMode::OneShot);
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
  drawTextPresentAndSleep(kInfoTextX, kTimeTextY, formatted(kTimeFormat, g_elapsedSeconds));
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
  playSound(kPlayMusic, SoundMode::Loop);
}

void levelIntroEscape() {
  g_phase = PHASE_PANEL;
  playSound(kLobbyMusic, SoundMode::Loop);
}

void abandonGame() {
  playSound(kLobbyMusic, SoundMode::Loop);
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
  g_level = 1;
  g_score = 0;
  g_bestScore = 0;
  clearIntroFlags();
  g_introJinglePlayed = 0;
  g_timerRunning = 0;
}

}  // namespace tolvaro
