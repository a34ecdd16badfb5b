// The game as a player sees it, and a player: which screen shows, the numbers of the info
// boxes, the bugs and shots on the board, and the key a player who aims well presses next. For
// the programs that play by themselves (the headless demo, the soak run) and the tests. It
// reads the game and never changes it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tolvaro::autoplay {

enum class Screen {
  MainMenu,
  LoadGame,
  Settings,
  About,
  ExitBox,
  Quitting,
  LobbyArriving,
  Lobby,
  LevelIntro,
  Playing,
  Records,
  LobbyLeaving,
};
Screen screen();
const char* screenName(Screen screen);

struct Scoreboard {
  std::int32_t level = 0, score = 0, bestScore = 0, seconds = 0;
};
Scoreboard scoreboard();

// A bug on the board, and the shot on its way to it if one was fired.
struct Bug {
  int slot = 0, x = 0, y = 0, letter = 0;
  bool shotFired = false;
  int shotX = 0, shotY = 0;
};
// The bugs of the level the last frame ran, in slot order.
std::vector<Bug> bugsOnBoard();

// The key for the lowest bug no shot is after yet. Nothing when there is none, or when the
// shots on their way already reach the next level's start: a score that jumps over it leaves
// the level as it is.
std::optional<std::uint32_t> keyForAFreeBug();

// Runs passes until `reached` holds, which is checked before each pass; false when the program
// quit or maxPasses went by first.
bool runUntil(const std::function<bool()>& reached, int maxPasses = 5000);
bool runUntil(Screen wanted, int maxPasses = 5000);

}  // namespace tolvaro::autoplay
