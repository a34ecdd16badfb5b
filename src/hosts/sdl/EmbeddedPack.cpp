#include "hosts/sdl/ResourcePack.h"

// Start and end of the pack, placed by EmbeddedPack.S.
extern "C" const std::uint8_t tolvaro_pack_begin[];
extern "C" const std::uint8_t tolvaro_pack_end[];

namespace tolvaro::sdl {

std::span<const std::uint8_t> embeddedPack() {
  return {tolvaro_pack_begin, static_cast<std::size_t>(tolvaro_pack_end - tolvaro_pack_begin)};
}

}  // namespace tolvaro::sdl
