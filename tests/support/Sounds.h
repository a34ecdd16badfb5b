// The sound calls the tests expect, written out as the values the program must use.
#pragma once

#include "hosts/headless/HeadlessHost.h"

namespace tolvaro::testing {

constexpr SoundCall kPlayMusic{.id = 198, .mode = SoundMode::Loop};
constexpr SoundCall kClick{.id = 199, .mode = SoundMode::Blocking};
constexpr SoundCall kHover{.id = 200, .mode = SoundMode::OneShot};
constexpr SoundCall kMenuMusic{.id = 201, .mode = SoundMode::Loop};
constexpr SoundCall kLobbyMusic{.id = 203, .mode = SoundMode::Loop};
constexpr SoundCall kMiss{.id = 205, .mode = SoundMode::OneShot};
constexpr SoundCall kAboutMusic{.id = 223, .mode = SoundMode::Loop};
constexpr SoundCall kIntroJingle{.id = 237, .mode = SoundMode::OneShot};
constexpr SoundCall kStopAll{.id = 0, .mode = SoundMode::Stop};

}  // namespace tolvaro::testing
