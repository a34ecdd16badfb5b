#include "state/RecordEntry.h"

#include <cstring>

#include "base/Text.h"

namespace tolvaro {

std::string_view nameOf(const RecordEntry& entry) {
  return {entry.name, ::strnlen(entry.name, kNameBytes)};
}

void setName(RecordEntry& entry, std::string_view gbk) {
  const std::string_view kept = gbkPrefix(gbk.substr(0, gbk.find('\0')), kLongestName);
  std::memset(entry.name, 0, kNameBytes);
  std::memcpy(entry.name, kept.data(), kept.size());
}

}  // namespace tolvaro
