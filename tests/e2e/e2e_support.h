// Running the real program as a process: a fresh working directory, an X server of its own
// (Xvfb), input through xdotool, screenshots through imagemagick's import.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/Picture.h"

namespace tolvaro::e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program on the PATH, or nothing.
std::optional<fs::path> findTool(const std::string& name);

// A child process; killed (SIGKILL) if still running when destroyed.
class Process {
 public:
  Process(const std::vector<std::string>& argv, const fs::path& workDir,
          const std::vector<std::string>& extraEnvironment, const fs::path& output);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  void signal(int number);
  // The exit code (128 + signal when killed by one), or nothing when it did not end in time.
  std::optional<int> waitExit(std::chrono::milliseconds timeout);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Runs a tool to its end; its exit code.
int runTool(const std::vector<std::string>& argv, const std::vector<std::string>& environment);

// An X server of its own on a free display, 1024 x 768 x 24.
class XServer {
 public:
  XServer();
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  bool ok() const { return display_ >= 0; }
  std::string display() const { return ":" + std::to_string(display_); }
  std::string environment() const { return "DISPLAY=" + display(); }

  // xdotool with the given arguments; true when it succeeded.
  bool xdotool(const std::vector<std::string>& args) const;
  bool moveTo(int x, int y) const;
  bool click(int button = 1) const;
  bool key(const std::string& name) const;
  // The whole screen; an empty picture when it cannot be taken.
  Picture screenshot(const fs::path& saveAs = {}) const;

 private:
  pid_t serverPid_ = -1;
  int display_ = -1;
};

// A working directory for one run of the program: fresh, with the working files copied in.
fs::path freshWorkDir(const std::string& name);

// A picture of the generated tree (bitmap/<id>.bmp, or a path under the tree).
Picture generatedBitmap(int id);
Picture generatedFile(const std::string& relative);

// Pixels of `shot` in (x, y, w, h) that differ from the picture's pixels at (sx, sy).
int mismatches(const Picture& shot, int x, int y, const Picture& picture, int sx, int sy, int w,
               int h);
// As mismatches over the whole picture, leaving out the picture's key-coloured pixels, which
// must show `under` (when given) instead.
int keyedMismatches(const Picture& shot, int x, int y, const Picture& picture, std::uint32_t key,
                    const Picture* under);
int differingPixels(const Picture& a, const Picture& b, int x, int y, int w, int h);

// Polls screenshots until `ready` holds or the time is up; the last screenshot taken.
template <typename Ready>
Picture waitForScreen(const XServer& x, Ready ready, std::chrono::milliseconds timeout, bool* met) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  Picture shot;
  *met = false;
  while (std::chrono::steady_clock::now() < end) {
    shot = x.screenshot();
    if (!shot.empty() && ready(shot)) {
      *met = true;
      return shot;
    }
    std::this_thread::sleep_for(100ms);
  }
  return shot;
}

std::string readText(const fs::path& path);
void writeText(const fs::path& path, const std::string& bytes);

}  // namespace tolvaro::e2e
