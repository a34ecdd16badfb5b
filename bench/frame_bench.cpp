// Frame composition per screen, start-up to the first frame, and peak memory, each set against a
// plain copy of one 1024 x 768 frame, the least any frame can cost.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "frame/Frame.h"
#include "frame/WorkingFiles.h"
#include "hosts/headless/HeadlessHost.h"
#include "records/RecordFiles.h"
#include "state/GameState.h"

namespace fs = std::filesystem;
using namespace tolvaro;

namespace {

fs::path workDir() {
  static const fs::path dir = [] {
    const fs::path d = fs::temp_directory_path() / "tolvaro-bench";
    fs::remove_all(d);
    fs::create_directories(d);
    for (const char* name : {"03_16", "charImg", "mouse6.ani"})
      fs::create_symlink(fs::absolute(fs::path(TOLVARO_GENERATED_DIR) / name), d / name);
    return d;
  }();
  return dir;
}

std::unique_ptr<HeadlessHost> startProgram() {
  g_workingDirectory = workDir();
  auto host = std::make_unique<HeadlessHost>(TOLVARO_GENERATED_DIR);
  startUp(*host);
  return host;
}

void BM_FrameCopyFloor(benchmark::State& state) {
  std::vector<std::uint32_t> from(1024 * 768, 0x123456), to(1024 * 768);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameCopyFloor);

// Runs passes of one screen; `settle` passes first so slides are at rest.
void runScreen(benchmark::State& state, std::uint32_t gameState, std::uint32_t phase, int settle,
               int mouseX, int mouseY) {
  auto host = startProgram();
  g_mouseX = mouseX;
  g_mouseY = mouseY;
  g_gameState = gameState;
  g_phase = phase;
  for (int i = 0; i < settle; ++i) runPass(nullptr);
  for (auto _ : state) {
    g_gameState = gameState;
    g_phase = phase;
    runPass(nullptr);
  }
  g_platform = nullptr;
}

void BM_MainMenuFrame(benchmark::State& s) {
  runScreen(s, STATE_MAIN_MENU, 0, 60, 800, 220);
}
void BM_ExitBoxFrame(benchmark::State& s) {
  runScreen(s, STATE_EXIT_CONFIRM, 0, 40, 440, 400);
}
void BM_LobbyIdleFrame(benchmark::State& s) {
  runScreen(s, STATE_PLAY, PHASE_PANEL, 0, 800, 120);
}
void BM_LevelIntroFrame(benchmark::State& s) {
  runScreen(s, STATE_PLAY, PHASE_LEVEL_INTRO, 0, 0, 0);
}
void BM_PlayingFrame(benchmark::State& s) {
  runScreen(s, STATE_PLAY, PHASE_PLAYING, 200, 0, 0);
}
void BM_RecordsFrame(benchmark::State& s) {
  runScreen(s, STATE_PLAY, PHASE_RECORDS, 0, 0, 0);
}
void BM_LoadGameFrame(benchmark::State& s) {
  runScreen(s, STATE_LOAD_GAME, 0, 0, 500, 300);
}
void BM_AboutFrame(benchmark::State& s) {
  runScreen(s, STATE_ABOUT, 0, 300, 0, 0);
}
BENCHMARK(BM_MainMenuFrame);
BENCHMARK(BM_ExitBoxFrame);
BENCHMARK(BM_LobbyIdleFrame);
BENCHMARK(BM_LevelIntroFrame);
BENCHMARK(BM_PlayingFrame);
BENCHMARK(BM_RecordsFrame);
BENCHMARK(BM_LoadGameFrame);
BENCHMARK(BM_AboutFrame);

void BM_StartUpToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    auto host = startProgram();
    runPass(nullptr);
    benchmark::DoNotOptimize(g_backBuffer.pixels.data());
  }
  g_platform = nullptr;
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

// Both record files saved whole and durably, as at each save moment of a run: what the frame of
// a record's name, a cleared table or a game's new best score adds to its 10 ms. It is the
// disk's sync that costs, so the figure is the disk's of the temporary folder.
void BM_SaveRecordFiles(benchmark::State& state) {
  auto host = startProgram();
  for (auto _ : state) benchmark::DoNotOptimize(saveRecordFiles());
  g_platform = nullptr;
}
BENCHMARK(BM_SaveRecordFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// Remembers each benchmark's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        nanoseconds[run.benchmark_name()] =
            run.GetAdjustedRealTime() * multiplierToNanoseconds(run.time_unit);
      }
    }
  }
  std::map<std::string, double> nanoseconds;

 private:
  static double multiplierToNanoseconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kSecond:
        return 1e9;
      case benchmark::kMillisecond:
        return 1e6;
      case benchmark::kMicrosecond:
        return 1e3;
      default:
        return 1;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto floor = reporter.nanoseconds.find("BM_FrameCopyFloor");
  if (floor != reporter.nanoseconds.end() && floor->second > 0) {
    std::printf("\n%-28s %12s %10s\n", "frame", "time (us)", "x memcpy");
    for (const auto& [name, ns] : reporter.nanoseconds) {
      if (name.rfind("BM_StartUpToFirstFrame", 0) == 0) continue;
      std::printf("%-28s %12.2f %10.2f\n", name.c_str(), ns / 1e3, ns / floor->second);
    }
  }
  const auto startup = reporter.nanoseconds.find("BM_StartUpToFirstFrame/iterations:10");
  if (startup != reporter.nanoseconds.end()) {
    std::printf("start-up to first frame: %.1f ms\n", startup->second / 1e6);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  benchmark::Shutdown();
  fs::remove_all(workDir());
  return 0;
}
