// Presenting only what changed: a window that is sent nothing but each present's changed
// rectangles shows, frame after frame, the very picture a whole present shows, on every screen
// and through a game; scaled to 1920 x 1080 as well. Resting screens change little or nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "frame/FrameChanges.h"
#include "hosts/shared/Letterbox.h"
#include "hosts/shared/Scaler.h"
#include "base/Files.h"
#include "state/Session.h"
#include "support/Harness.h"

namespace tolvaro::testing {
namespace {

constexpr long kScreenArea = static_cast<long>(kScreenWidth) * kScreenHeight;

// Checks every present: the picture rebuilt from the changes alone against the whole one.
class ChangeWatch {
 public:
  explicit ChangeWatch(HeadlessHost& host) {
    host.onPresent = [this, &host](PixelView whole) {
      ++frames;
      const Picture& rebuilt = host.shownChanges();
      if (std::memcmp(rebuilt.pixels.data(), whole.pixels, rebuilt.pixels.size() * 4) != 0 &&
          wrong++ == 0) {
        firstWrong = frames;
      }
      changedArea = 0;
      for (const PixelRect& rect : host.lastChanges) changedArea += static_cast<long>(rect.w) * rect.h;
    };
  }
  int frames = 0, wrong = 0, firstWrong = 0;
  long changedArea = 0;  // of the last present
};

TEST(PresentedChanges, RebuildEveryFrameOfEveryScreenAndAGame) {
  Harness h;
  ChangeWatch watch(h.host);
  ASSERT_TRUE(h.startAtRestingMenu());
  for (int y : {220, 300, 380, 460, 540, 100}) {  // over each item and off them
    h.move(800, y);
    h.passes(3);
  }
  h.passes(20);
  // Only the bug's animation moves on the resting menu.
  EXPECT_GT(watch.changedArea, 0);
  EXPECT_LT(watch.changedArea, kScreenArea / 10);

  h.key(kKeyEscape);
  h.passes(25);
  h.move(420, 400);
  h.passes(2);
  h.clickAt(500, 400);  // No
  h.passes(48);
  h.clickAt(800, 305);  // the load-game list
  h.passes(5);
  h.move(500, 291);
  h.pass();
  h.clickAt(500, 560);  // Back
  h.passes(47);
  h.clickAt(800, 385);  // the settings notice, which stands still
  h.passes(4);
  EXPECT_EQ(watch.changedArea, 0);
  h.key(kKeyEscape);
  h.passes(48);
  h.clickAt(800, 465);  // about: a card's whole curtain, then back
  h.passes(800);
  h.key(kKeyEscape);
  h.passes(48);

  ASSERT_TRUE(h.openIdleLobby());
  for (int theme = 0; theme < 3; ++theme) {  // each slides out and in again
    h.clickAt(800, 420);
    ASSERT_TRUE(autoplay::runUntil(Screen::Lobby));
    h.pass();
  }
  h.pressStart();
  h.pass();
  h.key(kKeyEnter);
  ASSERT_TRUE(h.playUntil([] { return score() >= 110; }));  // through the second announcement
  h.host.queueDialog({DialogStep::type("ann"), DialogStep::send(DialogMessageType::Command, 1)});
  h.key(kKeyEscape);
  ASSERT_TRUE(autoplay::runUntil(Screen::Records));
  h.passes(3);
  h.clickAt(400, 560);
  ASSERT_TRUE(autoplay::runUntil(Screen::Lobby));
  h.key(kKeyEscape);
  ASSERT_TRUE(autoplay::runUntil(Screen::MainMenu));
  EXPECT_EQ(h.quitThroughExitBox(), 0);

  EXPECT_GT(watch.frames, 2000);
  EXPECT_EQ(watch.wrong, 0) << "the first in frame " << watch.firstWrong;
}

// Each drawing operation notes every pixel it writes, so a change in the column or row just past
// a compared block's edge is found.
TEST(PresentedChanges, EveryDrawingOperationIsNotedToItsLastColumnAndRow) {
  const Picture tile(3, 3, 0x00112233);
  GlyphSet glyphs;
  glyphs.load(readFile(generatedDir() / "glyphs" / "gbk16.bin"));
  using Draw = std::function<void(Picture&, int)>;
  const std::pair<const char*, Draw> draws[] = {
      {"opaque", [&](Picture& p, int x) { copyOpaque(p, tile, x, 2); }},
      {"keyed", [&](Picture& p, int x) { copyKeyed(p, tile, x, 2, kWhite); }},
      {"fill", [](Picture& p, int x) { fillRect(p, x, 2, x + 3, 5, 0x00445566); }},
      {"text", [&](Picture& p, int x) { glyphs.draw(p, x - 5, 2, "W", kTextColour); }},
      {"wide text",
       [&](Picture& p, int x) { glyphs.draw(p, x - 14, 2, "\xD7\xA3", kTextColour); }},
  };
  for (const auto& [name, draw] : draws) {
    for (int x : {61, 62, 63, 64}) {
      Picture picture(256, 24);
      FrameChanges changes;
      changes.reset(picture);
      changes.update(picture);
      Picture shown = picture;
      draw(picture, x);
      for (const PixelRect& r : changes.update(picture)) {
        for (int y = r.y; y < r.y + r.h; ++y)
          std::copy_n(picture.ptr(r.x, y), r.w, shown.ptr(r.x, y));
      }
      EXPECT_NE(picture.pixels, Picture(256, 24).pixels) << name;
      EXPECT_EQ(shown.pixels, picture.pixels) << name << " at " << x;
    }
  }
}

// A background put again where it stands shows none of what was drawn over it, to the last
// column and row, and a background put elsewhere is copied whole. So does a black one.
TEST(PresentedChanges, ABackgroundPutAgainCoversEverythingDrawnOverIt) {
  Harness h;
  ASSERT_TRUE(h.start());
  Picture background(kScreenWidth, kScreenHeight);
  for (std::size_t i = 0; i < background.pixels.size(); ++i)
    background.pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  const Picture tile(3, 3, 0x00112233);
  using Draw = std::function<void(int)>;
  const std::pair<const char*, Draw> draws[] = {
      {"opaque", [&](int x) { copyOpaque(g_backBuffer, tile, x, 40); }},
      {"keyed", [&](int x) { copyKeyed(g_backBuffer, tile, x, 40, kWhite); }},
      {"fill", [](int x) { fillRect(g_backBuffer, x, 40, x + 3, 43, 0x00445566); }},
      {"text", [](int x) { drawText(x, 40, "W"); }},
      {"wide text", [](int x) { drawText(x - 13, 40, "\xD7\xA3"); }},
  };
  const Picture black(kScreenWidth, kScreenHeight, kBlack);
  const std::pair<const Picture&, std::function<void()>> backgrounds[] = {
      {background, [&] { putBackground(background, 0, 0, kScreenWidth, kScreenHeight); }},
      {black, [] { fillBackground(kBlack); }},
  };
  for (const auto& [picture, put] : backgrounds) {
    put();
    for (const auto& [name, draw] : draws) {
      for (int x : {0, 100, 1021}) {
        draw(x);
        put();
        EXPECT_EQ(g_backBuffer.pixels, picture.pixels) << name << " at " << x;
      }
    }
  }
  // Around boards the caller copies next, all drawn over is copied back, to the column and row
  // beside each edge; the boards' own places once the caller no longer says it draws them.
  const Picture board(40, 30, 0x00ABCDEF);
  const PixelRect boards[] = {{300, 200, 40, 30}, {600, 400, 40, 30}};
  Picture withBoards = background;
  for (const PixelRect& at : boards) copyOpaque(withBoards, board, at.x, at.y);
  for (int round = 0; round < 3; ++round) {  // tiles over the edges, then two quiet rounds
    putBackground(background, 0, 0, kScreenWidth, kScreenHeight, boards);
    for (const PixelRect& at : boards) copyOpaque(g_backBuffer, board, at.x, at.y);
    EXPECT_EQ(g_backBuffer.pixels, withBoards.pixels) << "round " << round;
    if (round > 0) continue;
    for (const auto& [x, y] : {std::pair{298, 198}, {310, 198}, {338, 210}, {310, 228},
                              {298, 210}, {338, 228}}) {
      copyOpaque(g_backBuffer, tile, x, y);
    }
  }
  putBackground(background, 0, 0, kScreenWidth, kScreenHeight);
  EXPECT_EQ(g_backBuffer.pixels, background.pixels);

  putBackground(background, 0, 5, kScreenWidth, kScreenHeight);
  EXPECT_EQ(g_backBuffer.at(7, 5), background.at(7, 0));
  EXPECT_EQ(g_backBuffer.at(1023, 767), background.at(1023, 762));
}

// A window of 1920 x 1080 rescales only the parts the changes reach, and shows what scaling the
// whole picture shows.
TEST(PresentedChanges, ScaledTo1920x1080MatchTheWholePictureScaled) {
  constexpr int kWidth = 1920, kHeight = 1080;
  const hosts::Rect target = hosts::Letterbox(kScreenWidth, kScreenHeight, kWidth, kHeight).picture();
  std::vector<std::uint32_t> partial(kWidth * kHeight), whole(kWidth * kHeight);
  int frames = 0, wrong = 0, firstWrong = 0;
  Harness h;
  ASSERT_TRUE(h.startAtRestingMenu());
  h.host.onPresent = [&](PixelView picture) {
    if (frames++ == 0) {
      hosts::scaleInto(picture, partial.data(), kWidth, kHeight, target);
    } else {
      for (const PixelRect& rect : h.host.lastChanges)
        hosts::scaleChanged(picture, partial.data(), kWidth, target, rect);
    }
    hosts::scaleInto(picture, whole.data(), kWidth, kHeight, target);
    if (partial != whole && wrong++ == 0) firstWrong = frames;
  };
  h.move(800, 220);
  h.passes(5);
  ASSERT_TRUE(h.openIdleLobby());
  h.pressStart();
  h.pass();
  h.key(kKeyEnter);
  for (int i = 0; i < 100; ++i) h.playPass();
  EXPECT_GT(frames, 150);
  EXPECT_EQ(wrong, 0) << "the first in frame " << firstWrong;
}

// The scale's every byte, pinned on screens players have and on a picture of another size (the
// dialog's face): a faster scaler must give the very same pixels. The top byte of the picture's
// pixels is set, and never shows.
TEST(PresentedChanges, TheScaleKeepsItsExactBytes) {
  const auto hash = [](const std::vector<std::uint32_t>& pixels) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a over the bytes in memory order
    for (std::uint32_t p : pixels) {
      for (int i = 0; i < 4; ++i) h = (h ^ ((p >> (8 * i)) & 255)) * 1099511628211ull;
    }
    return h;
  };
  const auto noise = [](int width, int height, std::uint32_t factor) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * factor);
    return pixels;
  };
  const std::vector<std::uint32_t> picture = noise(kScreenWidth, kScreenHeight, 2654435761u);
  const struct {
    int width, height;
    std::uint64_t hash;
  } screens[] = {{1920, 1080, 0xea78d4be026fcd5eull}, {1366, 768, 0x2450b7609a67de36ull},
                 {1280, 1024, 0x117481b658569a29ull}, {800, 600, 0x997993d4108f3658ull},
                 {3840, 2160, 0x68b2db868981c994ull}};
  for (const auto& screen : screens) {
    std::vector<std::uint32_t> window(static_cast<std::size_t>(screen.width) * screen.height,
                                      0xDEADBEEF);
    hosts::scaleInto({picture.data(), kScreenWidth, kScreenHeight}, window.data(), screen.width,
                     screen.height,
                     hosts::Letterbox(kScreenWidth, kScreenHeight, screen.width, screen.height)
                         .picture());
    EXPECT_EQ(hash(window), screen.hash) << screen.width << " x " << screen.height;
  }
  const std::vector<std::uint32_t> face = noise(320, 160, 40503u * 40503u);
  std::vector<std::uint32_t> scaledFace(480 * 240);
  hosts::scaleInto({face.data(), 320, 160}, scaledFace.data(), 480, 240, {0, 0, 480, 240});
  EXPECT_EQ(hash(scaledFace), 0x9b511d7d62881dc6ull);
}

}  // namespace
}  // namespace tolvaro::testing
