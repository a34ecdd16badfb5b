// The record check's ranking and the records screen: board, values, marker and its two buttons.
#include <gtest/gtest.h>

#include <string>

#include "app/Program.h"
#include "assets/Catalogue.h"
#include "records/RecordTable.h"
#include "screens/Lobby.h"
#include "support/Harness.h"
#include "support/RecordRows.h"

namespace tolvaro {
namespace {

using testing::Harness;

using testing::expectRow;
using testing::row;

// Scores 600 down to 100, 50 seconds each, named a to f.
RecordTable rankedTable() {
  RecordTable table;
  for (int i = 0; i < kRecordRows; ++i) {
    table[i] = row(std::string(1, static_cast<char>('a' + i)), 50, 600 - 100 * i);
  }
  return table;
}

class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_newRecordSlot = 0;
    g_newRecordPending = 0;
  }
};

TEST_F(RankingTest, StartTableTakesNoZeroScoreAndTheFirstPositiveGoesToRowOne) {
  RecordTable table{};
  std::int32_t score = 0;
  EXPECT_EQ(enterRecord(table, 12, score), 0);
  EXPECT_EQ(g_newRecordSlot, 0);
  EXPECT_EQ(g_newRecordPending, 0);
  for (const RecordEntry& entry : table) expectRow(entry, "", 0, 0);

  score = 3;
  EXPECT_EQ(enterRecord(table, 12, score), 1);
  EXPECT_EQ(score, 0) << "the check clears the score it was given";
  EXPECT_EQ(g_newRecordSlot, 1);
  EXPECT_EQ(g_newRecordPending, 1);
  expectRow(table[0], "", 12, 3);
  for (int i = 1; i < kRecordRows; ++i) expectRow(table[i], "", 0, 0);
}

TEST_F(RankingTest, ResultEqualToRowSixDoesNotEnterOneSecondLessDoes) {
  RecordTable table = rankedTable();
  std::int32_t score = 100;
  EXPECT_EQ(enterRecord(table, 50, score), 0);
  EXPECT_EQ(score, 100) << "a result that does not enter changes nothing";
  EXPECT_EQ(g_newRecordSlot, 0);
  EXPECT_EQ(g_newRecordPending, 0);
  expectRow(table[5], "f", 50, 100);

  EXPECT_EQ(enterRecord(table, 49, score), 1);
  EXPECT_EQ(g_newRecordSlot, 6);
  // The old row 6 is gone; its name stays until the dialog stores the player's.
  expectRow(table[5], "f", 49, 100);
  expectRow(table[4], "e", 50, 200);
}

TEST_F(RankingTest, AtEqualScoreFasterRanksHigherAndTheNewerGoesBelowTheOlder) {
  RecordTable table = rankedTable();
  std::int32_t score = 300;
  EXPECT_EQ(enterRecord(table, 40, score), 1);
  EXPECT_EQ(g_newRecordSlot, 4);
  expectRow(table[3], "d", 40, 300);  // the name copied one row down is still there
  expectRow(table[4], "d", 50, 300);
  expectRow(table[5], "e", 50, 200);  // row 6 (f) fell out

  score = 300;
  EXPECT_EQ(enterRecord(table, 50, score), 1);
  EXPECT_EQ(g_newRecordSlot, 6) << "same score and time: below the older result";
  expectRow(table[4], "d", 50, 300);
  expectRow(table[5], "e", 50, 300);
}

TEST_F(RankingTest, EntryAtRowOneMovesRowsOneToFiveDown) {
  RecordTable table = rankedTable();
  std::int32_t score = 1100;
  EXPECT_EQ(enterRecord(table, 500, score), 1);
  EXPECT_EQ(g_newRecordSlot, 1);
  expectRow(table[0], "a", 500, 1100);
  expectRow(table[1], "a", 50, 600);
  expectRow(table[2], "b", 50, 500);
  expectRow(table[5], "e", 50, 200);
}

TEST_F(RankingTest, ClearedTableTakesAZeroScoreFasterThan9999Seconds) {
  Harness h;
  ASSERT_TRUE(h.start());
  g_records = rankedTable();
  clearRecords();
  for (const RecordEntry& entry : g_records) expectRow(entry, "someone", 9999, 0);
  std::int32_t score = 0;
  EXPECT_EQ(enterRecord(g_records, 9999, score), 0);
  EXPECT_EQ(enterRecord(g_records, 9998, score), 1);
  EXPECT_EQ(g_newRecordSlot, 1);
  expectRow(g_records[0], "someone", 9998, 0);
  expectRow(g_records[1], "someone", 9999, 0);
}

TEST_F(RankingTest, TableOutOfOrderFollowsTheStepsExactly) {
  RecordTable table;
  const int scores[] = {10, 500, 20, 400, 30, 5};
  for (int i = 0; i < kRecordRows; ++i) {
    table[i] = row(std::string(1, static_cast<char>('a' + i)), 50, scores[i]);
  }
  // Step 2 passes rows 6 (5) and 5 (30) and stops at row 4 (400): the result lands at row 5.
  std::int32_t score = 100;
  EXPECT_EQ(enterRecord(table, 50, score), 1);
  EXPECT_EQ(g_newRecordSlot, 5);
  expectRow(table[4], "e", 50, 100);
  expectRow(table[5], "e", 50, 30);
}

// The records screen, as a finished game reaches it.
class RecordsScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.start());
    for (int i = 0; i < kRecordRows; ++i) {
      g_records[i] = row("p" + std::to_string(i + 1), 100 + i, 900 - 100 * i);
    }
    g_newRecordSlot = 3;
    g_gameState = STATE_PLAY;
    g_phase = PHASE_RECORDS;
    h.pass();
  }

  // Bounding box of the text-coloured pixels that differ from the board in a region.
  struct Box {
    int left = 10000, top = 10000, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
  };
  Box textBox(int x0, int y0, int x1, int y1) const {
    Box box;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const std::uint32_t board = g_recordsBoardPicture.at(x - 227, y - 184);
        if (h.pixel(x, y) == kTextColour && board != kTextColour) {
          box.left = std::min(box.left, x);
          box.top = std::min(box.top, y);
          box.right = std::max(box.right, x);
          box.bottom = std::max(box.bottom, y);
        }
      }
    }
    return box;
  }

  void clickAt(int x, int y) {
    h.move(x, y);
    h.click();
  }

  Harness h;
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
      const Box box = textBox(columnX[c] - 20, rowTop[r] - 8, columnX[c] + 60, rowTop[r] + 24);
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
    clickAt(p[0], p[1]);
    EXPECT_EQ(g_gameState, STATE_PLAY) << p[0] << "," << p[1];
    EXPECT_EQ(g_phase, PHASE_RECORDS);
    expectRow(g_records[0], "p1", 100, 900);
  }
  for (int key : {13, 27, static_cast<int>('A')}) h.key(key);
  EXPECT_EQ(g_phase, PHASE_RECORDS) << "keys do nothing on the records screen";
  EXPECT_EQ(h.host.sounds.size(), soundsAtStart) << "no press or key here plays a sound";

  clickAt(637, 570);  // the clear button's far corner
  for (const RecordEntry& entry : g_records) expectRow(entry, "someone", 9999, 0);
  EXPECT_EQ(g_phase, PHASE_RECORDS);
  EXPECT_EQ(g_newRecordSlot, 3) << "the marker stays beside the same row";

  g_records[0] = row("q", 1, 1);
  clickAt(533, 548);
  expectRow(g_records[0], "someone", 9999, 0);

  const std::size_t soundsBefore = h.host.sounds.size();
  h.move(474, 570);
  h.host.pushLeftDown(10, 10);  // the press's own position does not count
  h.pass();
  EXPECT_EQ(g_gameState, STATE_LOBBY);
  EXPECT_EQ(g_phase, PHASE_PANEL);
  EXPECT_EQ(h.host.sounds.size(), soundsBefore) << "neither button plays a sound";
}

TEST_F(RecordsScreenTest, ConfirmLeftEdgeActsToo) {
  clickAt(373, 548);
  EXPECT_EQ(g_gameState, STATE_LOBBY);
  EXPECT_EQ(g_phase, PHASE_PANEL);
}

}  // namespace
}  // namespace tolvaro
