// The best-score file and the record file: exact bytes written, the reading rules, and the
// mended cases (names the plain format cannot carry, atomic writes, hostile input).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "base/Files.h"
#include "game/GameFlow.h"
#include "records/RecordFiles.h"
#include "records/RecordFormat.h"
#include "records/RecordTable.h"
#include "support/Bytes.h"
#include "support/Harness.h"
#include "support/RecordRows.h"

namespace tolvaro::testing {
namespace {

namespace fs = std::filesystem;

// "张三丰a": three GBK characters and a Latin letter, exactly 7 bytes.
const std::string kGbkName =
    "\xD5\xC5\xC8\xFD\xB7\xE1"
    "a";

RecordTable tableRead(const std::string& text) {
  RecordTable table{};
  readRecordTable(bytesOf(text), table);
  return table;
}

std::int32_t bestScoreRead(const std::string& text, std::int32_t before) {
  readBestScore(bytesOf(text), before);
  return before;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string repeated(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
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

TEST(RecordFilesTest, FirstStartCreatesBothFilesEmptyAndKeepsTheStartValues) {
  Harness h;
  ASSERT_FALSE(h.workFileExists("mg.tol"));
  ASSERT_TRUE(h.start());
  for (const char* name : {"mg.tol", "lhb.lhb"}) {
    EXPECT_TRUE(h.workFileExists(name)) << name;
    EXPECT_EQ(fs::file_size(h.workDir / name), 0u) << name;
  }
  EXPECT_EQ(g_bestScore, 0);
  expectTable(g_records, {});
}

TEST(RecordFilesTest, ClearedTableAndBestScoreAreWrittenExactlyAtTheOrderlyExit) {
  Harness h;
  h.writeWorkFile("mg.tol", "17");
  ASSERT_TRUE(h.start());
  clearRecords();
  g_bestScore = 1100;
  EXPECT_EQ(h.readWorkFile("mg.tol"), "17");  // nothing is written before the exit
  EXPECT_EQ(h.quitThroughExitBox(), 0);
  const std::string written = h.readWorkFile("lhb.lhb");
  EXPECT_EQ(written.size(), 96u);
  EXPECT_EQ(written, repeated("someone 9999 0\r\n", 6));
  EXPECT_EQ(h.readWorkFile("mg.tol"), "1100");  // no line end
  // Nothing but the two files is left behind (the rest are the links to the art).
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(h.workDir)) {
    if (!entry.is_symlink()) files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"lhb.lhb", "mg.tol"}));
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
    std::smatch m, path;
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
      const std::string args2 = path.suffix();
      std::smatch to;
      std::regex_search(args2, to, quoted);
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
TEST(RecordFilesTest, TheExitsSaveSyncsTheBytesThenRenamesThenSyncsTheFolder) {
  const fs::path log = fs::temp_directory_path() / ("tolvaro-strace-" + std::to_string(getpid()));
  const std::string command =
      "strace -f -qq -s 4 -e trace=openat,write,fsync,close,rename,renameat,renameat2 -o '" +
      log.string() + "' '" + fs::read_symlink("/proc/self/exe").string() +
      "' --gtest_filter=RecordFilesTest.ClearedTableAndBestScoreAreWrittenExactlyAtTheOrderlyExit"
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

TEST(RecordFilesTest, NegativeAndOrdinaryRowsUseThePlainLayout) {
  RecordTable table{};
  table[0] = row("ann", 312, 1100);
  table[1] = row(kGbkName, 7, 450);
  table[2] = row("b", 0, -3);
  for (int i = 3; i < 6; ++i) table[i] = row("z", 1, 2);
  EXPECT_EQ(recordFileText(table),
            "ann 312 1100\r\n" + kGbkName + " 7 450\r\nb 0 -3\r\n" + repeated("z 1 2\r\n", 3));
  EXPECT_EQ(bestScoreFileText(-42), "-42");
  EXPECT_EQ(bestScoreFileText(0), "0");
}

TEST(RecordFilesTest, BestScoreReadsOneIntegerTokenWhateverWhiteSpaceSurroundsIt) {
  for (const std::string text : {"1100", "1100\r\n", "   1100", "\t\n\v\f 1100 999", "+1100"}) {
    EXPECT_EQ(bestScoreRead(text, 5), 1100) << text;
  }
  EXPECT_EQ(bestScoreRead("-17", 5), -17);
  EXPECT_EQ(bestScoreRead("  \r\n", -17), -17) << "no token leaves the value";
  EXPECT_EQ(bestScoreRead("-x12", -17), 0) << "a token without a digit gives 0";
}

TEST(RecordFilesTest, LfOnlyTabsAndRunsOfSpacesReadLikeTheWrittenForm) {
  RecordTable table{};
  for (int i = 0; i < 6; ++i) table[i] = row("p" + std::to_string(i), 100 + i, 1000 - i);
  const std::string written = recordFileText(table);
  // Line structure carries no meaning: one field per line reads the same.
  for (const auto& [from, to] :
       {std::pair{"", ""}, {"\r\n", "\n"}, {" ", "\t"}, {" ", "  \t  "}, {" ", "\r\n"}}) {
    SCOPED_TRACE(::testing::Message() << "'" << from << "' as '" << to << "'");
    expectSameTable(table, tableRead(*from ? replaceAll(written, from, to) : written));
  }
}

TEST(RecordFilesTest, ThreeLineFileLeavesRowsFourToSixEmpty) {
  Harness h;
  h.writeWorkFile("lhb.lhb", "ann 30 900\r\nbob 40 800\r\ncid 50 700\r\n");
  ASSERT_TRUE(h.start());
  expectTable(g_records, {{"ann", 30, 900}, {"bob", 40, 800}, {"cid", 50, 700}});
}

TEST(RecordFilesTest, SevenByteGbkNameRoundTripsThroughBothFiles) {
  Harness h;
  h.writeWorkFile("lhb.lhb", kGbkName + " 61 1100\r\n");
  h.writeWorkFile("mg.tol", "1100");
  ASSERT_TRUE(h.start());
  expectRow(g_records[0], kGbkName, 61, 1100);
  for (int i = 1; i < 6; ++i) g_records[i] = row("x" + std::to_string(i), i, i);
  ASSERT_EQ(h.quitThroughExitBox(), 0);
  const std::string written = h.readWorkFile("lhb.lhb");
  EXPECT_EQ(written.substr(0, 17), kGbkName + " 61 1100\r\n");
  EXPECT_EQ(h.readWorkFile("mg.tol"), "1100");
  expectSameTable(g_records, tableRead(written));
}

TEST(RecordFilesTest, IntegerWithoutDigitIsZeroAndEndsTheReading) {
  expectTable(tableRead("ann x 5\r\nbob 1 2\r\n"), {{"ann", 0, 0}});
  expectTable(tableRead("ann 5 -\r\nbob 1 2\r\n"), {{"ann", 5, 0}});
}

// Mended: an empty name or one with white space used to put the file out of step.
TEST(RecordFilesTest, EmptyAndSpacedNamesAreWrittenSoTheTableReadsBackIdentically) {
  RecordTable table{};
  table[0] = row("", 12, 300);
  table[1] = row("x: 10 ,", 3, 200);  // what a right-click in the name box leaves, cut to 7
  table[2] = row("a\tb", 4, 100);
  table[3] = row("namehex", 5, 50);  // a real name that looks like the escape stays itself
  table[4] = row("a_b", 6, 40);
  table[5] = row("", 0, 0);
  const std::string written = recordFileText(table);
  EXPECT_EQ(written,
            "namehex: 12 300\r\n"
            "namehex:783a203130202c 3 200\r\n"
            "namehex:610962 4 100\r\n"
            "namehex 5 50\r\n"
            "a_b 6 40\r\n"
            "namehex: 0 0\r\n");
  expectSameTable(table, tableRead(written));
}

TEST(RecordFilesTest, StartTableWrittenAtExitReadsBackAsTheStartTable) {
  Harness h;
  ASSERT_TRUE(h.start());
  ASSERT_EQ(h.quitThroughExitBox(), 0);
  const std::string expected = repeated("namehex: 0 0\r\n", 6);
  EXPECT_EQ(h.readWorkFile("lhb.lhb"), expected);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "0");

  Harness again;
  again.writeWorkFile("lhb.lhb", expected);
  ASSERT_TRUE(again.start());
  expectTable(g_records, {});
}

// Mended: a row whose empty name was written as nothing (a line that starts with the space)
// reads as an empty name instead of shifting every later field.
TEST(RecordFilesTest, LineStartingWithTheSpaceIsARowWithAnEmptyName) {
  expectTable(tableRead(repeated(" 0 0\r\n", 6)), {});
  expectTable(tableRead("ann 5 10\r\n 7 8\n\t9\t6\r\nbob 1 2\r\n"),
              {{"ann", 5, 10}, {"", 7, 8}, {"", 9, 6}, {"bob", 1, 2}, {"", 0, 0}});
  // An indented line with a name in it is an ordinary row, and fields that continue on the
  // same line are not a new row.
  const RecordTable table = tableRead("  ann 5 10\r\n   bob\r\n 3 4\r\n0 7 8 9 1 2");
  const RowValues rows[] = {{"ann", 5, 10}, {"bob", 3, 4}, {"0", 7, 8}, {"9", 1, 2}};
  for (int i = 0; i < 4; ++i) expectRow(table[i], rows[i].name, rows[i].useTime, rows[i].score);
}

// Mended: only a file of the written line shape has rows without a name. Elsewhere the fields
// simply follow each other, so a numeric name cannot swallow the rows after it.
TEST(RecordFilesTest, RowsWithoutANameOnlyInAFileOfTheWrittenShape) {
  const RecordTable free =
      tableRead("ann 5 10\r\n 42 6\r\n 11\r\ncid 7 12\r\ndan 8 13\r\neve 9 14\r\nfay 10 15\r\n");
  expectTable(free, {{"ann", 5, 10},
                     {"42", 6, 11},
                     {"cid", 7, 12},
                     {"dan", 8, 13},
                     {"eve", 9, 14},
                     {"fay", 10, 15}});
  EXPECT_EQ(recordFileText(free),
            "ann 5 10\r\n42 6 11\r\ncid 7 12\r\ndan 8 13\r\neve 9 14\r\nfay 10 15\r\n");

  const RecordTable written = tableRead("ann 5 10\r\n 0 0\r\n42 6 11\r\n 0 0\n\t0 0\r\n\r\n 0 0");
  expectTable(written, {{"ann", 5, 10}, {"", 0, 0}, {"42", 6, 11}});
  EXPECT_EQ(recordFileText(written),
            "ann 5 10\r\nnamehex: 0 0\r\n42 6 11\r\n" + repeated("namehex: 0 0\r\n", 3));

  // One line of another shape makes the whole file free-form: " 0 0" is a name and a number.
  // The third number is "bob", which is no number: 0, and the reading ends there.
  expectTable(tableRead("ann 5 10\r\n 0 0\r\nbob 1\r\n 7 8\r\n"), {{"ann", 5, 10}, {"0", 0, 0}});
}

// Mended: a record file made read-only keeps its bytes and its mode, and the exit goes on; a
// replaced file keeps its permission bits.
TEST(RecordFilesTest, AReadOnlyFileStaysAndAReplacedFileKeepsItsMode) {
  Harness h;
  h.writeWorkFile("lhb.lhb", "ann 5 10\r\n");
  h.writeWorkFile("mg.tol", "10");
  constexpr fs::perms kReadOnly =
      fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  constexpr fs::perms kPrivate = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(h.workDir / "lhb.lhb", kReadOnly);
  fs::permissions(h.workDir / "mg.tol", kPrivate);
  fs::permissions(h.workDir, fs::perms::all);  // the folder stays writable to anyone
  if (getuid() == 0) {
    ASSERT_EQ(chown((h.workDir / "mg.tol").c_str(), kNobody, kNobody), 0);
  }
  // The program as an ordinary user, for whom the read-only file cannot be opened for writing.
  const int code = runAsUnprivilegedUser([&] {
    if (!h.start()) return 2;
    g_bestScore = 640;
    return h.quitThroughExitBox();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(h.readWorkFile("lhb.lhb"), "ann 5 10\r\n");
  EXPECT_EQ(fs::status(h.workDir / "lhb.lhb").permissions(), kReadOnly);
  EXPECT_FALSE(h.workFileExists("lhb.lhb.tmp"));
  EXPECT_EQ(h.readWorkFile("mg.tol"), "640");
  EXPECT_EQ(fs::status(h.workDir / "mg.tol").permissions(), kPrivate);
}

// Mended: a record file kept as a link elsewhere stays a link, and its target gets the bytes;
// a dangling link makes its target.
TEST(RecordFilesTest, ALinkedFileIsWrittenThroughItsLink) {
  Harness h;
  const fs::path shared = h.workDir / "shared";
  fs::create_directories(shared / "deeper");
  h.writeWorkFile("shared/deeper/scores", "10");
  fs::create_symlink("deeper/scores", shared / "best");  // a link to a link, relative
  fs::create_symlink(shared / "best", h.workDir / "mg.tol");
  fs::create_symlink("shared/table", h.workDir / "lhb.lhb");  // no target yet
  ASSERT_TRUE(h.start());
  EXPECT_EQ(g_bestScore, 10);
  g_bestScore = 640;
  EXPECT_EQ(h.quitThroughExitBox(), 0);
  EXPECT_TRUE(fs::is_symlink(h.workDir / "mg.tol"));
  EXPECT_TRUE(fs::is_symlink(h.workDir / "lhb.lhb"));
  EXPECT_EQ(h.readWorkFile("shared/deeper/scores"), "640");
  EXPECT_EQ(h.readWorkFile("shared/table"), repeated("namehex: 0 0\r\n", 6));
  EXPECT_FALSE(h.workFileExists("shared/deeper/scores.tmp"));
  EXPECT_FALSE(h.workFileExists("mg.tol.tmp"));
}

// Mended: a failed write leaves the old file as it was, and the exit goes on.
TEST(RecordFilesTest, AFileThatCannotBeReplacedKeepsItsOldBytes) {
  Harness h;
  const std::string old = "ann 5 10\r\n";
  h.writeWorkFile("lhb.lhb", old);
  h.writeWorkFile("mg.tol", "10");
  fs::create_directory(h.workDir / "lhb.lhb.tmp");  // the temporary file cannot be made
  ASSERT_TRUE(h.start());
  g_bestScore = 640;
  g_records[0] = row("bob", 1, 640);
  EXPECT_EQ(h.quitThroughExitBox(), 0);
  EXPECT_EQ(h.readWorkFile("lhb.lhb"), old);
  EXPECT_EQ(h.readWorkFile("mg.tol"), "640");
  EXPECT_TRUE(fs::is_directory(h.workDir / "lhb.lhb.tmp"));

  EXPECT_FALSE(writeFileAtomically(h.workDir / "missing-folder" / "mg.tol", "1"));
  EXPECT_FALSE(h.workFileExists("missing-folder"));
}

TEST(RecordFilesTest, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporary) {
  Harness h;
  h.writeWorkFile("mg.tol", std::string(500, '7'));
  // The second time over a stale temporary from an interrupted run, which is overwritten.
  for (const char* bytes : {"12", "34"}) {
    ASSERT_TRUE(writeFileAtomically(h.workDir / "mg.tol", bytes));
    EXPECT_EQ(h.readWorkFile("mg.tol"), bytes);
    EXPECT_FALSE(h.workFileExists("mg.tol.tmp"));
    h.writeWorkFile("mg.tol.tmp", "garbage");
  }
}

// Mended: long tokens are cut to a name on a whole character; numbers beyond 32 bits are
// clamped; other integer forms take their leading digits.
TEST(RecordFilesTest, OversizedTokensAndNumbersAreCutAndClamped) {
  constexpr std::int32_t kMost = 2147483647, kLeast = -2147483647 - 1;
  expectTable(tableRead("abcdefghijkl 99999999999 -99999999999\r\n"
                        "\xD5\xC5\xC8\xFD\xB7\xE1\xB7\xE1 2147483648 -2147483648\r\n"
                        "c 2147483647 -2147483649\r\n"
                        "d 007 0x1F\r\n"
                        "e 12abc +5\r\n"
                        "namehex:zz 1 2\r\n"),
              {{"abcdefg", kMost, kLeast},
               {"\xD5\xC5\xC8\xFD\xB7\xE1", kMost, kLeast},
               {"c", kMost, kLeast},
               {"d", 7, 0},
               {"e", 12, 5},
               {"namehex", 1, 2}});
  EXPECT_EQ(bestScoreRead(std::string(100000, '9'), 0), kMost);
  EXPECT_EQ(bestScoreRead("-" + std::string(100000, '9'), kMost), kLeast);
}

TEST(RecordFilesTest, HugeAndBinaryFilesAreReadOnlyAsFarAsTheTableNeeds) {
  Harness h;
  std::string huge = "ann 5 10\r\nbob 6 11\r\n";
  huge += std::string(3 << 20, '\0');
  for (int i = 0; i < 256; ++i) huge += static_cast<char>(i);
  h.writeWorkFile("lhb.lhb", huge);
  // A best score hidden behind more white space than the program ever reads stays 0.
  h.writeWorkFile("mg.tol", std::string(kRecordFileReadLimit, ' ') + "55");
  ASSERT_TRUE(h.start());
  expectRow(g_records[0], "ann", 5, 10);
  expectRow(g_records[1], "bob", 6, 11);
  EXPECT_EQ(nameOf(g_records[2]), "") << "a run of zero bytes is a name that ends at once";
  EXPECT_EQ(g_bestScore, 0);
}

}  // namespace
}  // namespace tolvaro::testing
