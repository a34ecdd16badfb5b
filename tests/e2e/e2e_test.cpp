// The whole program as a player meets it: the real executable in a fresh working directory,
// on an X server of its own (Xvfb), driven with xdotool and looked at through screenshots
// compared with the generated pictures; and, where no display is needed, on SDL's dummy
// video driver. Screenshots go to <build>/e2e/shots.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "base/Bmp.h"
#include "base/Picture.h"

using namespace tolvaro;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

pid_t spawn(const std::vector<std::string>& argv, const fs::path& workDir,
            const std::vector<std::string>& extra, const fs::path& output, int keepFd = -1) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // The child of a single-threaded test: it may set its environment before it runs the tool.
  for (const std::string& e : extra) putenv(const_cast<char*>(e.c_str()));
  if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
  const int out = open(output.empty() ? "/dev/null" : output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  for (int fd = 3; fd < 256; ++fd) {
    if (fd != keepFd) close(fd);
  }
  execvp(args[0], args.data());
  _exit(127);
}

int decodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// Runs a tool to its end; its exit code.
int runTool(const std::vector<std::string>& argv, const std::string& environment) {
  const pid_t pid = spawn(argv, {}, {environment}, {});
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return decodeStatus(status);
}

// A child process with NAME=value entries put over this one's environment; killed (SIGKILL) if
// still running when destroyed.
class Process {
 public:
  Process(const std::vector<std::string>& argv, const fs::path& workDir,
          const std::vector<std::string>& extraEnvironment, const fs::path& output)
      : pid_(spawn(argv, workDir, extraEnvironment, output)) {}

  ~Process() {
    if (running()) {
      kill(pid_, SIGKILL);
      waitExit(5s);
    }
  }

  bool running() {
    if (pid_ <= 0 || status_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    status_ = decodeStatus(status);
    return false;
  }

  void signal(int number) {
    if (running()) kill(pid_, number);
  }

  // The exit code (128 + signal when killed by one), or nothing when it did not end in time.
  std::optional<int> waitExit(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    return status_;
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// An X server of its own on a free display, 1024 x 768 x 24; xdotool input (commands may be
// chained) and import screenshots (an empty picture when one cannot be taken).
class XServer {
 public:
  XServer() {
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

  ~XServer() {
    if (serverPid_ > 0) {
      kill(serverPid_, SIGTERM);
      waitpid(serverPid_, nullptr, 0);
    }
  }

  bool xdotool(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runTool(argv, environment()) == 0;
  }

  Picture screenshot(const fs::path& saveAs = {}) const {
    static int counter = 0;
    const fs::path file = fs::temp_directory_path() / ("tolvaro-shot-" + std::to_string(getpid()) +
                                                       "-" + std::to_string(++counter) + ".bmp");
    if (runTool({"import", "-window", "root", "BMP3:" + file.string()}, environment()) != 0) return {};
    Picture shot = decodeBitmap(readBytes(file));
    if (!saveAs.empty()) {
      fs::create_directories(saveAs.parent_path());
      runTool({"/usr/bin/convert", file.string(), saveAs.string()}, environment());
    }
    fs::remove(file);
    return shot;
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  bool ok() const { return display_ >= 0; }
  std::string environment() const { return "DISPLAY=:" + std::to_string(display_); }

 private:
  pid_t serverPid_ = -1;
  int display_ = -1;
};

fs::path freshWorkDir(const std::string& name) {
  const fs::path dir = fs::path(TOLVARO_E2E_OUTPUT_DIR) / "work" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* item : {"03_16", "charImg", "mouse6.ani"}) {
    fs::copy(fs::path(TOLVARO_RUN_DIR) / item, dir / item, fs::copy_options::recursive);
  }
  return dir;
}

Picture generatedFile(const std::string& relative) {
  return decodeBitmap(readBytes(fs::path(TOLVARO_GENERATED_DIR) / relative));
}
Picture generatedBitmap(int id) { return generatedFile("bitmap/" + std::to_string(id) + ".bmp"); }

int mismatches(const Picture& shot, int x, int y, const Picture& picture, int sx, int sy, int w,
               int h) {
  if (shot.empty() || picture.empty()) return w * h;
  int wrong = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      wrong += x + i >= shot.width || y + j >= shot.height || sx + i >= picture.width ||
               sy + j >= picture.height ||
               (shot.at(x + i, y + j) & 0xFFFFFF) != (picture.at(sx + i, sy + j) & 0xFFFFFF);
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
      const std::uint32_t own = picture.at(i, j) & 0xFFFFFF, seen = shot.at(x + i, y + j) & 0xFFFFFF;
      if (own != key) {
        wrong += seen != own;
      } else if (under) {
        wrong += seen != (under->at(x + i, y + j) & 0xFFFFFF);
      }
    }
  }
  return wrong;
}

std::string readText(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = readBytes(path);
  return {bytes.begin(), bytes.end()};
}

void writeText(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}


const fs::path kProgram = fs::path(TOLVARO_RUN_DIR) / "tolvaro";
const fs::path kShots = fs::path(TOLVARO_E2E_OUTPUT_DIR) / "shots";
constexpr std::uint32_t kTextPink = 0xF547B5;
// A fresh record table as the program writes it: six empty names, each as the escaped token.
const std::string kFreshTable = [] {
  std::string table;
  for (int row = 0; row < 6; ++row) table += "namehex: 0 0\r\n";
  return table;
}();

// True when the screen shows the top left (w x h) of bitmap <id> at (x, y).
auto showsBitmap(int id, int x, int y, int w, int h) {
  return [picture = generatedBitmap(id), x, y, w, h](const Picture& shot) {
    return mismatches(shot, x, y, picture, 0, 0, w, h) == 0;
  };
}

// The main menu at rest: the background where nothing covers it, the first and last items at
// rest.
bool menuAtRest(const Picture& shot) {
  const Picture background = generatedBitmap(143);
  return mismatches(shot, 0, 0, background, 0, 0, 560, 160) == 0 &&
         mismatches(shot, 0, 600, background, 0, 600, 1024, 168) == 0 &&
         showsBitmap(148, 680, 200, 263, 51)(shot) && showsBitmap(152, 680, 520, 263, 51)(shot);
}

bool bugStripShowsAFrame(const Picture& shot) {
  for (int frame = 1; frame <= 49; ++frame) {
    const Picture strip =
        stretched(generatedFile("03_16/chongzi" + std::to_string(frame) + ".bmp"), 204, 51);
    if (mismatches(shot, 192, 360, strip, 0, 0, 204, 51) == 0) return true;
  }
  return false;
}

class DesktopRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kProgram)) << kProgram;
    x_ = std::make_unique<XServer>();
    ASSERT_TRUE(x_->ok()) << "Xvfb did not start";
    workDir_ = freshWorkDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }

  void start(std::vector<std::string> environment = {}) {
    environment.push_back(x_->environment());
    environment.push_back("SDL_AUDIODRIVER=dummy");
    program_ = std::make_unique<Process>(
        std::vector<std::string>{kProgram.string()}, workDir_, environment,
        workDir_.parent_path() / (workDir_.filename().string() + ".log"));
  }

  // Polls screenshots until `ready` holds or the time is up; the last screenshot taken, saved
  // as <shots>/<name>.png.
  template <typename Ready>
  Picture waitFor(Ready ready, const std::string& name, std::chrono::seconds timeout = 90s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    Picture shot;
    bool met = false;
    while (!met && std::chrono::steady_clock::now() < end) {
      shot = x_->screenshot();
      met = !shot.empty() && ready(shot);
      if (!met) std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(met) << name << " did not show";
    x_->screenshot(kShots / (name + ".png"));
    return shot;
  }

  bool clickAt(int x, int y) {
    return x_->xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "1"});
  }

  // Esc, the exit box, Yes: the orderly end.
  void exitThroughTheBox() {
    ASSERT_TRUE(x_->xdotool({"key", "Escape"}));
    const Picture box = generatedBitmap(238);
    waitFor([&](const Picture& shot) { return keyedMismatches(shot, 387, 339, box, 0, nullptr) == 0; },
            "exit-box");
    ASSERT_TRUE(clickAt(440, 403));
    const std::optional<int> code = program_->waitExit(60s);
    ASSERT_TRUE(code) << "the program did not end after Yes";
    EXPECT_EQ(*code, 0);
  }

  std::unique_ptr<XServer> x_;
  fs::path workDir_;
  std::unique_ptr<Process> program_;
};

TEST_F(DesktopRun, MenuShowsAndYesWritesFreshRecordFiles) {
  start();
  Picture shot = waitFor(menuAtRest, "menu");
  EXPECT_TRUE(bugStripShowsAFrame(shot)) << "the bug strip shows none of the 49 frames";
  const Picture background = generatedBitmap(143);
  EXPECT_EQ(keyedMismatches(shot, 565, 170, generatedBitmap(154), 0xFFFFFF, &background), 0)
      << "the marker at its start place";
  // Hovering Start Game lights it (its zone is x 681..942, y 201..250).
  ASSERT_TRUE(x_->xdotool({"mousemove", "800", "225"}));
  waitFor(showsBitmap(153, 680, 200, 263, 51), "menu-hover");
  ASSERT_TRUE(x_->xdotool({"mousemove", "300", "700"}));
  exitThroughTheBox();
  EXPECT_EQ(readText(workDir_ / "mg.tol"), "0");
  EXPECT_EQ(readText(workDir_ / "lhb.lhb"), kFreshTable);
}

TEST_F(DesktopRun, SeededRecordFilesComeBackNormalised) {
  writeText(workDir_ / "mg.tol", "  1100\n");
  // LF line ends, tabs and runs of spaces; a GBK name (张三); three rows only.
  writeText(workDir_ / "lhb.lhb", "Amy\t120   900\n\xD5\xC5\xC8\xFD 200 800\nBob 5\t\t700\n");
  start();
  waitFor(menuAtRest, "menu-seeded");
  exitThroughTheBox();
  EXPECT_EQ(readText(workDir_ / "mg.tol"), "1100");
  EXPECT_EQ(readText(workDir_ / "lhb.lhb"), "Amy 120 900\r\n\xD5\xC5\xC8\xFD 200 800\r\nBob 5 700\r\n" +
                                                kFreshTable.substr(0, 3 * 14));
}

// The letters of the tiles found whole on the playfield (indices 0..25).
std::vector<int> lettersOnBoard(const Picture& shot) {
  static std::vector<Picture> tiles;
  for (int code = 65 + static_cast<int>(tiles.size()); code <= 90; ++code) {
    tiles.push_back(stretched(generatedFile("charImg/" + std::to_string(code) + ".bmp"), 20, 20));
  }
  std::vector<int> found;
  for (int letter = 0; letter < 26; ++letter) {
    // The tile's corners share the playfield's colour, so anchor the search on its centre, which
    // is the tile's own, and compare the whole tile only where the centre matches.
    const Picture& tile = tiles[letter];
    const std::uint32_t anchor = tile.at(10, 10) & 0xFFFFFF;
    bool seen = false;
    for (int y = 40; y + 20 <= 716 && !seen; ++y) {
      for (int x = 60; x + 20 <= 666 && !seen; ++x) {
        seen = (shot.at(x + 10, y + 10) & 0xFFFFFF) == anchor &&
               mismatches(shot, x, y, tile, 0, 0, 20, 20) == 0;
      }
    }
    if (seen) found.push_back(letter);
  }
  return found;
}

TEST_F(DesktopRun, AGameTakesALetterAndTheNameDialogTakesAChineseName) {
  start();
  waitFor(menuAtRest, "menu");
  ASSERT_TRUE(clickAt(800, 225));  // Start Game
  waitFor(showsBitmap(180, 99, 147, 504, 287), "lobby");
  ASSERT_TRUE(clickAt(840, 120));  // the lobby's start button
  waitFor(showsBitmap(234, 193, 240, 341, 67), "level-announcement");
  ASSERT_TRUE(x_->xdotool({"key", "Return"}));
  std::vector<int> letters;
  const Picture before =
      waitFor([&](const Picture& s) { return !(letters = lettersOnBoard(s)).empty(); }, "play");
  ASSERT_FALSE(letters.empty());
  // Each letter on the board sends a shot at its tile; the catch raises the score: the score line
  // in the second info box changes.
  for (int letter : letters) ASSERT_TRUE(x_->xdotool({"key", std::string(1, char('a' + letter))}));
  waitFor([&](const Picture& s) { return mismatches(s, 711, 565, before, 711, 565, 270, 63) > 0; },
          "play-after-letter");

  // Abandoning with a score above the empty table's enters it: the name dialog opens.
  ASSERT_TRUE(x_->xdotool({"key", "Escape"}));
  waitFor(showsBitmap(242, 352, 304, 320, 60), "dialog");
  ASSERT_TRUE(x_->xdotool({"type", "--delay", "60", "\xE5\xBC\xA0\xE4\xB8\x89"}));  // 张三
  ASSERT_TRUE(x_->xdotool({"sleep", "0.5", "key", "Return"}));
  const Picture records = waitFor(showsBitmap(243, 227, 184, 570, 50), "records");
  bool pink = false;  // row 1 shows the typed name
  for (int j = 250; j < 266; ++j) {
    for (int i = 361; i < 401; ++i) pink = pink || (records.at(i, j) & 0xFFFFFF) == kTextPink;
  }
  EXPECT_TRUE(pink) << "row 1 shows the typed name";

  // Closing the window saves the run's files; row 1 holds the name as GBK.
  program_->signal(SIGTERM);
  const std::optional<int> code = program_->waitExit(60s);
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0);
  const std::string table = readText(workDir_ / "lhb.lhb");
  EXPECT_EQ(table.rfind("\xD5\xC5\xC8\xFD ", 0), 0u) << table;
}

// The frame log: one line per presented frame, the interval since the previous present and the
// present's own cost, in microseconds. How long they are is a report (scripts/pacing.sh), not
// a test: this checks the log's shape.
TEST_F(DesktopRun, TheFrameLogHasALinePerPresentedFrame) {
  const fs::path log = workDir_ / "frames.log";
  start({"TOLVARO_FRAME_LOG=" + log.string()});
  waitFor(menuAtRest, "menu-frame-log");
  program_->signal(SIGTERM);
  ASSERT_TRUE(program_->waitExit(60s));
  std::istringstream lines(readText(log));
  std::vector<long> intervals;
  long interval = 0, cost = 0;
  while (lines >> interval >> cost) {
    intervals.push_back(interval);
    EXPECT_GE(interval, 0) << "line " << intervals.size();
    EXPECT_GE(cost, 0) << "line " << intervals.size();
  }
  // Start-up's black frame, the 48 frames of the slide-in, then the menu at rest.
  ASSERT_GE(intervals.size(), 49u);
  EXPECT_EQ(intervals.front(), 0) << "the first present has no interval";
}

// Without any display: SDL's dummy video driver; SIGTERM, which SDL turns into a close request.
TEST(NoDisplay, CloseRequestSavesTheRecordFiles) {
  const fs::path work = freshWorkDir("NoDisplayClose");
  Process program({kProgram.string()}, work, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
                  work.parent_path() / "NoDisplayClose.log");
  // The files exist (empty) once start-up has read them.
  const auto end = std::chrono::steady_clock::now() + 60s;
  while (!fs::exists(work / "lhb.lhb") && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(readText(work / "lhb.lhb"), "");
  std::this_thread::sleep_for(300ms);
  program.signal(SIGTERM);
  const std::optional<int> code = program.waitExit(60s);
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0);
  EXPECT_EQ(readText(work / "mg.tol"), "0");
  EXPECT_EQ(readText(work / "lhb.lhb"), kFreshTable);
}

// A start that cannot show the game ends at once with code 1 and says why, whether the named
// driver is missing or there is no display at all; nothing is written.
TEST(NoDisplay, NoVideoEndsAtOnceWithCodeOneSaysWhyAndTouchesNothing) {
  for (const auto& environment : {std::vector<std::string>{"SDL_VIDEODRIVER=no-such-driver", "DISPLAY="},
                                  {"SDL_VIDEODRIVER=", "DISPLAY=", "WAYLAND_DISPLAY="}}) {
    SCOPED_TRACE(environment[0]);
    const fs::path work = freshWorkDir("NoVideo");
    const fs::path log = work.parent_path() / "NoVideo.log";
    Process program({kProgram.string()}, work, environment, log);
    const std::optional<int> code = program.waitExit(90s);
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 1);
    EXPECT_NE(readText(log).find("tolvaro: cannot open a window: "), std::string::npos)
        << readText(log);
    EXPECT_FALSE(fs::exists(work / "mg.tol"));
    EXPECT_FALSE(fs::exists(work / "lhb.lhb"));
  }
}

}  // namespace
