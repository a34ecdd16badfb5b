// The text forms of the best-score file and the record file, on bytes in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "state/RecordEntry.h"

namespace tolvaro {

// The program writes a few hundred bytes at most; no more than this of a file is ever read.
constexpr std::size_t kRecordFileReadLimit = 64 * 1024;

// A name that cannot stand as a token of its own (empty, or holding white space) is written as
// this prefix and the name's bytes in lower-case hex. At 8 bytes and more such a token can
// never be a name of at most 7 bytes written as itself.
inline constexpr std::string_view kEscapedNamePrefix = "namehex:";

// The readers, on a file's bytes. Fields the bytes do not supply keep the values they had.
void readBestScore(std::span<const std::uint8_t> bytes, std::int32_t& bestScore);
void readRecordTable(std::span<const std::uint8_t> bytes, RecordTable& table);

// The exact bytes the program writes.
std::string bestScoreFileText(std::int32_t bestScore);
std::string recordFileText(const RecordTable& table);
std::string nameToken(std::string_view name);

}  // namespace tolvaro
