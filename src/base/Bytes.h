// Little-endian fields of the binary formats the program reads (BMP, WAVE, RIFF, icons).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvaro {

// The caller has checked that the field lies inside the bytes.
inline std::uint16_t readLe16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
inline std::uint32_t readLe32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace tolvaro
