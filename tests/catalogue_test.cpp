// Loading the program's pictures at start-up: their order, their sizes, and what happens when a
// picture or file is missing or has another size.
#include "assets/Catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "base/Bmp.h"
#include "support/Harness.h"

namespace tolvaro {
namespace {

namespace fs = std::filesystem;
using testing::Harness;

std::vector<int> bitmapRequests(const HeadlessHost& host) {
  std::vector<int> ids;
  for (const auto& r : host.resourceRequests)
    if (r.type == ResourceType::Bitmap) ids.push_back(r.id);
  return ids;
}

TEST(Catalogue, ResourceBitmapsLoadInTheirOrder) {
  Harness h;
  ASSERT_TRUE(h.start());
  const std::vector<int> expected = {
      176, 143,                                                              // window, background
      148, 153, 147, 146, 145, 144, 150, 149, 152, 151, 154,                 // menu
      180, 157, 158, 159, 160, 161, 164, 162, 163, 166, 169, 170, 155, 165,  // theme 0
      183, 194, 182, 187, 188, 190, 189, 191, 181, 193, 192, 184, 185, 186,  // theme 1
      208, 220, 207, 212, 213, 215, 214, 216, 206, 218, 217, 209, 210, 211,  // theme 2
      234, 235, 229, 230, 232, 233, 231,                                     // game
      177, 195,                                                              // load-game list
      171, 224, 226, 225, 228, 227,                                          // about
      238, 239, 240,                                                         // exit box
      243, 244, 245, 246, 248, 247,                                          // records, dialog
      174};                                                                  // shot
  EXPECT_EQ(bitmapRequests(h.host), expected);
}

TEST(Catalogue, EveryHandleHoldsItsPictureAtItsSize) {
  Harness h;
  ASSERT_TRUE(h.start());
  std::set<const Picture*> handles;
  for (const BitmapEntry& r : kBitmapCatalogue) {
    const Picture* slot = bitmapSlot(r.id);
    const bool loaded = bitmapIndex(r.id) < kLoadedBitmapCount;
    EXPECT_EQ(slot != nullptr, loaded) << "bitmap " << r.id;
    if (!slot) continue;
    EXPECT_TRUE(handles.insert(slot).second) << "bitmap " << r.id << " shares a handle";
    EXPECT_EQ(slot->width, r.width) << "bitmap " << r.id;
    EXPECT_EQ(slot->height, r.height) << "bitmap " << r.id;
  }
  for (int n = 1; n <= 49; ++n) {
    EXPECT_EQ(g_menuBugFrames[n].width, 204) << n;
    EXPECT_EQ(g_menuBugFrames[n].height, 51) << n;
  }
  EXPECT_TRUE(g_menuBugFrames[0].empty());
  for (const Picture& tile : g_letterTiles) {
    EXPECT_EQ(tile.width, 20);
    EXPECT_EQ(tile.height, 20);
  }
  EXPECT_EQ(g_levelDigitPictures[0].width, 0);
  // Each theme's pictures are its own: the three backgrounds differ.
  EXPECT_NE(g_themeBackgrounds[0].pixels, g_themeBackgrounds[1].pixels);
  EXPECT_NE(g_themeBackgrounds[1].pixels, g_themeBackgrounds[2].pixels);
}

TEST(Catalogue, GeneratedBitmapsHaveTheirListedDepth) {
  for (const BitmapEntry& r : kBitmapCatalogue) {
    std::ifstream in(testing::generatedDir() / "bitmap" / (std::to_string(r.id) + ".bmp"),
                     std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const auto info = readBitmapInfo(bytes);
    ASSERT_TRUE(info) << "bitmap " << r.id;
    EXPECT_EQ(info->bitsPerPixel, r.depth) << "bitmap " << r.id;
    EXPECT_EQ(info->width, r.width) << "bitmap " << r.id;
    EXPECT_EQ(info->height, r.height) << "bitmap " << r.id;
  }
}

// A working directory whose charImg folder is a real copy, so single tiles can be changed.
void copyTiles(const Harness& h) {
  fs::remove(h.workDir / "charImg");
  fs::copy(testing::generatedDir() / "charImg", h.workDir / "charImg");
}

TEST(Catalogue, MissingFilesAndResourcesLeaveEmptyHandlesAndStartUpGoesOn) {
  const fs::path resources = fs::temp_directory_path() / "tolvaro-partial-resources";
  fs::remove_all(resources);
  fs::create_directories(resources);
  for (const char* dir : {"wave", "glyphs", "icon"})
    fs::create_directory_symlink(fs::absolute(testing::generatedDir() / dir), resources / dir);
  fs::create_directories(resources / "bitmap");
  for (const auto& entry : fs::directory_iterator(testing::generatedDir() / "bitmap"))
    if (entry.path().filename() != "143.bmp" && entry.path().filename() != "238.bmp")
      fs::create_symlink(entry.path(), resources / "bitmap" / entry.path().filename());

  Harness h;
  HeadlessHost partial(resources);
  copyTiles(h);
  fs::remove(h.workDir / "charImg" / "65.bmp");
  fs::remove(h.workDir / "mouse6.ani");
  ASSERT_TRUE(startUp(partial));
  EXPECT_TRUE(g_menuBackground.empty());
  EXPECT_TRUE(g_exitBoxPicture.empty());
  EXPECT_FALSE(g_menuMarkerPicture.empty());
  EXPECT_TRUE(g_letterTiles[0].empty());
  EXPECT_FALSE(g_letterTiles[1].empty());
  EXPECT_FALSE(g_shotBitmap.empty());
  // The program runs on without them.
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(runPass(nullptr));
  EXPECT_EQ(partial.presents, 30);
  fs::remove_all(resources);
}

TEST(Catalogue, AFileOfAnotherSizeIsStretchedToItsPlace) {
  Harness h;
  copyTiles(h);
  // A 2 x 1 tile for 'B': red on the left, blue on the right.
  const std::uint8_t
      tiny[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0,   0,   54, 0, 0, 0,  // file header
                40,  0,   0,  0, 2, 0, 0, 0, 1,   0,   0,  0, 1, 0, 24, 0, 0,
                0,   0,   0,  8, 0, 0, 0, 0, 0,   0,   0,  0, 0, 0, 0,  0, 0,
                0,   0,   0,  0, 0, 0, 0, 0, 255, 255, 0,  0, 0, 0};  // BGR red, BGR blue, padding
  std::ofstream(h.workDir / "charImg" / "66.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(tiny), sizeof tiny);
  ASSERT_TRUE(h.start());
  const Picture& b = g_letterTiles[1];
  ASSERT_EQ(b.width, 20);
  ASSERT_EQ(b.height, 20);
  EXPECT_EQ(b.at(0, 0), 0xFF0000u);
  EXPECT_EQ(b.at(9, 19), 0xFF0000u);
  EXPECT_EQ(b.at(10, 0), 0x0000FFu);
  EXPECT_EQ(b.at(19, 19), 0x0000FFu);
}

TEST(Catalogue, WorkingDirectoryNamesUseTheirBackslashOnEveryHost) {
  EXPECT_EQ(menuBugFramePath(7), "03_16\\chongzi7.bmp");
  EXPECT_EQ(letterTilePath('Z'), "charImg\\90.bmp");
  g_workingDirectory = "/base";
  EXPECT_EQ(workingPath("charImg\\90.bmp"), fs::path("/base/charImg/90.bmp"));
  EXPECT_EQ(workingPath("mg.tol"), fs::path("/base/mg.tol"));
  g_workingDirectory.clear();
}

}  // namespace
}  // namespace tolvaro
