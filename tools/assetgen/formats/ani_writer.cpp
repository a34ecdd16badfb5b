#include "formats/ani_writer.h"

namespace tolvaro::assetgen {

Bytes encodeAnimatedCursor(const std::vector<CursorFrame>& frames,
                           const std::vector<uint32_t>& rates,
                           const std::vector<uint32_t>& sequence) {
  Bytes out;
  ByteWriter w(out);
  w.tag("RIFF");
  const size_t riffSizeAt = w.size();
  w.u32(0);
  w.tag("ACON");

  w.tag("anih");
  w.u32(36);
  w.u32(36);  // cbSize
  w.u32(static_cast<uint32_t>(frames.size()));
  w.u32(static_cast<uint32_t>(sequence.size()));
  w.u32(0);  // width, height, bit count, planes: unused when frames are icons
  w.u32(0);
  w.u32(0);
  w.u32(0);
  w.u32(rates.empty() ? 10 : rates.front());  // default rate in jiffies
  w.u32(0x1 | (sequence.empty() ? 0 : 0x2));  // AF_ICON, AF_SEQUENCE

  w.tag("LIST");
  const size_t listSizeAt = w.size();
  w.u32(0);
  w.tag("fram");
  for (const CursorFrame& frame : frames) {
    const Bytes cursor = encodeCursor(frame);
    w.tag("icon");
    w.u32(static_cast<uint32_t>(cursor.size()));
    w.bytes(cursor);
    if (cursor.size() % 2 != 0) w.u8(0);
  }
  w.patchU32(listSizeAt, static_cast<uint32_t>(w.size() - listSizeAt - 4));

  if (!rates.empty()) {
    w.tag("rate");
    w.u32(static_cast<uint32_t>(rates.size() * 4));
    for (uint32_t r : rates) w.u32(r);
  }
  if (!sequence.empty()) {
    w.tag("seq ");
    w.u32(static_cast<uint32_t>(sequence.size() * 4));
    for (uint32_t s : sequence) w.u32(s);
  }
  w.patchU32(riffSizeAt, static_cast<uint32_t>(w.size() - 8));
  return out;
}

}  // namespace tolvaro::assetgen
