// Reading whole files into memory, and replacing a file so that it never holds half of its
// new bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string_view>
#include <vector>

namespace tolvaro {

// The file's bytes; empty when it cannot be read or is larger than maxBytes.
std::vector<std::uint8_t> readFile(
    const std::filesystem::path& path,
    std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());

// At most the first maxBytes bytes of the file; empty when it cannot be read.
std::vector<std::uint8_t> readFileStart(const std::filesystem::path& path, std::size_t maxBytes);

// Replaces the file with the bytes through a temporary file in the same folder, so the file
// holds either its old or its new bytes whatever happens. False, with the file as it was,
// when it cannot be written. Each system's part lives in a file of its own.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tolvaro
