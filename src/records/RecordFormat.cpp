#include "records/RecordFormat.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace tolvaro {
namespace {

bool isSpace(std::uint8_t byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
         byte == '\r';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// An optional sign and digits, nothing else: the form the program writes its numbers in.
bool isIntegerToken(std::string_view token) {
  std::size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
  if (i == token.size()) return false;
  for (; i < token.size(); ++i) {
    if (!isDigit(token[i])) return false;
  }
  return true;
}

// The number at the start of an integer token; nothing when the token has no digit after its
// optional sign. Bytes after the digits are ignored, and values beyond 32 bits are clamped.
std::optional<std::int32_t> parseInteger(std::string_view token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  if (i == token.size() || !isDigit(token[i])) return std::nullopt;
  constexpr std::int64_t kLargestMagnitude =
      std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < token.size() && isDigit(token[i]); ++i) {
    magnitude = std::min(magnitude * 10 + (token[i] - '0'), kLargestMagnitude);
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min(magnitude, kLargestMagnitude - 1));
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A name token as the player's name: an escaped token is decoded; any other is taken as it
// is (and cut to a name's length when it is stored).
std::string decodeName(std::string_view token) {
  if (token.substr(0, kEscapedNamePrefix.size()) != kEscapedNamePrefix) return std::string(token);
  const std::string_view hex = token.substr(kEscapedNamePrefix.size());
  if (hex.size() % 2 != 0 || hex.size() > 2 * kLongestName) return std::string(token);
  std::string name;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = hexValue(hex[i]);
    const int low = hexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::string(token);
    name += static_cast<char>(high * 16 + low);
  }
  return name;
}

// True when every line that holds anything is a name and two numbers, or white space and two
// numbers: the lines the program writes, where a row with an empty name may stand as " 0 0".
// Only such a file has rows without a name; in any other the fields simply follow each other.
bool hasWrittenLineShape(std::span<const std::uint8_t> bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = at;
    while (end < bytes.size() && bytes[end] != '\n') ++end;
    const bool indented = bytes[at] == ' ' || bytes[at] == '\t';
    int tokens = 0;
    bool numbersAfterFirst = true;
    for (std::size_t p = at; p < end;) {
      if (isSpace(bytes[p])) {
        ++p;
        continue;
      }
      const std::size_t start = p;
      while (p < end && !isSpace(bytes[p])) ++p;
      const std::string_view token(reinterpret_cast<const char*>(bytes.data()) + start, p - start);
      const bool isName = tokens == 0 && !indented;
      if (!isName && !isIntegerToken(token)) numbersAfterFirst = false;
      ++tokens;
    }
    if (tokens != 0 && !(numbersAfterFirst && tokens == (indented ? 2 : 3))) return false;
    at = end + 1;
  }
  return true;
}

class TokenReader {
 public:
  explicit TokenReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // The next run of bytes that are not white space; nothing at the end of the bytes.
  std::optional<std::string_view> next() {
    while (pos_ < bytes_.size() && isSpace(bytes_[pos_])) ++pos_;
    if (pos_ == bytes_.size()) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && !isSpace(bytes_[pos_])) ++pos_;
    return view(start, pos_);
  }

  // True when the next row is a line that begins with white space and holds nothing but two
  // integers: a row whose empty name was written as nothing before the first space.
  bool atRowWithoutName() const {
    std::size_t p = pos_;
    bool newLine = p == 0;
    while (p < bytes_.size() && isSpace(bytes_[p])) {
      if (bytes_[p] == '\n') newLine = true;
      ++p;
    }
    if (p == bytes_.size() || p == 0 || !newLine) return false;
    if (bytes_[p - 1] != ' ' && bytes_[p - 1] != '\t') return false;
    int integers = 0;
    while (p < bytes_.size() && bytes_[p] != '\n') {
      if (isSpace(bytes_[p])) {
        ++p;
        continue;
      }
      const std::size_t start = p;
      while (p < bytes_.size() && !isSpace(bytes_[p])) ++p;
      if (!isIntegerToken(view(start, p)) || ++integers > 2) return false;
    }
    return integers == 2;
  }

 private:
  std::string_view view(std::size_t start, std::size_t end) const {
    return {reinterpret_cast<const char*>(bytes_.data()) + start, end - start};
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// Reads an integer field; false when reading has to stop (end of the bytes, or no digit,
// which sets the field to 0).
bool readInteger(TokenReader& reader, std::int32_t& field) {
  const auto token = reader.next();
  if (!token) return false;
  const auto value = parseInteger(*token);
  field = value.value_or(0);
  return value.has_value();
}

}  // namespace

void readBestScore(std::span<const std::uint8_t> bytes, std::int32_t& bestScore) {
  TokenReader reader(bytes);
  readInteger(reader, bestScore);
}

void readRecordTable(std::span<const std::uint8_t> bytes, RecordTable& table) {
  TokenReader reader(bytes);
  const bool rowsMayLackNames = hasWrittenLineShape(bytes);
  for (RecordEntry& row : table) {
    if (rowsMayLackNames && reader.atRowWithoutName()) {
      setName(row, "");
    } else {
      const auto name = reader.next();
      if (!name) return;
      setName(row, decodeName(*name));
    }
    if (!readInteger(reader, row.useTime) || !readInteger(reader, row.score)) return;
  }
}

std::string nameToken(std::string_view name) {
  const bool standsAlone = !name.empty() && name.size() <= static_cast<std::size_t>(kLongestName) &&
                           std::none_of(name.begin(), name.end(), [](char c) {
                             return isSpace(static_cast<std::uint8_t>(c));
                           });
  if (standsAlone) return std::string(name);
  static constexpr char kHexDigits[] = "0123456789abcdef";
  std::string token(kEscapedNamePrefix);
  for (char c : name) {
    const auto byte = static_cast<std::uint8_t>(c);
    token += kHexDigits[byte >> 4];
    token += kHexDigits[byte & 0xF];
  }
  return token;
}

std::string bestScoreFileText(std::int32_t bestScore) {
  return std::to_string(bestScore);
}

std::string recordFileText(const RecordTable& table) {
  std::string text;
  for (const RecordEntry& row : table) {
    text += nameToken(nameOf(row));
    text += ' ';
    text += std::to_string(row.useTime);
    text += ' ';
    text += std::to_string(row.score);
    text += "\r\n";
  }
  return text;
}

}  // namespace tolvaro
