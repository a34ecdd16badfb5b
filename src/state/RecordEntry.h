// One row of the record table, and the table of six.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tolvaro {

constexpr int kNameBytes = 8;  // the name's text and its zero byte
constexpr int kLongestName = kNameBytes - 1;

struct RecordEntry {
  char name[kNameBytes] = {};  // GBK text, zero-terminated
  std::int32_t useTime = 0;    // seconds of the game
  std::int32_t score = 0;
};

constexpr int kRecordRows = 6;
// Rows 1..6 are table[0..5]; row 1 is the best.
using RecordTable = std::array<RecordEntry, kRecordRows>;

// The bytes of a name before its zero byte.
std::string_view nameOf(const RecordEntry& entry);
// Stores the text up to its first zero byte, at most 7 bytes of it cut on a whole GBK
// character, then the zero byte.
void setName(RecordEntry& entry, std::string_view gbk);

}  // namespace tolvaro
