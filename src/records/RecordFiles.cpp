#include "records/RecordFiles.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <vector>

#include "app/Program.h"
#include "game/GameFlow.h"
#include "records/RecordTable.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#define TOLVARO_POSIX_FILES 1
#elif defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#define TOLVARO_WIN32_FILES 1
#endif

namespace tolvaro {
namespace {

namespace fs = std::filesystem;

// The first bytes of a working-directory file; a missing file is created empty.
std::vector<std::uint8_t> readRecordFileBytes(const char* name) {
  const fs::path path = workingPath(name);
  std::error_code error;
  if (!fs::exists(path, error) && !error) {
    std::ofstream create(path, std::ios::binary);
    return {};
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::vector<std::uint8_t> bytes(kRecordFileReadLimit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

#ifdef TOLVARO_POSIX_FILES
bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes the rename itself survive a power cut.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The new bytes, on the disk, in the temporary file.
bool writeTemporary(const fs::path& temporary, std::string_view bytes) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}
#elif defined(TOLVARO_WIN32_FILES)
// The new bytes, on the disk, in the temporary file.
bool writeTemporary(const fs::path& temporary, std::string_view bytes) {
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}
#else
bool writeTemporary(const fs::path& temporary, std::string_view bytes) {
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out) return true;
  }
  std::error_code error;
  fs::remove(temporary, error);
  return false;
}
void syncFolder(const fs::path&) {}
#endif

}  // namespace

bool writeFileAtomically(const fs::path& path, std::string_view bytes) {
  fs::path temporary = path;
  temporary += ".tmp";
  if (!writeTemporary(temporary, bytes)) return false;
#ifdef TOLVARO_WIN32_FILES
  // Replaces the old file in one step and returns only once the move is on the disk.
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
#else
  std::error_code error;
  fs::rename(temporary, path, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  syncFolder(path.parent_path());
  return true;
#endif
}

void loadRecordFiles() {
  readBestScore(readRecordFileBytes(kBestScoreFile), g_bestScore);
  readRecordTable(readRecordFileBytes(kRecordFile), g_records);
}

void saveRecordFiles() {
  // A file that cannot be written keeps its old bytes; the program goes on either way.
  writeFileAtomically(workingPath(kBestScoreFile), bestScoreFileText(g_bestScore));
  writeFileAtomically(workingPath(kRecordFile), recordFileText(g_records));
}

}  // namespace tolvaro
