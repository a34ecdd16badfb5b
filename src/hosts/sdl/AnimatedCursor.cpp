#include "hosts/sdl/AnimatedCursor.h"

#include <algorithm>
#include <cstring>

#include "base/Bytes.h"

namespace tolvaro::sdl {
namespace {

constexpr std::uint32_t kIconFlag = 1;  // frames are icon or cursor files, not raw bitmaps
constexpr std::uint32_t kMaxFrames = 1024;
constexpr std::size_t kHeaderBytes = 36;

bool tagIs(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
  return std::memcmp(b.data() + at, tag, 4) == 0;
}

struct Chunk {
  std::size_t at;  // first byte of the chunk's data
  std::size_t size;
};

// Walks the chunks of [begin, end), calling visit(tagOffset, chunk); false on a truncation.
template <typename Visit>
bool forEachChunk(std::span<const std::uint8_t> b, std::size_t begin, std::size_t end,
                  Visit visit) {
  std::size_t at = begin;
  while (at + 8 <= end) {
    const std::size_t size = readLe32(b, at + 4);
    if (size > end - at - 8) return false;
    visit(at, Chunk{at + 8, size});
    at += 8 + size + (size & 1);
  }
  return true;
}

std::vector<std::uint32_t> readWords(std::span<const std::uint8_t> b, Chunk chunk) {
  std::vector<std::uint32_t> words;
  for (std::size_t i = 0; i + 4 <= chunk.size; i += 4) words.push_back(readLe32(b, chunk.at + i));
  return words;
}

int jiffiesToMs(std::uint32_t jiffies) {
  const std::uint64_t ms = (static_cast<std::uint64_t>(jiffies) * 1000 + 30) / 60;
  return static_cast<int>(std::clamp<std::uint64_t>(ms, 1, 60'000));
}

}  // namespace

int AnimatedCursor::loopMilliseconds() const {
  int total = 0;
  for (const CursorStep& step : steps) total += step.milliseconds;
  return total;
}

int AnimatedCursor::stepAt(std::int64_t elapsedMs) const {
  const int loop = loopMilliseconds();
  if (steps.empty() || loop <= 0) return 0;
  std::int64_t into = elapsedMs % loop;
  if (into < 0) into += loop;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (into < steps[i].milliseconds) return static_cast<int>(i);
    into -= steps[i].milliseconds;
  }
  return static_cast<int>(steps.size()) - 1;
}

std::optional<AnimatedCursor> parseAnimatedCursor(std::span<const std::uint8_t> b) {
  if (b.size() < 12 || !tagIs(b, 0, "RIFF") || !tagIs(b, 8, "ACON")) return std::nullopt;
  const std::size_t end = std::min<std::size_t>(b.size(), std::size_t{8} + readLe32(b, 4));
  std::optional<Chunk> header;
  std::optional<Chunk> rate;
  std::optional<Chunk> sequence;
  std::vector<Chunk> icons;
  const bool whole = forEachChunk(b, 12, end, [&](std::size_t tag, Chunk chunk) {
    if (tagIs(b, tag, "anih")) {
      header = chunk;
    } else if (tagIs(b, tag, "rate")) {
      rate = chunk;
    } else if (tagIs(b, tag, "seq ")) {
      sequence = chunk;
    } else if (tagIs(b, tag, "LIST") && chunk.size >= 4 && tagIs(b, chunk.at, "fram")) {
      forEachChunk(b, chunk.at + 4, chunk.at + chunk.size, [&](std::size_t inner, Chunk icon) {
        if (tagIs(b, inner, "icon")) icons.push_back(icon);
      });
    }
  });
  if (!whole || !header || header->size < kHeaderBytes) return std::nullopt;
  const std::uint32_t frameCount = readLe32(b, header->at + 4);
  std::uint32_t stepCount = readLe32(b, header->at + 8);
  const std::uint32_t defaultRate = readLe32(b, header->at + 28);
  const std::uint32_t flags = readLe32(b, header->at + 32);
  if (!(flags & kIconFlag) || frameCount == 0 || frameCount > kMaxFrames ||
      icons.size() < frameCount) {
    return std::nullopt;
  }
  if (stepCount == 0) stepCount = frameCount;
  if (stepCount > kMaxFrames) return std::nullopt;

  AnimatedCursor cursor;
  for (std::uint32_t i = 0; i < frameCount; ++i) {
    std::optional<IconImage> image = decodeIconFile(b.subspan(icons[i].at, icons[i].size));
    if (!image) return std::nullopt;
    cursor.frames.push_back(std::move(*image));
  }
  const std::vector<std::uint32_t> rates =
      rate ? readWords(b, *rate) : std::vector<std::uint32_t>{};
  const std::vector<std::uint32_t> order =
      sequence ? readWords(b, *sequence) : std::vector<std::uint32_t>{};
  if ((rate && rates.size() < stepCount) || (sequence && order.size() < stepCount)) {
    return std::nullopt;
  }
  for (std::uint32_t i = 0; i < stepCount; ++i) {
    const std::uint32_t frame = sequence ? order[i] : i;
    if (frame >= frameCount) return std::nullopt;
    cursor.steps.push_back({static_cast<int>(frame), jiffiesToMs(rate ? rates[i] : defaultRate)});
  }
  return cursor;
}

}  // namespace tolvaro::sdl
