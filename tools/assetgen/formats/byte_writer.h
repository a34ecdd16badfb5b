// Little-endian fields and RIFF tags appended to a byte buffer: what every file encoder writes
// with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvaro::assetgen {

using Bytes = std::vector<uint8_t>;

class ByteWriter {
 public:
  explicit ByteWriter(Bytes& out) : out_(out) {}
  void u8(uint32_t v) { out_.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void tag(const char (&fourCc)[5]) {
    for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(fourCc[i]));
  }
  void bytes(const Bytes& more) { out_.insert(out_.end(), more.begin(), more.end()); }
  size_t size() const { return out_.size(); }
  void patchU32(size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[offset + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
  }

 private:
  Bytes& out_;
};

}  // namespace tolvaro::assetgen
