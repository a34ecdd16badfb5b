// What replacing a file safely needs of the system; each system's part is a file of its own
// (FilesPosix.cpp, FilesWindows.cpp).
#pragma once

#include <filesystem>
#include <string_view>

namespace tolvaro::durable {

// False for an existing file that this program may not open for writing (read-only to it).
bool mayWrite(const std::filesystem::path& path);
// Writes the bytes to a new or truncated file and returns once they are on the disk; the file
// takes the permissions of `model` where that exists. A file that could not be written whole
// is removed.
bool writeFile(const std::filesystem::path& path, std::string_view bytes,
               const std::filesystem::path& model);
// Moves `from` over `to` in one step and returns once the move itself is on the disk.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tolvaro::durable
