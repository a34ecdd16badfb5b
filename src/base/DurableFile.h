// What replacing a file safely needs of the system; each system's part is a file of its own
// (FilesPosix.cpp, FilesWindows.cpp).
#pragma once

#include <filesystem>
#include <string_view>

namespace tolvaro::durable {

// Writes the bytes to a new or truncated file and returns once they are on the disk. A file
// that could not be written whole is removed.
bool writeFile(const std::filesystem::path& path, std::string_view bytes);
// Moves `from` over `to` in one step and returns once the move itself is on the disk.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tolvaro::durable
