// The record check's ranking and the records screen: board, values, marker and its two buttons.
#include <gtest/gtest.h>

#include <string>

#include "assets/Catalogue.h"
#include "records/RecordTable.h"
#include "screen_checks.h"
#include "screens/Lobby.h"
#include "support/Harness.h"
#include "support/RecordRows.h"

namespace tolvaro::testing {
namespace {

// Rows named a to f, 50 seconds each, with the given scores (600 down to 100 unless told).
RecordTable rankedTable(const std::array<std::int32_t, kRecordRows>& scores = {600, 500, 400, 300,
                                                                               200, 100}) {
  RecordTable table;
  for (int i = 0; i < kRecordRows; ++i) {
    table[i] = row(std::string(1, static_cast<char>('a' + i)), 50, scores[i]);
  }
  return table;
}

class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_newRecordSlot = 0;
    g_newRecordPending = 0;
  }
  // The check of a result; expects what it returns, the row it fills and the pending flag.
  static void expectEntered(RecordTable& table, std::int32_t useTime, std::int32_t& score,
                            int slot) {
    EXPECT_EQ(enterRecord(table, useTime, score), slot == 0 ? 0 : 1);
    EXPECT_EQ(g_newRecordSlot, slot);
    if (slot == 0) {
      EXPECT_EQ(g_newRecordPending, 0);
    }
  }
};

TEST_F(RankingTest, StartTableTakesNoZeroScoreAndTheFirstPositiveGoesToRowOne) {
  RecordTable table{};
  std::int32_t score = 0;
  expectEntered(table, 12, score, 0);
  expectTable(table, {});

  score = 3;
  expectEntered(table, 12, score, 1);
  EXPECT_EQ(score, 0) << "the check clears the score it was given";
  EXPECT_EQ(g_newRecordPending, 1);
  expectTable(table, {{"", 12, 3}});
}

TEST_F(RankingTest, ResultEqualToRowSixDoesNotEnterOneSecondLessDoes) {
  RecordTable table = rankedTable();
  std::int32_t score = 100;
  expectEntered(table, 50, score, 0);
  EXPECT_EQ(score, 100) << "a result that does not enter changes nothing";
  expectRow(table[5], "f", 50, 100);

  expectEntered(table, 49, score, 6);
  // The old row 6 is gone; its name stays until the dialog stores the player's.
  expectRow(table[5], "f", 49, 100);
  expectRow(table[4], "e", 50, 200);
}

TEST_F(RankingTest, AtEqualScoreFasterRanksHigherAndTheNewerGoesBelowTheOlder) {
  RecordTable table = rankedTable();
  std::int32_t score = 300;
  expectEntered(table, 40, score, 4);
  expectRow(table[3], "d", 40, 300);  // the name copied one row down is still there
  expectRow(table[4], "d", 50, 300);
  expectRow(table[5], "e", 50, 200);  // row 6 (f) fell out

  score = 300;
  SCOPED_TRACE("same score and time: below the older result");
  expectEntered(table, 50, score, 6);
  expectRow(table[4], "d", 50, 300);
  expectRow(table[5], "e", 50, 300);
}

TEST_F(RankingTest, EntryAtRowOneMovesRowsOneToFiveDown) {
  RecordTable table = rankedTable();
  std::int32_t score = 1100;
  expectEntered(table, 500, score, 1);
  expectTable(table, {{"a", 500, 1100},
                      {"a", 50, 600},
                      {"b", 50, 500},
                      {"c", 50, 400},
                      {"d", 50, 300},
                      {"e", 50, 200}});
}

TEST_F(RankingTest, ClearedTableTakesAZeroScoreFasterThan9999Seconds) {
  Harness h;
  ASSERT_TRUE(h.start());
  g_records = rankedTable();
  clearRecords();
  expectTable(g_records, {}, {"someone", 9999, 0});
  std::int32_t score = 0;
  EXPECT_EQ(enterRecord(g_records, 9999, score), 0);
  expectEntered(g_records, 9998, score, 1);
  expectTable(g_records, {{"someone", 9998, 0}}, {"someone", 9999, 0});
}

TEST_F(RankingTest, TableOutOfOrderFollowsTheStepsExactly) {
  RecordTable table = rankedTable({10, 500, 20, 400, 30, 5});
  // Step 2 passes rows 6 (5) and 5 (30) and stops at row 4 (400): the result lands at row 5.
  std::int32_t score = 100;
  expectEntered(table, 50, score, 5);
  expectRow(table[4], "e", 50, 100);
  expectRow(table[5], "e", 50, 30);
}

// The records screen, as a finished game reaches it.
class RecordsScreenTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    for (int i = 0; i < kRecordRows; ++i) {
      g_records[i] = row("p" + std::to_string(i + 1), 100 + i, 900 - 100 * i);
    }
    g_newRecordSlot = 3;
    g_gameState = STATE_PLAY;
    g_phase = PHASE_RECORDS;
    h.pass();
  }
};

TEST_F(RecordsScreenTest, BoardValuesAndMarkerSitAtTheirPlaces) {
  ASSERT_FALSE(g_recordsBoardPicture.empty());
  ASSERT_FALSE(g_recordsMarkerPicture.empty());
  h.screenshot("records_screen");
  const Picture& background = g_themeBackgrounds[0];
  EXPECT_EQ(h.pixel(5, 5), background.at(5, 5));
  EXPECT_EQ(h.pixel(1000, 700), background.at(1000, 700));
  // The board's corners, where nothing is drawn over it.
  EXPECT_EQ(h.pixel(227, 184), g_recordsBoardPicture.at(0, 0));
  EXPECT_EQ(h.pixel(796, 583), g_recordsBoardPicture.at(569, 399));
  EXPECT_EQ(h.pixel(226, 184), background.at(226, 184));

  const int rowTop[] = {250, 302, 355, 411, 461, 512};
  const int columnX[] = {361, 529, 704};
  for (int r = 0; r < kRecordRows; ++r) {
    for (int c = 0; c < 3; ++c) {
      SCOPED_TRACE("row " + std::to_string(r + 1) + " column " + std::to_string(c));
      const TextBox box = textOver(g_recordsBoardPicture, 227, 184, columnX[c] - 20, rowTop[r] - 8,
                                   columnX[c] + 60, rowTop[r] + 24);
      ASSERT_FALSE(box.empty());
      EXPECT_GE(box.left, columnX[c]);
      EXPECT_LT(box.left, columnX[c] + 8);
      EXPECT_GE(box.top, rowTop[r]);
      EXPECT_LT(box.bottom, rowTop[r] + 16);
    }
  }
  // The marker: keyed black, beside row 3 at (755, 349).
  int markerPixels = 0;
  for (int y = 0; y < 22; ++y) {
    for (int x = 0; x < 22; ++x) {
      const std::uint32_t marker = g_recordsMarkerPicture.at(x, y);
      const std::uint32_t expected =
          marker == kBlack ? g_recordsBoardPicture.at(755 - 227 + x, 349 - 184 + y) : marker;
      EXPECT_EQ(h.pixel(755 + x, 349 + y), expected) << x << "," << y;
      markerPixels += marker != kBlack;
    }
  }
  EXPECT_GT(markerPixels, 100);
}

TEST_F(RecordsScreenTest, ButtonBoundsAreInclusiveAndOnlyThePressPositionOfTheLastMoveCounts) {
  const std::size_t soundsAtStart = h.host.sounds.size();
  const int presses[][2] = {{373, 547}, {373, 571}, {475, 560}, {532, 560}, {638, 560}, {500, 560}};
  for (const auto& p : presses) {
    h.clickAt(p[0], p[1]);
    EXPECT_EQ(g_gameState, STATE_PLAY) << p[0] << "," << p[1];
    EXPECT_EQ(g_phase, PHASE_RECORDS);
    expectRow(g_records[0], "p1", 100, 900);
  }
  for (std::uint32_t key : {kKeyEnter, kKeyEscape, kKeyA}) h.key(key);
  EXPECT_EQ(g_phase, PHASE_RECORDS) << "keys do nothing on the records screen";
  EXPECT_EQ(h.host.sounds.size(), soundsAtStart) << "no press or key here plays a sound";

  h.clickAt(637, 570);  // the clear button's far corner
  expectTable(g_records, {}, {"someone", 9999, 0});
  EXPECT_EQ(g_phase, PHASE_RECORDS);
  EXPECT_EQ(g_newRecordSlot, 3) << "the marker stays beside the same row";

  g_records[0] = row("q", 1, 1);
  h.clickAt(533, 548);
  expectRow(g_records[0], "someone", 9999, 0);

  const std::size_t soundsBefore = h.host.sounds.size();
  h.move(474, 570);
  h.host.pushLeftDown(10, 10);  // the press's own position does not count
  h.pass();
  EXPECT_TRUE(screenIs(STATE_LOBBY, PHASE_PANEL));
  EXPECT_EQ(h.host.sounds.size(), soundsBefore) << "neither button plays a sound";
}

TEST_F(RecordsScreenTest, ConfirmLeftEdgeActsToo) {
  h.clickAt(373, 548);
  EXPECT_TRUE(screenIs(STATE_LOBBY, PHASE_PANEL));
}

}  // namespace
}  // namespace tolvaro::testing
