#include "hosts/sdl/KeyMap.h"

#include "platform/Platform.h"

namespace tolvaro::sdl {

std::optional<std::uint32_t> virtualKeyOf(SDL_Keycode keycode, SDL_Scancode scancode) {
  if (keycode == SDLK_RETURN || keycode == SDLK_KP_ENTER || keycode == SDLK_RETURN2) {
    return kKeyEnter;
  }
  if (keycode == SDLK_ESCAPE) return kKeyEscape;
  if (keycode >= SDLK_a && keycode <= SDLK_z) {
    return kKeyA + static_cast<std::uint32_t>(keycode - SDLK_a);
  }
  // A character key of a non-Latin layout (Cyrillic, Greek...) reports its own character.
  const bool characterKey = (keycode & SDLK_SCANCODE_MASK) == 0 && keycode >= 0x80;
  if (characterKey && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return kKeyA + static_cast<std::uint32_t>(scancode - SDL_SCANCODE_A);
  }
  return std::nullopt;
}

}  // namespace tolvaro::sdl
