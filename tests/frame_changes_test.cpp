// Presenting only what changed: a window that is sent nothing but each present's changed
// rectangles shows, frame after frame, the very picture a whole present shows, on every screen
// and through a game; scaled to 1920 x 1080 as well. Resting screens change little or nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hosts/shared/Letterbox.h"
#include "hosts/shared/Scaler.h"
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

}  // namespace
}  // namespace tolvaro::testing
