// Durable files on POSIX systems: fsync the file, and the folder after a rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/DurableFile.h"

namespace tolvaro::durable {
namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes a rename in the folder survive a power cut.
void syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool mayWrite(const std::filesystem::path& path) {
  return ::access(path.c_str(), W_OK) == 0 || errno == ENOENT;
}

bool writeFile(const std::filesystem::path& path, std::string_view bytes,
               const std::filesystem::path& model) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  struct stat old;
  if (::stat(model.c_str(), &old) == 0) {
    // The replaced file keeps its permissions, and its owner where the program may keep it.
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok && ::geteuid() == 0) ok = ::fchown(fd, old.st_uid, old.st_gid) == 0;
  }
  ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  syncFolder(to.parent_path());
  return true;
}

}  // namespace tolvaro::durable
