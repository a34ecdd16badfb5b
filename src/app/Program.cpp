#include "app/Program.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "assets/Catalogue.h"
#include "game/GameFlow.h"
#include "game/LetterBugs.h"
#include "records/RecordFiles.h"
#include "records/RecordTable.h"
#include "screens/About.h"
#include "screens/ExitConfirm.h"
#include "screens/LoadGame.h"
#include "screens/Lobby.h"
#include "screens/MainMenu.h"

namespace tolvaro {
namespace {

constexpr int kMenuMusic = 201;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyA = 65;
constexpr int kKeyZ = 90;

void routeKey(std::uint32_t code) {
  if (code == kKeyEnter) {
    if (g_gameState == STATE_PLAY && g_phase == PHASE_LEVEL_INTRO) levelIntroEnter();
  } else if (code == kKeyEscape) {
    switch (g_gameState) {
      case STATE_MAIN_MENU:
        g_gameState = STATE_EXIT_CONFIRM;
        break;
      case STATE_PLAY:
        if (g_phase == PHASE_PANEL) {
          g_gameState = STATE_LOBBY_LEAVE;
        } else if (g_phase == PHASE_LEVEL_INTRO) {
          levelIntroEscape();
        } else if (g_phase == PHASE_PLAYING) {
          abandonGame();
        }
        break;
      case STATE_LOAD_GAME:
      case STATE_SETTINGS:
        g_gameState = STATE_MAIN_MENU;
        break;
      case STATE_ABOUT:
        aboutEscape();
        break;
      default:
        break;
    }
  } else if (code >= kKeyA && code <= kKeyZ) {
    // Letters follow the phase alone, whatever screen is up.
    if (g_phase == PHASE_PLAYING) fireAtLetter(static_cast<int>(code) - kKeyA);
  }
}

void routeLeftButton() {
  switch (g_gameState) {
    case STATE_MAIN_MENU:
      mainMenuClick();
      break;
    case STATE_PLAY:
      if (g_phase == PHASE_PANEL) {
        lobbyIdleClick();
      } else if (g_phase == PHASE_RECORDS) {
        recordsClick();
      }
      break;
    case STATE_LOAD_GAME:
      loadGameClick();
      break;
    case STATE_EXIT_CONFIRM:
      exitConfirmClick();
      break;
    default:
      break;
  }
}

// What the window's destruction does: the next pass ends the program with code 0.
void onDestroy() {
  g_platform->postQuit(0);
}

void runFrame() {
  switch (g_gameState) {
    case STATE_MAIN_MENU:
      return mainMenuFrame();
    case STATE_PLAY:
      switch (g_phase) {
        case PHASE_PANEL:
          return lobbyIdleFrame();
        case PHASE_LEVEL_INTRO:
          return levelIntroFrame();
        case PHASE_PLAYING:
          return playingFrame();
        case PHASE_RECORDS:
          return recordsFrame();
        default:
          return sleepOnly();
      }
    case STATE_LOAD_GAME:
      return loadGameFrame();
    case STATE_SETTINGS:
      return settingsFrame();
    case STATE_ABOUT:
      return aboutFrame();
    case STATE_QUIT:
      return quitFrame();
    case STATE_LOBBY:
      return lobbySlideInFrame();
    case STATE_LOBBY_LEAVE:
      return lobbySlideOutFrame();
    case STATE_EXIT_CONFIRM:
      return exitConfirmFrame();
    default:
      return sleepOnly();
  }
}

}  // namespace

void resetProgramState() {
  g_gameState = STATE_MAIN_MENU;
  g_phase = PHASE_PANEL;
  g_mouseX = 0;
  g_mouseY = 0;
  g_elapsedSeconds = 0;
  g_backDC = Picture(kScreenWidth, kScreenHeight, kBlack);
  g_glyphs.clear();
  resetCatalogue();
  resetMainMenuState();
  resetExitConfirmState();
  resetLobbyState();
  resetAboutState();
  resetLetterBugsState();
  resetGameFlowState();
  resetRecordTableState();
}

bool startUp(Platform& platform) {
  g_platform = &platform;
  resetProgramState();
  if (!platform.registerWindowClass(kCursorFile)) return false;
  std::srand(static_cast<unsigned>(platform.currentTime()));
  if (!platform.createMainWindow("Tolvaro", kScreenWidth, kScreenHeight)) return false;
  loadPicturesAtWindowCreation();
  g_glyphs.load(platform.loadResource(ResourceType::Glyphs, kGlyphResource));
  loadPicturesBeforeRecords();
  loadRecordFiles();
  loadPicturesAfterRecords();
  playSound(kMenuMusic, SoundMode::Loop);
  return true;
}

bool runPass(int* exitCode) {
  Event event;
  if (g_platform->nextEvent(event)) {
    if (event.type == EventType::Quit) {
      if (exitCode) *exitCode = static_cast<int>(event.wParam);
      return false;
    }
    windowProc(event);
  }
  runFrame();
  return true;
}

int runMainLoop() {
  int exitCode = 0;
  while (runPass(&exitCode)) {
  }
  return exitCode;
}

int runProgram(Platform& platform) {
  if (!startUp(platform)) return 0;
  return runMainLoop();
}

void windowProc(const Event& event) {
  switch (event.type) {
    case EventType::KeyDown:
      routeKey(event.wParam);
      break;
    case EventType::MouseMove:
      g_mouseX = static_cast<std::int32_t>(event.lParam & 0xFFFFu);
      g_mouseY = static_cast<std::int32_t>(event.lParam >> 16);
      break;
    case EventType::LeftButtonDown:
      routeLeftButton();
      break;
    case EventType::Timer:
      if (event.wParam == kGameTimer) ++g_elapsedSeconds;
      break;
    case EventType::CloseRequest:
      // Closing the window from outside keeps the run's best score and records.
      saveRecordFiles();
      stopAllSound();
      onDestroy();
      break;
    default:
      break;  // double clicks, right clicks, paints and the rest change nothing
  }
}

void presentAndSleep() {
  g_platform->present(g_backDC.view());
  g_platform->sleep(kFrameSleepMs);
}

void drawTextPresentAndSleep(int x, int y, std::string_view gbk) {
  drawText(x, y, gbk);
  presentAndSleep();
}

void sleepOnly() {
  g_platform->sleep(kFrameSleepMs);
}

void drawText(int x, int y, std::string_view gbk) {
  g_glyphs.draw(g_backDC, x, y, gbk, kTextColour);
}

void playSound(int waveId, SoundMode mode) {
  g_platform->playSound(waveId, mode);
}

void stopAllSound() {
  g_platform->playSound(0, SoundMode::Stop);
}

std::filesystem::path workingPath(std::string_view name) {
  std::filesystem::path path = g_workingDirectory;
  std::string part;
  for (char c : name) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) path /= part;
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) path /= part;
  return path;
}

std::vector<std::uint8_t> readWorkingFile(std::string_view name) {
  // No picture or cursor of the game comes near this; a larger file is not one of ours.
  constexpr std::uintmax_t kLargestFile = 64u << 20;
  const std::filesystem::path path = workingPath(name);
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestFile) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tolvaro
