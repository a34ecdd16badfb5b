// The program's own resources travel inside the executable as one pack: the generated bitmaps,
// sounds, icon and glyph set, each addressed by resource type and number.
//
// Layout (little-endian): "TLVRPK1\0", u32 entry count, then per entry u32 type, u32 id,
// u32 offset (from the start of the pack), u32 size; the data follow, each entry 4-aligned.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "platform/Platform.h"

namespace tolvaro::sdl {

struct PackEntry {
  ResourceType type;
  int id;
  std::vector<std::uint8_t> bytes;
};

// The generated tree has one glyph set and no number for it; the pack gives it this one.
constexpr int kPackGlyphSet = 1;

std::vector<std::uint8_t> encodePack(const std::vector<PackEntry>& entries);

// The resources of a generated tree (bitmap/<id>.bmp, wave/<id>.wav, icon/<id>.ico,
// glyphs/gbk16.bin as glyph set kPackGlyphSet), sorted by type and id; missing folders give no
// entries.
std::vector<PackEntry> collectGeneratedResources(const std::filesystem::path& generatedDir);

// A read-only view of a pack; a malformed pack reads as empty.
class ResourcePack {
 public:
  ResourcePack() = default;
  explicit ResourcePack(std::span<const std::uint8_t> bytes);

  // The resource's bytes; empty when the pack has none.
  std::span<const std::uint8_t> find(ResourceType type, int id) const;
  std::size_t entryCount() const { return index_.size(); }

 private:
  struct Slot {
    std::uint32_t type;
    std::uint32_t id;
    std::span<const std::uint8_t> bytes;
  };
  std::vector<Slot> index_;
};

// The pack linked into this executable (empty when the build had no generated resources).
std::span<const std::uint8_t> embeddedPack();

}  // namespace tolvaro::sdl
