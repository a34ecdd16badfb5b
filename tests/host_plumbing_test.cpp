// What the hosts share: the timer table, the sound lengths, the frame pacing and its log, the
// picture waiting for its shower.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hosts/shared/FramePacer.h"
#include "hosts/shared/PendingPicture.h"
#include "hosts/shared/SoundLengths.h"
#include "hosts/shared/TimerTable.h"
#include "support/Bytes.h"

namespace tolvaro::testing {
namespace {

using hosts::FramePacer;
using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(TimerTable, FiresEachIntervalLowestIdFirstAndNeverPilesUpMissedTicks) {
  enum Op { Set, Kill, Take };
  struct Step {
    Op op;
    double atMs;
    int id;                  // Set, Kill
    int interval;            // Set
    std::optional<int> due;  // Take: the timer that fires
  };
  const Step steps[] = {
      {Set, 0, 7, 100, {}},
      {Set, 0, 3, 250, {}},
      {Take, 99, 0, 0, {}},
      {Take, 100, 0, 0, 7},
      {Take, 100, 0, 0, {}},
      // At 450 both are due, 7 twice over: one event each, the lower id first.
      {Take, 450, 0, 0, 3},
      {Take, 450, 0, 0, 7},
      {Take, 450, 0, 0, {}},
      {Take, 499, 0, 0, {}},
      {Kill, 499, 3, 0, {}},
      {Take, 500, 0, 0, 7},
      {Take, 500, 0, 0, {}},
      // A restart counts from the restart; no interval is below a millisecond.
      {Set, 550, 7, 100, {}},
      {Set, 600, 9, 0, {}},
      {Take, 600, 0, 0, {}},
      {Take, 601, 0, 0, 9},
      {Take, 650, 0, 0, 7},
      {Take, 650, 0, 0, 9},
  };
  hosts::TimerTable timers;
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "at " << step.atMs << " ms, step " << &step - steps);
    switch (step.op) {
      case Set:
        timers.set(step.id, step.interval, step.atMs);
        EXPECT_TRUE(timers.running(step.id));
        break;
      case Kill:
        timers.kill(step.id);
        EXPECT_FALSE(timers.running(step.id));
        break;
      case Take:
        EXPECT_EQ(timers.takeDue(step.atMs), step.due);
        break;
    }
  }
}

TEST(SoundLengths, ReadsEachSoundOnceAndCountsNoSoundAsZero) {
  const std::map<int, Bytes> files = {
      {1, makeWave(1, 8000, 8, 4000, false)},      // 500 ms
      {2, makeWave(2, 22050, 16, 2205, true)},     // 100 ms
      {3, Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0}},  // not a sound
  };
  const std::map<int, std::int64_t> expected = {{1, 500}, {2, 100}, {3, 0}, {4, 0}};
  std::map<int, int> reads;
  hosts::SoundLengths lengths;
  for (int round = 0; round < 2; ++round) {
    for (const auto& [id, ms] : expected) {
      const auto bytesOf = [&](int wanted) {
        ++reads[wanted];
        const auto file = files.find(wanted);
        return file == files.end() ? Bytes{} : file->second;
      };
      EXPECT_EQ(lengths.lengthMs(id, bytesOf), ms) << "sound " << id;
    }
  }
  EXPECT_EQ(reads, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
}

TEST(FramePacer, ASleepAfterAPresentCountsFromThePresentsStart) {
  const FramePacer::Clock::time_point t0{std::chrono::seconds(1000)};
  struct Step {
    std::optional<int> presentAtMs;  // a present begins first
    int sleepMs;
    int askedAtMs;
    int endsAtMs;
  };
  const Step steps[] = {
      {{}, 10, 5, 15},   // no present yet: from the asking
      {0, 10, 4, 10},    // the present's drawing is part of the pass
      {{}, 10, 12, 22},  // a second sleep counts from itself
      {30, 0, 31, 31},   // a sleep of nothing waits nothing and leaves the present's start
      {{}, 10, 32, 40},
      {50, 10, 70, 60},  // a present slower than the pass: the sleep is over before it began
  };
  FramePacer pacer;
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "step " << &step - steps);
    if (step.presentAtMs) pacer.presentBegins(t0 + milliseconds(*step.presentAtMs));
    EXPECT_EQ(pacer.sleepEnd(step.sleepMs, t0 + milliseconds(step.askedAtMs)),
              t0 + milliseconds(step.endsAtMs));
  }
}

TEST(FramePacer, TheFrameLogHoldsIntervalAndCostOfEachPresentInMicroseconds) {
  const auto log = std::filesystem::temp_directory_path() / "tolvaro_host_plumbing_frames.log";
  std::filesystem::remove(log);
  const FramePacer::Clock::time_point t0{std::chrono::seconds(1000)};
  struct Present {
    int beginsAtUs;
    std::optional<int> endsAtUs;  // none: the present showed nothing and logs nothing
  };
  const Present presents[] = {
      {0, 3000}, {10500, 11000}, {25000, 25250}, {40000, {}}, {50000, 52000},
  };
  {
    FramePacer pacer(log);
    for (const Present& present : presents) {
      pacer.presentBegins(t0 + microseconds(present.beginsAtUs));
      if (present.endsAtUs) pacer.presentEnds(t0 + microseconds(*present.endsAtUs));
    }
    EXPECT_FALSE(std::filesystem::exists(log)) << "written only when the pacer goes";
  }
  std::ifstream in(log, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text, "0 3000\n10500 500\n14500 250\n10000 2000\n");
  std::filesystem::remove(log);
}

TEST(FramePacer, TheFrameLogIsTheOneTheEnvironmentNames) {
  ASSERT_EQ(setenv("TOLVARO_FRAME_LOG", "/tmp/frames.log", 1), 0);
  EXPECT_EQ(hosts::frameLogFromEnvironment(), std::filesystem::path("/tmp/frames.log"));
  ASSERT_EQ(unsetenv("TOLVARO_FRAME_LOG"), 0);
  EXPECT_TRUE(hosts::frameLogFromEnvironment().empty());
}

// Changes of pictures posted before a take add up: the shower's copy, kept only from the
// rectangles it is handed, is the last picture posted; past the rectangles kept, it goes whole.
// A picture with nothing new does not wake the shower, unless the window lost what it showed.
TEST(PendingPicture, ChangesPostedBetweenTakesAddUp) {
  constexpr int kWidth = 64, kHeight = 48;
  hosts::PendingPicture pending(kWidth, kHeight);
  std::vector<std::uint32_t> picture(kWidth * kHeight, 1), shown(kWidth * kHeight, 0);
  const PixelView view{picture.data(), kWidth, kHeight};
  hosts::PictureChanges changes;
  const PixelRect whole{0, 0, kWidth, kHeight};
  EXPECT_FALSE(pending.fresh());
  EXPECT_FALSE(pending.post({picture.data(), kWidth - 1, kHeight}, {&whole, 1}));
  ASSERT_TRUE(pending.post(view, {&whole, 1}));
  ASSERT_TRUE(pending.fresh());
  pending.take(shown, changes);
  EXPECT_TRUE(changes.whole);
  EXPECT_TRUE(shown == picture);
  EXPECT_FALSE(pending.fresh());
  const auto paint = [&](PixelRect rect, std::uint32_t colour) {
    for (int y = rect.y; y < rect.y + rect.h; ++y)
      std::fill_n(picture.begin() + y * kWidth + rect.x, rect.w, colour);
    return pending.post(view, {&rect, 1});
  };
  EXPECT_TRUE(paint({0, 0, 1, 1}, 2));
  EXPECT_TRUE(paint({63, 47, 1, 1}, 3));
  EXPECT_TRUE(paint({10, 5, 20, 30}, 4));
  pending.take(shown, changes);
  EXPECT_FALSE(changes.whole);
  EXPECT_EQ(changes.rects, (std::vector<PixelRect>{{0, 0, 1, 1}, {63, 47, 1, 1}, {10, 5, 20, 30}}));
  EXPECT_TRUE(shown == picture);
  for (int n = 0; n < kMostChangedRects; ++n) paint({n % kWidth, n % kHeight, 1, 1}, 5 + n);
  pending.take(shown, changes);
  EXPECT_FALSE(changes.whole) << "as many as are kept stay apart";
  EXPECT_EQ(changes.rects.size(), static_cast<std::size_t>(kMostChangedRects));
  EXPECT_TRUE(shown == picture);
  for (int n = 0; n <= kMostChangedRects; ++n) paint({n % kWidth, n % kHeight, 1, 1}, 99 + n);
  pending.take(shown, changes);
  EXPECT_TRUE(changes.whole);
  EXPECT_TRUE(shown == picture);
  const long postedBefore = pending.posted();
  EXPECT_FALSE(pending.post(view, {})) << "an unchanged picture owes nothing";
  EXPECT_FALSE(pending.fresh());
  EXPECT_EQ(pending.posted(), postedBefore);
  pending.wantWhole();
  EXPECT_TRUE(pending.post(view, {})) << "after an expose an unchanged picture goes";
  pending.take(shown, changes);
  EXPECT_TRUE(changes.whole) << "... and goes whole";
  EXPECT_EQ(pending.posted(), postedBefore + 1);
}

}  // namespace
}  // namespace tolvaro::testing
