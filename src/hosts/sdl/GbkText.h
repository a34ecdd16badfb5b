// Typed text arrives as UTF-8 from SDL and is kept as GBK, the program's text encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvaro::sdl {

// Converts character by character; characters GBK cannot carry and control characters are
// dropped, so what remains is whole GBK characters only.
std::string utf8ToGbk(std::string_view utf8);

// Bytes of the GBK character starting at `at` (1 or 2; 0 at the end).
std::size_t gbkCharLength(std::string_view gbk, std::size_t at);
// Start of the character before `at` (0 at the start).
std::size_t gbkPreviousChar(std::string_view gbk, std::size_t at);

}  // namespace tolvaro::sdl
