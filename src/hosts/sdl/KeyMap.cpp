#include "hosts/sdl/KeyMap.h"

namespace tolvaro::sdl {

std::optional<int> virtualKeyOf(SDL_Keycode keycode, SDL_Scancode scancode) {
  if (keycode == SDLK_RETURN || keycode == SDLK_KP_ENTER || keycode == SDLK_RETURN2) {
    return kVirtualKeyEnter;
  }
  if (keycode == SDLK_ESCAPE) return kVirtualKeyEscape;
  if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + (keycode - SDLK_a);
  // A character key of a non-Latin layout (Cyrillic, Greek...) reports its own character.
  const bool characterKey = (keycode & SDLK_SCANCODE_MASK) == 0 && keycode >= 0x80;
  if (characterKey && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return 'A' + (scancode - SDL_SCANCODE_A);
  }
  return std::nullopt;
}

}  // namespace tolvaro::sdl
