// Durable files on Windows: flush the file's buffers, and move with write-through.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "base/DurableFile.h"

namespace tolvaro::durable {

bool mayWrite(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool writeFile(const std::filesystem::path& path, std::string_view bytes,
               const std::filesystem::path& /*model*/) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    DWORD written = 0;
    ok = WriteFile(file, bytes.data(),
                   static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20)), &written,
                   nullptr) != 0 &&
         written > 0;
    if (ok) bytes.remove_prefix(written);
  }
  ok = ok && FlushFileBuffers(file) != 0;
  ok = CloseHandle(file) != 0 && ok;
  if (!ok) DeleteFileW(path.c_str());
  return ok;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  // One step that returns only once the move is on the disk.
  return MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace tolvaro::durable
