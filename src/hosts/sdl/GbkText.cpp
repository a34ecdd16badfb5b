#include "hosts/sdl/GbkText.h"

#include <iconv.h>

#include <cstdint>

#include "base/Text.h"

namespace tolvaro::sdl {
namespace {

// Length of the UTF-8 sequence led by `lead`; 0 for a byte that cannot lead one.
std::size_t utf8Length(std::uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

class Converter {
 public:
  Converter() : handle_(iconv_open("GBK", "UTF-8")) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // One UTF-8 character to GBK; empty when GBK has no such character.
  std::string convert(std::string_view utf8Char) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char in[4];
    char out[8];
    utf8Char.copy(in, sizeof in);
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = utf8Char.size();
    std::size_t outLeft = sizeof out;
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
      return {};
    }
    return std::string(out, sizeof out - outLeft);
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
  Converter converter;
  std::string gbk;
  std::size_t at = 0;
  while (at < utf8.size()) {
    const auto lead = static_cast<std::uint8_t>(utf8[at]);
    std::size_t length = utf8Length(lead);
    if (length == 0 || at + length > utf8.size()) {
      ++at;  // a stray byte: skip it
      continue;
    }
    const std::string_view one = utf8.substr(at, length);
    at += length;
    if (length == 1) {
      if (lead >= 0x20 && lead != 0x7F) gbk += static_cast<char>(lead);
      continue;
    }
    if (!converter.ok()) continue;
    const std::string converted = converter.convert(one);
    // Only whole double-byte characters belong in a name; GBK gives nothing longer.
    if (converted.size() == 2 && isGbkPair(static_cast<std::uint8_t>(converted[0]),
                                           static_cast<std::uint8_t>(converted[1]))) {
      gbk += converted;
    }
  }
  return gbk;
}

}  // namespace tolvaro::sdl
