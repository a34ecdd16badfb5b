#include "base/Files.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <system_error>

#include "base/DurableFile.h"

namespace tolvaro {

std::vector<std::uint8_t> readFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > maxBytes) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  // One read of the size the file has: start-up reads some 14 MB of pictures this way.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

std::vector<std::uint8_t> readFileStart(const std::filesystem::path& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::vector<std::uint8_t> bytes(maxBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

namespace {

// The file a path names once its links are followed; a dangling link names the file to create.
// Nothing for a loop of links.
std::optional<std::filesystem::path> followLinks(std::filesystem::path path) {
  constexpr int kMostLinks = 40;
  for (int link = 0; link < kMostLinks; ++link) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return path;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  // A link (to a shared or synced folder, say) stays a link: its target is replaced, in the
  // target's own folder.
  const std::optional<std::filesystem::path> target = followLinks(path);
  if (!target || !durable::mayWrite(*target)) return false;
  std::filesystem::path temporary = *target;
  temporary += ".tmp";
  if (!durable::writeFile(temporary, bytes, *target)) return false;
  if (durable::replaceFile(temporary, *target)) return true;
  std::error_code error;
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace tolvaro
