// Feeds arbitrary bytes to the readers of the two record files. Besides the sanitizers'
// checks it asserts the property the writer is built for: whatever table the reader makes,
// writing it and reading the result gives the same table, byte for byte in the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "records/RecordFormat.h"

namespace {

using tolvaro::RecordTable;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool sameTable(const RecordTable& a, const RecordTable& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (tolvaro::nameOf(a[i]) != tolvaro::nameOf(b[i]) || a[i].useTime != b[i].useTime ||
        a[i].score != b[i].score) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t limited =
      size < tolvaro::kRecordFileReadLimit ? size : tolvaro::kRecordFileReadLimit;
  const std::span<const std::uint8_t> bytes(data, limited);

  std::int32_t best = 0;
  tolvaro::readBestScore(bytes, best);
  std::int32_t bestAgain = 0;
  tolvaro::readBestScore(bytesOf(tolvaro::bestScoreFileText(best)), bestAgain);
  if (bestAgain != best) std::abort();

  RecordTable table{};
  tolvaro::readRecordTable(bytes, table);
  for (const auto& row : table) {
    if (std::memchr(row.name, 0, sizeof row.name) == nullptr) std::abort();
  }
  const std::string written = tolvaro::recordFileText(table);
  RecordTable again{};
  tolvaro::readRecordTable(bytesOf(written), again);
  if (!sameTable(table, again) || tolvaro::recordFileText(again) != written) std::abort();
  return 0;
}
