#include "app/Autoplay.h"

#include "app/Program.h"
#include "game/LetterBugs.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace tolvaro::autoplay {

Screen screen() {
  switch (g_gameState) {
    case STATE_LOAD_GAME:
      return Screen::LoadGame;
    case STATE_SETTINGS:
      return Screen::Settings;
    case STATE_ABOUT:
      return Screen::About;
    case STATE_EXIT_CONFIRM:
      return Screen::ExitBox;
    case STATE_QUIT:
      return Screen::Quitting;
    case STATE_LOBBY:
      return Screen::LobbyArriving;
    case STATE_LOBBY_LEAVE:
      return Screen::LobbyLeaving;
    case STATE_PLAY:
      switch (g_phase) {
        case PHASE_LEVEL_INTRO:
          return Screen::LevelIntro;
        case PHASE_PLAYING:
          return Screen::Playing;
        case PHASE_RECORDS:
          return Screen::Records;
        default:
          return Screen::Lobby;
      }
    default:
      return Screen::MainMenu;
  }
}

const char* screenName(Screen screen) {
  static const char* const kNames[] = {
      "the main menu", "the load-game list", "the settings notice", "the about slideshow",
      "the exit box", "the shutdown slide", "the lobby's slide-in", "the lobby",
      "a level announcement", "play", "the records screen", "the lobby's slide-out"};
  return kNames[static_cast<int>(screen)];
}

Scoreboard scoreboard() {
  return {g_level, g_score, g_bestScore, g_elapsedSeconds};
}

std::vector<Bug> bugsOnBoard() {
  std::vector<Bug> bugs;
  const int slots = g_bugLevel >= 1 && g_bugLevel <= kLevelCount ? g_bugsPerLevel[g_bugLevel] : 0;
  for (int i = 1; i <= slots; ++i) {
    const BugEntry& bug = g_bugs[i];
    if (bug.active != 1) continue;
    const ShotEntry& shot = g_shots[i];
    bugs.push_back({i, bug.x, bug.y, bug.letter, shot.fired == 1, shot.x, shot.y});
  }
  return bugs;
}

std::optional<std::uint32_t> keyForAFreeBug() {
  std::int32_t nextStart = kWinningScore;
  for (std::int32_t start : kScoreThresholds) {
    if (start > g_score) {
      nextStart = start;
      break;
    }
  }
  std::int32_t shots = 0;
  std::optional<Bug> lowest;
  for (const Bug& bug : bugsOnBoard()) {
    shots += bug.shotFired;
    if (!bug.shotFired && (!lowest || bug.y > lowest->y)) lowest = bug;
  }
  if (!lowest || g_score + shots >= nextStart) return std::nullopt;
  return kKeyA + static_cast<std::uint32_t>(lowest->letter);
}

bool runUntil(const std::function<bool()>& reached, int maxPasses) {
  for (int i = 0; i < maxPasses; ++i) {
    if (reached()) return true;
    if (!runPass(nullptr)) return false;
  }
  return reached();
}

bool runUntil(Screen wanted, int maxPasses) {
  return runUntil([wanted] { return screen() == wanted; }, maxPasses);
}

}  // namespace tolvaro::autoplay
