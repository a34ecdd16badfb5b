// The keys the game knows, as Windows virtual-key codes, from SDL key events.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

namespace tolvaro::sdl {

// Enter (either key), Esc, and the letters by the letter printed on the key: the layout's
// keycode decides, so an AZERTY A is an A. Layouts without Latin letters (their keycodes are
// other characters) fall back to the key's position, as Windows does. Other keys: nullopt.
std::optional<std::uint32_t> virtualKeyOf(SDL_Keycode keycode, SDL_Scancode scancode);

}  // namespace tolvaro::sdl
