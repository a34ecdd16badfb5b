// The files of the working directory, named as the program names them ("charImg\65.bmp").
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tolvaro {

// Where the working-directory files live; empty means the process's working directory.
inline std::filesystem::path g_workingDirectory;

// The backslash separates folders on every host.
std::filesystem::path workingPath(std::string_view name);
// A picture or cursor file; empty when it cannot be read or is too large to be one of ours.
std::vector<std::uint8_t> readWorkingFile(std::string_view name);

}  // namespace tolvaro
