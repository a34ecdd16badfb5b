// The record table and its files: the ranking of a result, the exact bytes of both files and
// the reading rules, the name entry, and the save that a power cut or a locked file cannot
// spoil.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <regex>

#include "base/Files.h"
#include "records/RecordFormat.h"
#include "records/RecordTable.h"
#include "support/Bytes.h"
#include "state/Session.h"
#include "support/Harness.h"

namespace tolvaro::testing {
namespace {

namespace fs = std::filesystem;

// "张三丰a": three GBK characters and a Latin letter, exactly 7 bytes.
const std::string kGbkName = "\xD5\xC5\xC8\xFD\xB7\xE1" "a";

// The table as one line of "name/time/score" rows.
std::string described(const RecordTable& table) {
  std::string text;
  for (const RecordEntry& row : table) {
    text += (text.empty() ? "" : " ") + std::string(nameOf(row)) + "/" +
            std::to_string(row.useTime) + "/" + std::to_string(row.score);
  }
  return text;
}
RecordTable tableRead(const std::string& text) {
  RecordTable table{};
  readRecordTable(bytesOf(text), table);
  return table;
}
std::string repeated(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
}

struct Ranking {
  const char* what;
  std::string table;  // as the record file holds it
  int seconds, score, slot;
  std::string after;
};
const std::string kRanked = "a 50 600\nb 50 500\nc 50 400\nd 50 300\ne 50 200\nf 50 100\n";
const std::string kCleared = repeated("someone 9999 0\n", 6);
const std::string kEmptyRows = " /0/0 /0/0 /0/0";
const Ranking kRankings[] = {
    {"a zero score does not enter the start table", "", 12, 0, 0, "/0/0 /0/0 /0/0" + kEmptyRows},
    {"the first positive score goes to row one", "", 12, 3, 1, "/12/3 /0/0 /0/0" + kEmptyRows},
    {"a result equal to row six does not enter", kRanked, 50, 100, 0,
     "a/50/600 b/50/500 c/50/400 d/50/300 e/50/200 f/50/100"},
    {"one second less does", kRanked, 49, 100, 6,
     "a/50/600 b/50/500 c/50/400 d/50/300 e/50/200 f/49/100"},
    {"at an equal score the faster ranks higher", kRanked, 40, 300, 4,
     "a/50/600 b/50/500 c/50/400 d/40/300 d/50/300 e/50/200"},
    {"an equal result goes below the older", kRanked, 50, 300, 5,
     "a/50/600 b/50/500 c/50/400 d/50/300 e/50/300 e/50/200"},
    {"row one moves the others down", kRanked, 500, 1100, 1,
     "a/500/1100 a/50/600 b/50/500 c/50/400 d/50/300 e/50/200"},
    {"a table out of order follows the steps", "a 50 10\nb 50 500\nc 50 20\nd 50 400\ne 50 30\n",
     50, 100, 5, "a/50/10 b/50/500 c/50/20 d/50/400 e/50/100 e/50/30"},
    {"a cleared table takes nothing as slow", kCleared, 9999, 0, 0, described(tableRead(kCleared))},
    {"a cleared table takes a zero score a second faster", kCleared, 9998, 0, 1,
     "someone/9998/0 " + described(tableRead(kCleared)).substr(15)},
};

TEST(Records, ResultsEnterTheTableByScoreThenTime) {
  for (const Ranking& r : kRankings) {
    SCOPED_TRACE(r.what);
    RecordTable table = tableRead(r.table);
    std::int32_t score = r.score;
    g_newRecordSlot = 0;
    EXPECT_EQ(enterRecord(table, r.seconds, score), r.slot == 0 ? 0 : 1);
    EXPECT_EQ(g_newRecordSlot, r.slot == 0 ? 0 : r.slot);
    EXPECT_EQ(score, r.slot == 0 ? r.score : 0) << "an entered score is taken";
    EXPECT_EQ(described(table), r.after);
  }
}

// Names the plain form cannot carry (empty, with white space) are escaped as hex; line
// structure carries no meaning where every field has a value.
TEST(Records, TheRecordFileIsOneLinePerRowAndReadsBackIdentically) {
  const std::string written = "ann 312 1100\r\n" + kGbkName + " 7 450\r\nb 0 -3\r\n"
                              "namehex: 12 300\r\nnamehex:783a203130202c 3 200\r\nnamehex 5 50\r\n";
  const RecordTable table = tableRead(written);
  EXPECT_EQ(described(table),
            "ann/312/1100 " + kGbkName + "/7/450 b/0/-3 /12/300 x: 10 ,/3/200 namehex/5/50");
  EXPECT_EQ(recordFileText(table), written);
  EXPECT_EQ(bestScoreFileText(-42), "-42");
  std::string text = "p0 100 1000\r\np1 101 999\r\np2 102 998\r\np3 103 997\r\np4 104 996\r\n";
  for (auto [from, to] : {std::pair{"\r\n", "\n"}, {" ", "\t"}, {"\t", " \t"}, {" ", "\n"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + std::strlen(to))) {
      text.replace(at, std::strlen(from), to);
    }
    EXPECT_EQ(described(tableRead(text)), "p0/100/1000 p1/101/999 p2/102/998 p3/103/997 "
                                          "p4/104/996 /0/0") << text;
  }
}

struct Reading {
  const char* what;
  std::string text;
  std::string table;
};
const Reading kReadings[] = {
    {"three lines leave rows four to six empty", "ann 30 900\r\nbob 40 800\r\ncid 50 700\r\n",
     "ann/30/900 bob/40/800 cid/50/700" + kEmptyRows},
    {"a number without a digit is 0 and ends the reading", "ann 5 -\r\nbob 1 2\r\n",
     "ann/5/0 /0/0 /0/0" + kEmptyRows},
    {"a line starting with white space is a row without a name",
     "ann 5 10\r\n 7 8\n\t9\t6\r\nbob 1 2\r\n", "ann/5/10 /7/8 /9/6 bob/1/2 /0/0 /0/0"},
    {"but only in a file of the written shape", "ann 5 10\r\n 0 0\r\nbob 1\r\n 7 8\r\n",
     "ann/5/10 0/0/0 /0/0" + kEmptyRows},
    {"long tokens are cut on a whole character and numbers clamped",
     "abcdefghijkl 99999999999 -99999999999\r\n\xD5\xC5\xC8\xFD\xB7\xE1\xB7\xE1 2147483648 "
     "-2147483649\r\nd 007 0x1F\r\ne 12abc +5\r\nnamehex:zz 1 2\r\nnamehex:4a 3 4\r\n",
     "abcdefg/2147483647/-2147483648 \xD5\xC5\xC8\xFD\xB7\xE1/2147483647/-2147483648 d/7/0 "
     "e/12/5 namehex/1/2 J/3/4"},
};

TEST(Records, TheRecordFileIsReadByItsRules) {
  for (const Reading& r : kReadings) EXPECT_EQ(described(tableRead(r.text)), r.table) << r.what;
  for (auto [text, value] : {std::pair<std::string, int>{"1100", 1100}, {"\t\n 1100 9", 1100},
                             {"+1100", 1100}, {"-17", -17}, {" \r\n", 5}, {"-x12", 0}}) {
    std::int32_t best = 5;
    readBestScore(bytesOf(text), best);
    EXPECT_EQ(best, value) << text;
  }
}

TEST(Records, FirstStartCreatesBothFilesEmptyAndTheExitWritesThemWhole) {
  Harness h;
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.readWorkFile("mg.tol"), "");
  EXPECT_TRUE(h.workFileExists("lhb.lhb"));
  h.passes(48);
  EXPECT_EQ(h.quitThroughExitBox(), 0);
  EXPECT_EQ(h.readWorkFile("lhb.lhb"), repeated("namehex: 0 0\r\n", 6));
  EXPECT_EQ(h.readWorkFile("mg.tol"), "0");
  std::vector<std::string> files;  // besides the links to the art
  for (const auto& entry : fs::directory_iterator(h.workDir)) {
    if (!entry.is_symlink()) files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"lhb.lhb", "mg.tol"}));
}

// The name box of a game's record: the ways of closing it, its clear button and right click,
// and the cut to 7 bytes on a whole character.
TEST(Records, TheNameBoxStoresWhatItHoldsWhenClosed) {
  using Type = DialogMessageType;
  using Step = DialogStep;
  struct Case {
    std::vector<DialogStep> steps;
    std::string name;
    bool closedByScript;
  };
  const Case cases[] = {
      {{Step::type("ann"), Step::send(Type::Command, 1)}, "ann", true},
      {{Step::type("cid"), Step::moveTo(64, 116), Step::send(Type::LeftButtonDown)}, "cid", true},
      {{Step::type("dan"), Step::send(Type::Command, 0x03000000 | 1001),
        Step::send(Type::Command, 0x10000 | 1)}, "dan", true},
      {{Step::type("abcdefghij"), Step::send(Type::Command, 1)}, "abcdefg", true},
      {{Step::type("ab\xD5\xC5\xC8\xFD\xB7\xE1"), Step::send(Type::Command, 1)},
       "ab\xD5\xC5\xC8\xFD", true},
      // The clear button's zone, then presses beside it and the confirm button's edges.
      {{Step::type("zzz"), Step::moveTo(165, 138), Step::send(Type::LeftButtonDown),
        Step::moveTo(154, 120), Step::send(Type::LeftButtonDown), Step::moveTo(100, 115),
        Step::send(Type::LeftButtonDown), Step::moveTo(100, 139), Step::send(Type::LeftButtonDown)},
       "", false},
      {{Step::type("xx"), Step::moveTo(153, 138), Step::send(Type::LeftButtonDown)}, "xx", true},
      {{Step::type("ann"), Step::moveTo(100, 120),
        Step::send(Type::RightButtonDown, 0, packPosition(5, 5))}, "x: 100 ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h;
    ASSERT_TRUE(h.startPlaying());
    ASSERT_TRUE(h.playUntil([] { return score() > 0; }));
    h.host.queueDialog(c.steps);
    h.key(kKeyEscape);
    ASSERT_EQ(h.host.dialogs.size(), 1u);
    EXPECT_EQ(h.host.dialogs[0].templateId, 241);
    EXPECT_EQ(h.host.dialogs[0].endedByScript, c.closedByScript);
    EXPECT_EQ(nameOf(g_records[0]), c.name);
    EXPECT_TRUE(screenIs(Screen::LobbyLeaving));
  }
}

// The records screen's buttons, every edge inside: 清除 fills the table with its blank rows and
// stays, 确定 goes back to the lobby; a click beside either changes nothing.
TEST(Records, TheRecordsScreensButtonsClearTheTableAndLeave) {
  Harness h;
  ASSERT_TRUE(h.startPlaying());
  ASSERT_TRUE(h.playUntil([] { return score() > 0; }));
  h.host.queueDialog({DialogStep::type("ann"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kKeyEscape);
  ASSERT_TRUE(autoplay::runUntil(Screen::Records));
  for (auto [x, y] : {std::pair{532, 560}, {638, 560}, {600, 547}, {600, 571}, {372, 560}}) {
    h.clickAt(x, y);
    EXPECT_EQ(nameOf(g_records[0]), "ann") << x << "," << y;
    ASSERT_TRUE(screenIs(Screen::Records));
  }
  for (auto [x, y] : {std::pair{533, 548}, {637, 570}}) {
    h.clickAt(x, y);
    EXPECT_EQ(nameOf(g_records[0]), "someone") << x << "," << y;
    EXPECT_EQ(g_records[5].useTime, 9999);
    setName(g_records[0], "ann");
  }
  h.clickAt(474, 570);
  EXPECT_TRUE(autoplay::runUntil(Screen::Lobby, 100));
}

// Runs the body in a child process as an ordinary user (the suite runs as root in CI, which may
// write any file); the child's exit code, or -1 when it did not end normally.
constexpr uid_t kNobody = 65534;
int runAsUnprivilegedUser(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    if (getuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
    _exit(body());
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A record file made read-only keeps its bytes and mode and the exit goes on; a replaced file
// keeps its permission bits; a file kept as a link stays a link and its target gets the bytes;
// a file whose temporary cannot be made keeps its old bytes.
TEST(Records, ReadOnlyLinkedAndBlockedFilesAreRespected) {
  Harness h;
  h.writeWorkFile("lhb.lhb", "ann 5 10\r\n");
  h.writeWorkFile("mg.tol", "10\r\n");
  constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read |
                                  fs::perms::others_read;
  constexpr fs::perms kPrivate = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(h.workDir / "lhb.lhb", kReadOnly);
  fs::permissions(h.workDir / "mg.tol", kPrivate);
  fs::permissions(h.workDir, fs::perms::all);
  if (getuid() == 0) {
    ASSERT_EQ(chown((h.workDir / "mg.tol").c_str(), kNobody, kNobody), 0);
  }
  EXPECT_EQ(runAsUnprivilegedUser([&] { return h.start() ? h.quitThroughExitBox() : 2; }), 0);
  EXPECT_EQ(h.readWorkFile("lhb.lhb"), "ann 5 10\r\n");
  EXPECT_EQ(fs::status(h.workDir / "lhb.lhb").permissions(), kReadOnly);
  EXPECT_FALSE(h.workFileExists("lhb.lhb.tmp"));
  EXPECT_EQ(h.readWorkFile("mg.tol"), "10");
  EXPECT_EQ(fs::status(h.workDir / "mg.tol").permissions(), kPrivate);

  Harness linked;
  fs::create_directories(linked.workDir / "shared" / "deeper");
  linked.writeWorkFile("shared/deeper/scores", "10\r\n");
  fs::create_symlink("deeper/scores", linked.workDir / "shared" / "best");  // relative
  fs::create_symlink(linked.workDir / "shared" / "best", linked.workDir / "mg.tol");
  fs::create_symlink("shared/table", linked.workDir / "lhb.lhb");  // no target yet
  ASSERT_TRUE(linked.startAtRestingMenu());
  EXPECT_EQ(autoplay::scoreboard().bestScore, 10);
  EXPECT_EQ(linked.quitThroughExitBox(), 0);
  EXPECT_TRUE(fs::is_symlink(linked.workDir / "mg.tol"));
  EXPECT_TRUE(fs::is_symlink(linked.workDir / "lhb.lhb"));
  EXPECT_EQ(linked.readWorkFile("shared/deeper/scores"), "10");
  EXPECT_EQ(linked.readWorkFile("shared/table"), repeated("namehex: 0 0\r\n", 6));
  EXPECT_FALSE(linked.workFileExists("shared/deeper/scores.tmp"));

  linked.writeWorkFile("x", "old");
  fs::create_directory(linked.workDir / "x.tmp");
  EXPECT_FALSE(writeFileAtomically(linked.workDir / "x", "new"));
  EXPECT_EQ(linked.readWorkFile("x"), "old");
}

// What a save did to the disk, from strace's log of its system calls: for each file, "write",
// "fsync" and "close" of its temporary, "rename" of the temporary over it, and "fsync folder"
// for a sync of the folder the rename happened in.
std::vector<std::string> saveSteps(const fs::path& straceLog) {
  static const std::regex call(R"(^(?:\d+ +)?(\w+)\((.*)\) += (-?\d+))");
  static const std::regex quoted("\"([^\"]*)\"");
  std::map<std::string, std::string> fdNames;  // open descriptors of interest
  std::string lastFolder;
  std::vector<std::string> steps;
  std::ifstream in(straceLog);
  for (std::string line; std::getline(in, line);) {
    std::smatch m, path, to;
    if (!std::regex_search(line, m, call)) continue;
    const std::string name = m[1], args = m[2], result = m[3];
    const std::string fd = args.substr(0, args.find(','));
    std::regex_search(args, path, quoted);
    const std::string file = path.empty() ? "" : fs::path(path[1].str()).filename().string();
    if (name == "openat" && file.ends_with(".tmp")) {
      fdNames[result] = file;
    } else if (name == "openat" && args.find("O_DIRECTORY") != std::string::npos &&
               path[1].str() == lastFolder) {
      fdNames[result] = "folder";
      lastFolder.clear();
    } else if (name.starts_with("rename") && file.ends_with(".tmp")) {
      const std::string rest = path.suffix();
      std::regex_search(rest, to, quoted);
      steps.push_back("rename " + file + " " + fs::path(to[1].str()).filename().string());
      lastFolder = fs::path(to[1].str()).parent_path().string();
    } else if (fdNames.count(fd) && (name == "write" || name == "fsync" || name == "close")) {
      const std::string step = name + " " + fdNames[fd];
      if (steps.empty() || steps.back() != step) steps.push_back(step);
      if (name == "close") fdNames.erase(fd);
    }
  }
  return steps;
}

// The orderly exit writes each file so that a power cut at any moment leaves the old or the new
// bytes: the new bytes reach the disk before the rename, and the rename before the next file.
TEST(Records, TheExitsSaveSyncsTheBytesThenRenamesThenSyncsTheFolder) {
  const fs::path log = fs::temp_directory_path() / ("tolvaro-strace-" + std::to_string(getpid()));
  // LeakSanitizer cannot work under ptrace: the child leaves the leak checks to the suite.
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string command =
      "ASAN_OPTIONS='" + std::string(asan ? asan : "") + ":detect_leaks=0' strace -f -qq -s 4 " +
      "-e trace=openat,write,fsync,close,rename,renameat,renameat2 -o '" + log.string() + "' '" +
      fs::read_symlink("/proc/self/exe").string() +
      "' --gtest_filter=Records.FirstStartCreatesBothFilesEmptyAndTheExitWritesThemWhole"
      " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::vector<std::string> steps = saveSteps(log);
  fs::remove(log);
  std::vector<std::string> expected;
  for (const std::string file : {"mg.tol", "lhb.lhb"}) {
    const std::string temporary = file + ".tmp";
    expected.insert(expected.end(), {"write " + temporary, "fsync " + temporary,
                                     "close " + temporary, "rename " + temporary + " " + file,
                                     "fsync folder", "close folder"});
  }
  EXPECT_EQ(steps, expected);
}

}  // namespace
}  // namespace tolvaro::testing
