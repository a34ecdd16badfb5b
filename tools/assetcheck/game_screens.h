// The lobby and the records screen as the game itself draws them: the real program on the
// headless host, walked through its screens, with the presented frames kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvaro::assetcheck {

struct GameScreen {
  std::string name;  // "theme0 lobby idle", ...
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
};

// For each theme: the slide-in halfway, the idle lobby, the slide-out halfway and the records
// screen. `workDir` is made for the program's working files and removed afterwards. Empty when
// the program could not start.
std::vector<GameScreen> composeGameScreens(const std::filesystem::path& generated,
                                           const std::filesystem::path& workDir);

}  // namespace tolvaro::assetcheck
