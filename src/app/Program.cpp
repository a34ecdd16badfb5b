#include "app/Program.h"

#include "assets/Catalogue.h"
#include "assets/Sounds.h"
#include "frame/Frame.h"
#include "frame/FrameChanges.h"
#include "game/GameFlow.h"
#include "game/LetterBugs.h"
#include "records/RecordFiles.h"
#include "screens/About.h"
#include "screens/ExitConfirm.h"
#include "screens/LoadGame.h"
#include "screens/Lobby.h"
#include "screens/MainMenu.h"
#include "screens/RecordsScreen.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

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
  resetSharedState();
  resetRecordSaves();
  g_backBuffer = Picture(kScreenWidth, kScreenHeight, kBlack);
  g_frameChanges.reset(g_backBuffer);
  forgetBackground();
  g_glyphs.clear();
  resetCatalogue();
  resetMainMenuState();
  resetExitConfirmState();
  resetLobbyState();
  resetAboutState();
  resetLetterBugsState();
  resetGameFlowState();
}

bool startUp(Platform& platform) {
  g_platform = &platform;
  resetProgramState();
  if (!platform.registerWindowClass(kCursorFile, kIconResource)) return false;
  g_random.seed(static_cast<std::uint32_t>(platform.currentTime()));
  if (!platform.createMainWindow("Tolvaro", kScreenWidth, kScreenHeight)) return false;
  loadPicturesAtWindowCreation();
  g_glyphs.load(platform.loadResource(ResourceType::Glyphs, kGlyphResource));
  loadPicturesBeforeRecords();
  loadRecordFiles();
  loadPicturesAfterRecords();
  playSound(kMenuMusicWave, SoundMode::Loop);
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
  // A start that cannot show the game is a failure, not a run that ended well.
  if (!startUp(platform)) return kExitNoWindow;
  return runMainLoop();
}

void windowProc(const Event& event) {
  switch (event.type) {
    case EventType::KeyDown:
      routeKey(event.wParam);
      break;
    case EventType::MouseMove:
      g_mouseX = positionX(event.lParam);
      g_mouseY = positionY(event.lParam);
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

const GlyphSet& programGlyphs() {
  return g_glyphs;
}

}  // namespace tolvaro
