// The name-entry dialog: the three ways of closing it, the clear button, the right-click text,
// the hover pictures and the name's cut to 7 bytes.
#include <gtest/gtest.h>

#include "assets/Catalogue.h"
#include "records/RecordTable.h"
#include "screens/NameEntry.h"
#include "support/Harness.h"

namespace tolvaro::testing {
namespace {

using Type = DialogMessageType;

class NameEntryTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    setName(g_records[1], "old");
    g_newRecordSlot = 2;
    g_gameState = STATE_PLAY;
    g_phase = PHASE_LEVEL_INTRO;
  }

  // Runs the dialog with a script and returns what the host saw.
  const DialogRun& run(std::vector<DialogStep> steps) {
    h.host.queueDialog(std::move(steps));
    openNameEntryDialog();
    return h.host.dialogs.back();
  }

  std::string_view storedName() const { return nameOf(g_records[1]); }

  // True when the dialog face shows the whole picture at (x, y).
  static bool showsPicture(const Picture& face, const Picture& picture, int x, int y) {
    if (picture.empty()) return false;
    for (int row = 0; row < picture.height; ++row) {
      for (int col = 0; col < picture.width; ++col) {
        if (face.at(x + col, y + row) != picture.at(col, row)) return false;
      }
    }
    return true;
  }
};

TEST_F(NameEntryTest, EnterEscAndConfirmEachStoreTheTypedNameAndLeaveTheLobby) {
  struct Case {
    const char* name;
    std::vector<DialogStep> steps;
    std::intptr_t result;
  };
  const Case cases[] = {
      {"ann", {DialogStep::type("ann"), DialogStep::send(Type::Command, 1)}, 1},
      {"bob", {DialogStep::type("bob"), DialogStep::send(Type::Command, 2)}, 2},
      // The press's key-state flags give the result.
      {"cid",
       {DialogStep::type("cid"), DialogStep::moveTo(64, 116),
        DialogStep::send(Type::LeftButtonDown, kLeftButtonFlag, 0)},
       1},
      // Other commands (the edit control's notifications) do nothing; low word 1 is Enter
      // whatever the high word.
      {"dan",
       {DialogStep::type("dan"), DialogStep::send(Type::Command, 0x03000000 | 1001),
        DialogStep::send(Type::Command, 0x10000 | 1)},
       1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_gameState = STATE_PLAY;
    const DialogRun& closed = run(c.steps);
    EXPECT_TRUE(closed.endedByScript);
    EXPECT_EQ(closed.templateId, 241);
    EXPECT_EQ(closed.result, c.result);
    EXPECT_EQ(storedName(), c.name);
    EXPECT_EQ(g_gameState, STATE_LOBBY_LEAVE);
    EXPECT_EQ(nameOf(g_records[0]), "") << "only the new row is written";
  }
}

TEST_F(NameEntryTest, EmptyBoxStoresTheEmptyNameAndLongTextIsCutToSevenBytes) {
  run({DialogStep::send(Type::Command, 1)});
  EXPECT_EQ(storedName(), "");
  run({DialogStep::type("abcdefghij"), DialogStep::send(Type::Command, 1)});
  EXPECT_EQ(storedName(), "abcdefg");
  // Mended: "ab张三丰" is 8 bytes; 7 would split 丰, so the name keeps 6.
  run({DialogStep::type("ab\xD5\xC5\xC8\xFD\xB7\xE1"), DialogStep::send(Type::Command, 1)});
  EXPECT_EQ(storedName(), "ab\xD5\xC5\xC8\xFD");
  // "张三丰a" is exactly 7 bytes and stays whole.
  run({DialogStep::type("\xD5\xC5\xC8\xFD\xB7\xE1"
                        "a"),
       DialogStep::send(Type::Command, 1)});
  EXPECT_EQ(storedName(),
            "\xD5\xC5\xC8\xFD\xB7\xE1"
            "a");
}

TEST_F(NameEntryTest, ClearButtonEmptiesTheBoxAndOnlyItsZoneActs) {
  const DialogRun& cleared =
      run({DialogStep::type("zzz"), DialogStep::moveTo(165, 138),
           DialogStep::send(Type::LeftButtonDown), DialogStep::moveTo(154, 120),
           DialogStep::send(Type::LeftButtonDown), DialogStep::moveTo(164, 120),
           DialogStep::send(Type::LeftButtonDown), DialogStep::moveTo(100, 115),
           DialogStep::send(Type::LeftButtonDown), DialogStep::moveTo(100, 139),
           DialogStep::send(Type::LeftButtonDown)});
  EXPECT_FALSE(cleared.endedByScript) << "no press outside the confirm button closes it";
  EXPECT_EQ(cleared.finalText, "");
  EXPECT_EQ(storedName(), "") << "the host's Esc stored the cleared box";

  const DialogRun& kept = run({DialogStep::type("yy"), DialogStep::moveTo(253, 116),
                               DialogStep::send(Type::LeftButtonDown, 0, packPosition(100, 120))});
  EXPECT_EQ(kept.finalText, "");
  const DialogRun& closed = run({DialogStep::type("xx"), DialogStep::moveTo(153, 138),
                                 DialogStep::send(Type::LeftButtonDown)});
  EXPECT_TRUE(closed.endedByScript);
  EXPECT_EQ(storedName(), "xx");
}

TEST_F(NameEntryTest, RightClickShowsTheLastMousePositionWhichIsKeptInDialogCoordinates) {
  const DialogRun& shown = run({DialogStep::type("ann"), DialogStep::moveTo(100, 120),
                                DialogStep::send(Type::RightButtonDown, 0, packPosition(5, 5))});
  EXPECT_EQ(shown.finalText, "x: 100 , y: 120");
  EXPECT_EQ(storedName(), "x: 100 ");
  EXPECT_EQ(g_mouseX, 100);
  EXPECT_EQ(g_mouseY, 120);
}

TEST_F(NameEntryTest, HoveredButtonsAreDrawnTwoPixelsHigherAndOnlyOutsideBothZonesAreBothRedrawn) {
  const Picture& confirmHovered = g_dialogButtonPictures[0];  // 245
  const Picture& clearHovered = g_dialogButtonPictures[1];    // 246
  const Picture& clearNormal = g_dialogButtonPictures[2];     // 247
  const Picture& confirmNormal = g_dialogButtonPictures[3];   // 248
  ASSERT_FALSE(confirmHovered.empty());

  const DialogRun& confirm = run({DialogStep::moveTo(64, 116)});
  EXPECT_TRUE(showsPicture(confirm.face, confirmHovered, 63, 109));

  // From confirm straight onto clear: confirm keeps its hovered picture.
  const DialogRun& both = run({DialogStep::moveTo(153, 130), DialogStep::moveTo(253, 130)});
  EXPECT_TRUE(showsPicture(both.face, confirmHovered, 63, 109));
  EXPECT_TRUE(showsPicture(both.face, clearHovered, 164, 109));

  // Out of the button row: both normal at y 111 (rows 109 and 110 keep what was there).
  const DialogRun& out = run(
      {DialogStep::moveTo(100, 120), DialogStep::moveTo(200, 120), DialogStep::moveTo(200, 139)});
  EXPECT_TRUE(showsPicture(out.face, confirmNormal, 63, 111));
  EXPECT_TRUE(showsPicture(out.face, clearNormal, 164, 111));
  EXPECT_FALSE(showsPicture(out.face, confirmHovered, 63, 109));

  // In the row but between the buttons: both normal too.
  const DialogRun& gap = run({DialogStep::moveTo(100, 120), DialogStep::moveTo(159, 120)});
  EXPECT_TRUE(showsPicture(gap.face, confirmNormal, 63, 111));
  EXPECT_TRUE(showsPicture(gap.face, clearNormal, 164, 111));
}

TEST_F(NameEntryTest, ThePressAfterTheDialogUsesItsLastPosition) {
  // The records screen's confirm button lies at (373..474, 548..570) of the main window; a
  // dialog move to (400, 560) in dialog coordinates leaves the main window's press there.
  run({DialogStep::moveTo(400, 560), DialogStep::send(Type::Command, 1)});
  g_gameState = STATE_PLAY;
  g_phase = PHASE_RECORDS;
  h.click();
  EXPECT_EQ(g_gameState, STATE_LOBBY);
}

}  // namespace
}  // namespace tolvaro::testing
