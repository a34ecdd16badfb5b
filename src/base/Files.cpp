#include "base/Files.h"

#include <algorithm>
#include <fstream>
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

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  if (!durable::writeFile(temporary, bytes)) return false;
  if (durable::replaceFile(temporary, path)) return true;
  std::error_code error;
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace tolvaro
