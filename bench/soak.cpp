// A long run of the whole program through the headless host, played by a bot: it types letters
// that are on the board and sometimes wrong ones, wins and abandons games, enters names (Latin,
// Chinese, too long, empty), visits every screen, switches themes, and ends through the exit
// box. It counts the heap allocations the program makes after start-up, reads its resident
// memory at the start and the end, and checks both record files against what it played.
//
//   tolvaro_soak PASSES [WORKDIR] [--strict]
//
// With --strict the exit code is 1 unless the program made no allocation after start-up, its
// resident memory grew by at most 256 KiB and the files hold what they must. The passes that
// save the record files (a record's name, a game's new best score, the exit) build the files'
// paths and texts on the heap and free them at once; they are counted apart.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "app/Autoplay.h"
#include "app/Program.h"
#include "base/Files.h"
#include "frame/WorkingFiles.h"
#include "game/Levels.h"
#include "hosts/headless/HeadlessHost.h"
#include "records/RecordFiles.h"
#include "records/RecordFormat.h"
#include "screens/ExitConfirm.h"
#include "screens/LoadGame.h"
#include "screens/Lobby.h"
#include "screens/MainMenu.h"
#include "state/GameState.h"
#include "state/Session.h"

namespace fs = std::filesystem;

// ---- Counting the program's own allocations ----
//
// Only allocations made while the program's code runs count: the bot and the host's record
// keeping (its lists of sounds, timers and dialogs) are the test's, not the game's.
namespace {
bool g_inProgram = false;
long g_allocations = 0;

// Out of line, so a debugger can stop on each counted allocation.
[[gnu::noinline]] void programAllocated() {
  ++g_allocations;
}
inline void countAllocation() {
  if (g_inProgram) programAllocated();
}
}  // namespace

#if defined(__SANITIZE_ADDRESS__)
#define TOLVARO_COUNT_MALLOC 0  // the sanitizer owns malloc; operator new is still counted
#else
#define TOLVARO_COUNT_MALLOC 1
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t size) {
  countAllocation();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  countAllocation();
  return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) {
  countAllocation();
  return __libc_realloc(block, size);
}
}
#endif

void* operator new(std::size_t size) {
  countAllocation();
#if TOLVARO_COUNT_MALLOC
  void* block = __libc_malloc(size ? size : 1);
#else
  void* block = std::malloc(size ? size : 1);
#endif
  if (!block) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
// GCC cannot see that this operator new allocates with malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}
#pragma GCC diagnostic pop

namespace tolvaro {
namespace {

using autoplay::Screen;

// Marks a stretch of code as the program's (true) or the test's (false).
class ProgramScope {
 public:
  explicit ProgramScope(bool program) : saved_(g_inProgram) { g_inProgram = program; }
  ~ProgramScope() { g_inProgram = saved_; }
  ProgramScope(const ProgramScope&) = delete;
  ProgramScope& operator=(const ProgramScope&) = delete;

 private:
  bool saved_;
};

struct Name {
  std::string typed;   // GBK, as the player types it
  std::string stored;  // what the table keeps: 7 bytes at most, on a whole character
  std::uint32_t button;
};

const Name kNames[] = {
    {"ann", "ann", kDialogOk},
    {"\xD5\xC5\xC8\xFD", "\xD5\xC5\xC8\xFD", kDialogOk},  // 张三
    {"", "", kDialogOk},                                  // nothing typed
    {"abcdefghij", "abcdefg", kDialogOk},                 // cut at 7 bytes
    {"\xD0\xA1\xC3\xF7\xCD\xAC\xD1\xA7", "\xD0\xA1\xC3\xF7\xCD\xAC", kDialogCancel},  // 小明同学
};

// The headless host, with its own bookkeeping kept out of the count and bounded, and a name
// typed into every dialog that opens.
class SoakHost : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;

  bool nextEvent(Event& event) override {
    ProgramScope host(false);
    return HeadlessHost::nextEvent(event);
  }
  void present(PixelView backBuffer) override {
    ProgramScope host(false);
    HeadlessHost::present(backBuffer);
  }
  void playSound(int waveId, SoundMode mode) override {
    ProgramScope host(false);
    HeadlessHost::playSound(waveId, mode);
    lastSound = waveId;
    sounds.clear();
  }
  void setTimer(int timerId, int milliseconds) override {
    ProgramScope host(false);
    HeadlessHost::setTimer(timerId, milliseconds);
    timerCalls.clear();
  }
  void killTimer(int timerId) override {
    ProgramScope host(false);
    HeadlessHost::killTimer(timerId);
    timerCalls.clear();
  }
  void sleep(int milliseconds) override {
    ProgramScope host(false);
    HeadlessHost::sleep(milliseconds);
  }
  std::intptr_t runModalDialog(int templateId, int faceBitmapId,
                               DialogProcedure procedure) override {
    ProgramScope host(false);
    const Name& name = kNames[dialogsRun % std::size(kNames)];
    queueDialog({DialogStep::moveTo(100, 125), DialogStep::moveTo(200, 125),
                 DialogStep::type(name.typed),
                 DialogStep::send(DialogMessageType::Command, name.button)});
    storedNames.insert(name.stored);
    ++dialogsRun;
    // The dialog procedure is the program's code again.
    procedure_ = procedure;
    const std::intptr_t result =
        HeadlessHost::runModalDialog(templateId, faceBitmapId, &countedProcedure);
    dialogs.clear();
    return result;
  }

  int dialogsRun = 0;
  int lastSound = 0;
  std::set<std::string> storedNames;

 private:
  static bool countedProcedure(DialogWindow& window, const DialogMessage& message) {
    ProgramScope program(true);
    return procedure_(window, message);
  }
  static inline DialogProcedure procedure_ = nullptr;
};

long residentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// The player: one decision whenever the host's queue is empty.
class Bot {
 public:
  explicit Bot(SoakHost& host) : host_(host) {}

  long passesWanted = 0;
  long passes = 0;
  int games = 0, wins = 0, abandoned = 0, themeSwitches = 0;
  std::set<int> screensSeen;
  std::int32_t highestScore = 0;           // of all the scores seen
  std::int32_t bestScoreFloor = 0;         // the best score can be no lower
  std::vector<std::int32_t> endingScores;  // the score of every game at its end

  void beforePass() {
    const int screen = static_cast<int>(autoplay::screen());
    if (screen != screen_) {
      screen_ = screen;
      sinceScreen_ = 0;
      screensSeen.insert(screen);
    }
    ++sinceScreen_;
    highestScore = std::max(highestScore, g_score);
    tickTimer();
    if (host_.pendingEvents() == 0) decide();
    // A playing frame with no input starts at the score the bot sees now, and the best score
    // takes every such score.
    if (autoplay::screen() == Screen::Playing && host_.pendingEvents() == 0) {
      bestScoreFloor = std::max(bestScoreFloor, g_score);
    }
  }

 private:
  bool ending() const { return passes >= passesWanted; }
  unsigned next() {
    seed_ = seed_ * 1103515245u + 12345u;
    return (seed_ >> 16) & 0x7FFF;
  }
  void clickAt(int x, int y) {
    host_.pushMove(x, y);
    host_.pushLeftDown(x, y);
  }
  void tickTimer() {
    // The one-second timer, on the host's virtual clock.
    if (!host_.timerRunning(kGameTimer)) {
      nextTickMs_ = host_.virtualMs + 1000;
    } else if (host_.virtualMs >= nextTickMs_) {
      nextTickMs_ += 1000;
      host_.pushTimer(kGameTimer);
    }
  }
  void decide() {
    switch (autoplay::screen()) {
      case Screen::MainMenu:
        if (sinceScreen_ < 60) return;
        if (ending()) return host_.pushKey(kKeyEscape);
        // Each return to the menu tours the other screens, then starts a game; once the tour
        // takes the exit box's 否.
        switch (visits_++ % 5) {
          case 0:
            return clickMenuItem(1);  // load game
          case 1:
            return clickMenuItem(2);  // settings
          case 2:
            return clickMenuItem(3);  // about
          case 3:
            return host_.pushKey(kKeyEscape);
          default:
            return clickMenuItem(0);
        }
      case Screen::LoadGame:
        if (sinceScreen_ < 40) return;
        return clickAt(g_slotBackX + g_slotBackWidth / 2, g_slotBackY + g_slotBackHeight / 2);
      case Screen::Settings:
        if (sinceScreen_ >= 40) host_.pushKey(kKeyEscape);
        return;
      case Screen::About:
        if (sinceScreen_ >= 400) host_.pushKey(kKeyEscape);
        return;
      case Screen::ExitBox:
        if (sinceScreen_ < 40) return;
        if (ending()) return clickAt(kExitYesHighlightX + 30, kExitHighlightY + 10);
        return clickAt(kExitNoHighlightX + 30, kExitHighlightY + 10);
      case Screen::Lobby:
      case Screen::LevelIntro:
      case Screen::Playing:
      case Screen::Records:
        return decideInPlay();
      default:
        return;  // slides: input is dropped there anyway
    }
  }
  void clickMenuItem(int item) {
    clickAt(kMenuItemRestX + kMenuItemWidth / 2, menuItemY(item) + kMenuItemHeight / 2);
  }
  void clickLobbyButton(int button) {
    clickAt(kLobbyButtonRestX + kLobbyButtonWidth / 2,
            kLobbyButtonY[button] + kLobbyButtonHeight / 2);
  }
  void decideInPlay() {
    switch (autoplay::screen()) {
      case Screen::Lobby:
        if (sinceScreen_ < 10) return;
        if (ending()) return clickLobbyButton(3);  // exit to the menu
        // Games mostly; a theme switch and a way back to the menu now and then.
        switch (lobbyVisits_++ % 5) {
          case 2:
            ++themeSwitches;
            return clickLobbyButton(4);
          case 4:
            return clickLobbyButton(3);
          default:
            break;
        }
        // A new game: win every third, abandon the others somewhere along the way.
        ++games;
        playToWin_ = games % 3 == 1;
        abandonAfter_ = 300 + static_cast<long>(next() % 6000);
        playedPasses_ = 0;
        host_.pushMove(kLobbyButtonRestX + 10, kLobbyButtonY[1] + 20);  // hover, then start
        return clickLobbyButton(0);
      case Screen::LevelIntro:
        if (sinceScreen_ < 30) return;
        if (g_score == kWinningScore) {
          ++wins;
          endingScores.push_back(g_score);
        }
        return host_.pushKey(kKeyEnter);
      case Screen::Playing:
        ++playedPasses_;
        if (ending() || (!playToWin_ && playedPasses_ > abandonAfter_)) {
          ++abandoned;
          endingScores.push_back(g_score);
          return host_.pushKey(kKeyEscape);
        }
        if (sinceScreen_ % 6 == 0) typeLetter();
        return;
      case Screen::Records:
        if (sinceScreen_ < 40) return;
        return clickAt(kRecordsReturnX, kRecordsButtonY);
      default:
        return;
    }
  }
  void typeLetter() {
    bool onBoard[26] = {};
    for (const autoplay::Bug& bug : autoplay::bugsOnBoard()) onBoard[bug.letter] = true;
    if (next() % 10 == 0) {  // a wrong key: a letter not on the board
      for (int letter = static_cast<int>(next() % 26), tries = 0; tries < 26;
           ++tries, letter = (letter + 1) % 26) {
        if (!onBoard[letter]) return host_.pushKey(kKeyA + letter);
      }
    }
    if (const auto key = autoplay::keyForAFreeBug()) host_.pushKey(*key);
  }

  // The records screen's return button (its board is centred on the screen).
  static constexpr int kRecordsReturnX = 420;
  static constexpr int kRecordsButtonY = 560;

  SoakHost& host_;
  unsigned seed_ = 20261207;
  int screen_ = -1;
  long sinceScreen_ = 0;
  std::int64_t nextTickMs_ = 1000;
  int visits_ = 0;
  int lobbyVisits_ = 0;
  bool playToWin_ = false;
  long abandonAfter_ = 0;
  long playedPasses_ = 0;
};

std::string fileText(const fs::path& file) {
  const std::vector<std::uint8_t> bytes = readFile(file);
  return {bytes.begin(), bytes.end()};
}

// What the files must hold: the best score the bot saw, and a table whose rows are names it
// typed, with scores its games ended on, best first.
std::vector<std::string> fileFaults(const fs::path& dir, const Bot& bot, const SoakHost& host) {
  std::vector<std::string> faults;
  if (fileText(dir / kBestScoreFile) != bestScoreFileText(g_bestScore)) {
    faults.push_back("mg.tol is not the best score in memory");
  }
  if (g_bestScore < bot.bestScoreFloor || g_bestScore > bot.highestScore) {
    faults.push_back("the best score " + std::to_string(g_bestScore) + " is not between " +
                     std::to_string(bot.bestScoreFloor) + " and " +
                     std::to_string(bot.highestScore));
  }
  const std::string table = fileText(dir / kRecordFile);
  if (table != recordFileText(g_records)) faults.push_back("lhb.lhb is not the table in memory");
  RecordTable read;
  const std::vector<std::uint8_t> bytes(table.begin(), table.end());
  readRecordTable(bytes, read);
  int filled = 0;
  for (int row = 0; row < kRecordRows; ++row) {
    const RecordEntry& entry = read[row];
    if (entry.score == 0 && entry.useTime == 0 && nameOf(entry).empty()) continue;
    ++filled;
    if (!host.storedNames.count(std::string(nameOf(entry)))) {
      faults.push_back("row " + std::to_string(row + 1) + " holds a name nobody typed");
    }
    if (std::find(bot.endingScores.begin(), bot.endingScores.end(), entry.score) ==
        bot.endingScores.end()) {
      faults.push_back("row " + std::to_string(row + 1) + " holds a score no game ended on");
    }
    if (row > 0 && entry.score > read[row - 1].score) {
      faults.push_back("row " + std::to_string(row + 1) + " is above its row");
    }
  }
  if (host.dialogsRun > 0 && filled == 0) faults.push_back("no record was kept");
  return faults;
}

fs::path makeWorkDir(const char* given) {
  const fs::path dir =
      given ? fs::path(given)
            : fs::temp_directory_path() / ("tolvaro-soak-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* name : {"03_16", "charImg", "mouse6.ani"}) {
    fs::create_symlink(fs::absolute(fs::path(TOLVARO_GENERATED_DIR) / name), dir / name);
  }
  return dir;
}

// Each save replaces a record file with a new one, so a pass that saved changes an inode.
class SaveWatch {
 public:
  explicit SaveWatch(const fs::path& dir)
      : best_((dir / kBestScoreFile).string()), table_((dir / kRecordFile).string()) {}
  // True when either file was replaced since the last call.
  bool saved() {
    const ino_t now[2] = {inode(best_), inode(table_)};
    const bool changed = now[0] != last_[0] || now[1] != last_[1];
    last_[0] = now[0];
    last_[1] = now[1];
    return changed;
  }

 private:
  static ino_t inode(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
  }
  std::string best_, table_;
  ino_t last_[2] = {0, 0};
};

// The counter must see what it is meant to count, or a zero means nothing.
bool counterCounts() {
  const long before = g_allocations;
  {
    ProgramScope program(true);
    void* block = ::operator new(64);
    ::operator delete(block);
#if TOLVARO_COUNT_MALLOC
    void* volatile raw = std::malloc(64);
    std::free(raw);
#endif
  }
  return g_allocations - before == 1 + TOLVARO_COUNT_MALLOC;
}

int soak(long passesWanted, const char* workDirArgument, bool strict) {
  const fs::path dir = makeWorkDir(workDirArgument);
  g_workingDirectory = dir;
  SoakHost host(TOLVARO_GENERATED_DIR);
  if (!startUp(host)) {
    std::fprintf(stderr, "soak: start-up failed\n");
    return 1;
  }
  if (!counterCounts()) {
    std::fprintf(stderr, "soak: the allocation counter does not count\n");
    return 1;
  }
  Bot bot(host);
  bot.passesWanted = passesWanted;
  const long startRss = residentKiB();
  g_allocations = 0;
  int exitCode = -1;
  // Ample room for the way out after the passes asked for.
  // The passes that save the record files build their paths and texts on the heap (the exit
  // box's 是 saves and ends the program within its pass). Those passes are counted apart.
  long allocations = 0, saveAllocations = 0;
  int saves = 0;
  SaveWatch saveWatch(dir);
  saveWatch.saved();
  for (const long limit = passesWanted + 200000; bot.passes < limit; ++bot.passes) {
    bot.beforePass();
    const long before = g_allocations;
    bool going = false;
    {
      ProgramScope program(true);
      going = runPass(&exitCode);
    }
    const bool saved = saveWatch.saved();
    saves += saved;
    (saved ? saveAllocations : allocations) += g_allocations - before;
    if (!going) break;
  }
  const long endRss = residentKiB();
  std::vector<std::string> faults = fileFaults(dir, bot, host);
  if (exitCode != 0) faults.push_back("the program did not end with 0 through the exit box");
  if (bot.screensSeen.size() < 12) {
    faults.push_back("only " + std::to_string(bot.screensSeen.size()) + " of 12 screens seen");
  }
  for (const std::string& fault : faults) std::printf("soak: %s\n", fault.c_str());
  std::printf(
      "soak: %d wins, %d abandoned, %d theme switches, %zu screens, %ld allocations in the %d "
      "passes that saved\n",
      bot.wins, bot.abandoned, bot.themeSwitches, bot.screensSeen.size(), saveAllocations, saves);
  std::printf(
      "soak: %ld passes, %d games, %d records, allocations after start-up %ld, rss start %ld "
      "KiB end %ld KiB, files %s\n",
      bot.passes, bot.games, host.dialogsRun, allocations, startRss, endRss,
      faults.empty() ? "ok" : "wrong");
  if (!workDirArgument) fs::remove_all(dir);
  if (!faults.empty()) return 1;
  // The sanitizer's allocator keeps freed blocks in quarantine, so resident memory says nothing
  // there.
  constexpr bool kRssMeans = TOLVARO_COUNT_MALLOC;
  if (strict && (allocations != 0 || (kRssMeans && endRss - startRss > 256))) return 1;
  return 0;
}

}  // namespace
}  // namespace tolvaro

int main(int argc, char** argv) {
  long passes = 0;
  const char* workDir = nullptr;
  bool strict = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--strict") == 0) {
      strict = true;
    } else if (passes == 0) {
      passes = std::atol(argv[i]);
    } else {
      workDir = argv[i];
    }
  }
  if (passes <= 0) {
    std::fprintf(stderr, "usage: tolvaro_soak PASSES [WORKDIR] [--strict]\n");
    return 2;
  }
  return tolvaro::soak(passes, workDir, strict);
}
