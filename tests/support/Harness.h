// A fresh program on the headless host, in a working directory of its own, with helpers that
// queue input and run passes of the main loop.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/Program.h"
#include "hosts/headless/HeadlessHost.h"

namespace tolvaro::testing {

std::filesystem::path generatedDir();

class Harness {
 public:
  Harness();
  ~Harness();
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  HeadlessHost host;
  std::filesystem::path workDir;

  // Start-up up to the main loop; false when it ended early.
  bool start();
  // Runs n passes; fails the test if one of them takes the quit event.
  void passes(int n = 1);
  void pass() { passes(1); }
  // Runs passes until the quit event; the exit code, or -1 after maxPasses.
  int runUntilQuit(int maxPasses = 100000);

  // Queue an event and run the pass that takes it.
  void key(int code);
  void move(int x, int y);
  void click();

  std::uint32_t pixel(int x, int y) const { return g_backDC.at(x, y); }
  // Saves the back buffer under the build's screenshot folder; returns the path.
  std::filesystem::path screenshot(const std::string& name) const;

  std::string readWorkFile(const std::string& name) const;
  void writeWorkFile(const std::string& name, const std::string& bytes) const;
};

}  // namespace tolvaro::testing
