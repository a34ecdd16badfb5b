// Typed text arrives as UTF-8 from SDL and is kept as GBK, the program's text encoding.
#pragma once

#include <string>
#include <string_view>

namespace tolvaro::sdl {

// Converts character by character; characters GBK cannot carry and control characters are
// dropped, so what remains is whole GBK characters only.
std::string utf8ToGbk(std::string_view utf8);

}  // namespace tolvaro::sdl
