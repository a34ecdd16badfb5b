// The record files keep up with the run: once a record has its name, a game has ended with a
// new best score, or the table has been cleared, both files already hold what the orderly exit
// would write, so a process killed at any later moment loses nothing.
#include <gtest/gtest.h>

#include <string>

#include "support/Harness.h"

namespace tolvaro::testing {
namespace {

struct Files {
  std::string best, table;
  bool operator==(const Files&) const = default;
};
void PrintTo(const Files& f, std::ostream* out) {
  *out << "mg.tol \"" << f.best << "\", lhb.lhb \"" << f.table << "\"";
}
Files filesOf(const Harness& h) {
  return {h.readWorkFile("mg.tol"), h.readWorkFile("lhb.lhb")};
}

// Six rows no game of a few points can enter, in a loose form a save rewrites.
const std::string kUnbeatable = "a 1 1100\nb 1 1100\nc 1 1100\nd 1 1100\ne 1 1100\nf 1 1100\n";
const std::string kUnbeatableWritten = "a 1 1100\r\nb 1 1100\r\nc 1 1100\r\nd 1 1100\r\n"
                                       "e 1 1100\r\nf 1 1100\r\n";
const std::string kCleared = [] {
  std::string text;
  for (int i = 0; i < 6; ++i) text += "someone 9999 0\r\n";
  return text;
}();

struct Moment {
  const char* what;
  Files seeded;
  bool clearAfterwards;  // on the records screen the record leads to
  // What the files hold right after the moment, besides equalling what the exit writes.
  bool bestWritten, tableWritten;
  std::string tableStart;
};

const Moment kMoments[] = {
    {"a record gets its name", {"0", ""}, false, true, true, "kid "},
    {"the records screen's 清除 empties the table", {"0", ""}, true, true, true, kCleared},
    {"a new best score without a record", {" 0\n", kUnbeatable}, false, true, true,
     kUnbeatableWritten},
    {"no new best and no record: nothing is written", {" 5000\n", kUnbeatable}, false, false,
     false, kUnbeatable},
};

TEST(Saves, EachMomentLeavesTheFilesTheExitWouldWrite) {
  for (const Moment& m : kMoments) {
    SCOPED_TRACE(m.what);
    Harness h;
    h.writeWorkFile("mg.tol", m.seeded.best);
    h.writeWorkFile("lhb.lhb", m.seeded.table);
    ASSERT_TRUE(h.playAndAbandon("kid"));
    if (m.clearAfterwards) {
      ASSERT_TRUE(autoplay::runUntil(Screen::Records));
      h.clickAt(533, 548);
    }
    const Files now = filesOf(h);
    EXPECT_EQ(now.best == m.seeded.best, !m.bestWritten) << now.best;
    EXPECT_EQ(now.table == m.seeded.table, !m.tableWritten) << now.table;
    EXPECT_EQ(now.table.substr(0, m.tableStart.size()), m.tableStart);
    const std::int32_t best = autoplay::scoreboard().bestScore;
    ASSERT_EQ(h.quitFromRecordsOrLobby(), 0);
    if (m.bestWritten && m.tableWritten) {
      EXPECT_EQ(now, filesOf(h));
    }
    EXPECT_EQ(filesOf(h).best, std::to_string(best));
  }
}

// A process that dies while the name dialog is open keeps the new best score, and no row of
// the record file carries a name that is not the player's.
TEST(Saves, WhileTheNameDialogIsOpenTheBestScoreIsKeptAndTheTableWaitsForTheName) {
  Harness h;
  h.writeWorkFile("mg.tol", "0");
  h.writeWorkFile("lhb.lhb", kUnbeatable.substr(0, 10));
  Files whileOpen;
  ASSERT_TRUE(h.playAndAbandon("kid", [&] { whileOpen = filesOf(h); }));
  const std::string best = std::to_string(autoplay::scoreboard().bestScore);
  EXPECT_EQ(whileOpen, (Files{best, kUnbeatable.substr(0, 10)}));
  EXPECT_EQ(filesOf(h).best, best);
  EXPECT_EQ(filesOf(h).table.substr(0, 14), "a 1 1100\r\nkid ");
}

}  // namespace
}  // namespace tolvaro::testing
