#include "frame/WorkingFiles.h"

#include <string>

#include "base/Files.h"

namespace tolvaro {

std::filesystem::path workingPath(std::string_view name) {
  std::filesystem::path path = g_workingDirectory;
  std::string part;
  for (char c : name) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) path /= part;
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) path /= part;
  return path;
}

std::vector<std::uint8_t> readWorkingFile(std::string_view name) {
  // No picture or cursor of the game comes near this; a larger file is not one of ours.
  constexpr std::uintmax_t kLargestFile = 64u << 20;
  return readFile(workingPath(name), kLargestFile);
}

}  // namespace tolvaro
