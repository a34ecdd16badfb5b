#include "e2e_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "base/Bmp.h"

extern char** environ;

namespace tolvaro::e2e {
namespace {

std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The parent's environment with the given NAME=value entries put over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const std::string item = *entry;
    const std::string name = item.substr(0, item.find('='));
    bool replaced = false;
    for (const std::string& e : extra) replaced = replaced || e.substr(0, e.find('=')) == name;
    if (!replaced) merged.push_back(item);
  }
  merged.insert(merged.end(), extra.begin(), extra.end());
  return merged;
}

pid_t spawn(const std::vector<std::string>& argv, const fs::path& workDir,
            const std::vector<std::string>& extra, const fs::path& output, int keepFd) {
  std::vector<std::string> environment = mergedEnvironment(extra);
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
  const int out = output.empty() ? open("/dev/null", O_WRONLY)
                                 : open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  for (int fd = 3; fd < 256; ++fd) {
    if (fd != keepFd) close(fd);
  }
  execvpe(args[0], args.data(), envp.data());
  _exit(127);
}

int decodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

std::optional<fs::path> findTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string all = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= all.size()) {
    const std::size_t end = all.find(':', start);
    const fs::path candidate =
        fs::path(all.substr(start, end == std::string::npos ? std::string::npos : end - start)) /
        name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return std::nullopt;
}

Process::Process(const std::vector<std::string>& argv, const fs::path& workDir,
                 const std::vector<std::string>& extraEnvironment, const fs::path& output)
    : pid_(spawn(argv, workDir, extraEnvironment, output, -1)) {}

Process::~Process() {
  if (running()) {
    kill(pid_, SIGKILL);
    waitExit(5s);
  }
}

bool Process::running() {
  if (pid_ <= 0 || status_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = decodeStatus(status);
    return false;
  }
  return true;
}

void Process::signal(int number) {
  if (running()) kill(pid_, number);
}

std::optional<int> Process::waitExit(std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (running() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(20ms);
  }
  return status_;
}

int runTool(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  const pid_t pid = spawn(argv, {}, environment, {}, -1);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return decodeStatus(status);
}

XServer::XServer() {
  int fds[2];
  if (pipe(fds) != 0) return;
  // Xvfb picks a free display and tells its number through the pipe.
  const pid_t pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                           "1024x768x24", "-nolisten", "tcp", "-noreset"},
                          {}, {}, {}, fds[1]);
  close(fds[1]);
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return;
  }
  display_ = std::atoi(number.c_str());
  serverPid_ = pid;
}

XServer::~XServer() {
  if (serverPid_ > 0) {
    kill(serverPid_, SIGTERM);
    waitpid(serverPid_, nullptr, 0);
  }
}

bool XServer::xdotool(const std::vector<std::string>& args) const {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return runTool(argv, {environment()}) == 0;
}

bool XServer::moveTo(int x, int y) const {
  return xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}
bool XServer::click(int button) const {
  return xdotool({"click", std::to_string(button)});
}
bool XServer::key(const std::string& name) const {
  return xdotool({"key", name});
}

Picture XServer::screenshot(const fs::path& saveAs) const {
  static int counter = 0;
  const fs::path file = fs::temp_directory_path() / ("tolvaro-shot-" + std::to_string(getpid()) +
                                                     "-" + std::to_string(++counter) + ".bmp");
  if (runTool({"import", "-window", "root", "BMP3:" + file.string()}, {environment()}) != 0) {
    return {};
  }
  Picture shot = decodeBitmap(readBytes(file));
  if (!saveAs.empty()) {
    fs::create_directories(saveAs.parent_path());
    runTool({"import", "-window", "root", saveAs.string()}, {environment()});
  }
  std::error_code error;
  fs::remove(file, error);
  return shot;
}

fs::path freshWorkDir(const std::string& name) {
  const fs::path dir = fs::path(TOLVARO_E2E_OUTPUT_DIR) / "work" / name;
  std::error_code error;
  fs::remove_all(dir, error);
  fs::create_directories(dir);
  for (const char* item : {"03_16", "charImg", "mouse6.ani"}) {
    const fs::path from = fs::path(TOLVARO_RUN_DIR) / item;
    if (fs::exists(from, error)) fs::copy(from, dir / item, fs::copy_options::recursive, error);
  }
  return dir;
}

Picture generatedBitmap(int id) {
  return generatedFile("bitmap/" + std::to_string(id) + ".bmp");
}

Picture generatedFile(const std::string& relative) {
  return decodeBitmap(readBytes(fs::path(TOLVARO_GENERATED_DIR) / relative));
}

int mismatches(const Picture& shot, int x, int y, const Picture& picture, int sx, int sy, int w,
               int h) {
  if (shot.empty() || picture.empty()) return w * h;
  int wrong = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      if (x + i >= shot.width || y + j >= shot.height || sx + i >= picture.width ||
          sy + j >= picture.height ||
          (shot.at(x + i, y + j) & 0xFFFFFF) != (picture.at(sx + i, sy + j) & 0xFFFFFF)) {
        ++wrong;
      }
    }
  }
  return wrong;
}

int keyedMismatches(const Picture& shot, int x, int y, const Picture& picture, std::uint32_t key,
                    const Picture* under) {
  if (shot.empty() || picture.empty()) return 1;
  int wrong = 0;
  for (int j = 0; j < picture.height; ++j) {
    for (int i = 0; i < picture.width; ++i) {
      const std::uint32_t own = picture.at(i, j) & 0xFFFFFF;
      const std::uint32_t seen = shot.at(x + i, y + j) & 0xFFFFFF;
      if (own != key) {
        wrong += seen != own;
      } else if (under) {
        wrong += seen != (under->at(x + i, y + j) & 0xFFFFFF);
      }
    }
  }
  return wrong;
}

int differingPixels(const Picture& a, const Picture& b, int x, int y, int w, int h) {
  return mismatches(a, x, y, b, x, y, w, h);
}

std::string readText(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = readBytes(path);
  return {bytes.begin(), bytes.end()};
}

void writeText(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace tolvaro::e2e
