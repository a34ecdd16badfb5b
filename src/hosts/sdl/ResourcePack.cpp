#include "hosts/sdl/ResourcePack.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <string>

#include "base/Bytes.h"
#include "base/Files.h"

namespace tolvaro::sdl {
namespace {

constexpr char kMagic[8] = {'T', 'L', 'V', 'R', 'P', 'K', '1', '\0'};
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kEntryBytes = 16;

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Files named "<number><extension>" in one folder, as (number, path).
void collectNumbered(const std::filesystem::path& folder, const std::string& extension,
                     ResourceType type, std::vector<PackEntry>& out) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    if (!item.is_regular_file() || item.path().extension() != extension) continue;
    const std::string stem = item.path().stem().string();
    int id = 0;
    const auto [end, problem] = std::from_chars(stem.data(), stem.data() + stem.size(), id);
    if (problem != std::errc() || end != stem.data() + stem.size()) continue;
    out.push_back({type, id, readFile(item.path())});
  }
}

}  // namespace

std::vector<std::uint8_t> encodePack(const std::vector<PackEntry>& entries) {
  std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
  putU32(out, static_cast<std::uint32_t>(entries.size()));
  std::size_t offset = kHeaderBytes + kEntryBytes * entries.size();
  for (const PackEntry& entry : entries) {
    putU32(out, static_cast<std::uint32_t>(entry.type));
    putU32(out, static_cast<std::uint32_t>(entry.id));
    putU32(out, static_cast<std::uint32_t>(offset));
    putU32(out, static_cast<std::uint32_t>(entry.bytes.size()));
    offset += (entry.bytes.size() + 3) & ~std::size_t{3};
  }
  for (const PackEntry& entry : entries) {
    out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
    out.resize((out.size() + 3) & ~std::size_t{3}, 0);
  }
  return out;
}

std::vector<PackEntry> collectGeneratedResources(const std::filesystem::path& generatedDir) {
  std::vector<PackEntry> entries;
  collectNumbered(generatedDir / "bitmap", ".bmp", ResourceType::Bitmap, entries);
  collectNumbered(generatedDir / "wave", ".wav", ResourceType::Wave, entries);
  collectNumbered(generatedDir / "icon", ".ico", ResourceType::Icon, entries);
  const std::filesystem::path glyphs = generatedDir / "glyphs" / "gbk16.bin";
  std::error_code error;
  if (std::filesystem::is_regular_file(glyphs, error)) {
    entries.push_back({ResourceType::Glyphs, kPackGlyphSet, readFile(glyphs)});
  }
  std::sort(entries.begin(), entries.end(), [](const PackEntry& a, const PackEntry& b) {
    return std::pair(static_cast<int>(a.type), a.id) < std::pair(static_cast<int>(b.type), b.id);
  });
  return entries;
}

ResourcePack::ResourcePack(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return;
  const std::uint32_t count = readLe32(bytes, 8);
  if (count > (bytes.size() - kHeaderBytes) / kEntryBytes) return;
  std::vector<Slot> index;
  index.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderBytes + kEntryBytes * i;
    const std::uint32_t offset = readLe32(bytes, at + 8);
    const std::uint32_t size = readLe32(bytes, at + 12);
    if (offset > bytes.size() || size > bytes.size() - offset) return;
    index.push_back({readLe32(bytes, at), readLe32(bytes, at + 4), bytes.subspan(offset, size)});
  }
  index_ = std::move(index);
}

std::span<const std::uint8_t> ResourcePack::find(ResourceType type, int id) const {
  for (const Slot& slot : index_) {
    if (slot.type == static_cast<std::uint32_t>(type) &&
        slot.id == static_cast<std::uint32_t>(id)) {
      return slot.bytes;
    }
  }
  return {};
}

}  // namespace tolvaro::sdl
