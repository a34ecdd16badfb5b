// What saving both record files costs on this system's disk, the way a run saves them when a
// record gets its name, a game ends with a new best score or the table is cleared: each file
// written whole to a temporary, synced to the disk and moved over the old one. A plain program,
// so that the Windows build can run it too (under Wine). Prints the median and the slowest save.
//   tolvaro_save_timing [FOLDER] [SAVES]   (FOLDER: a new one in the system's temporary folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/WorkingFiles.h"
#include "records/RecordFiles.h"
#include "state/Session.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using namespace tolvaro;
  const bool ownFolder = argc < 2;
  const fs::path folder = ownFolder ? fs::temp_directory_path() / "tolvaro-save-timing" : argv[1];
  const int saves = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
  std::error_code error;
  fs::create_directories(folder, error);
  g_workingDirectory = folder;
  // Every row as long as a row gets, so each save writes as much as any.
  for (int row = 0; row < kRecordRows; ++row) {
    setName(g_records[row], "player" + std::to_string(row));
    g_records[row].useTime = 2147483600 + row;
    g_records[row].score = -2147483600 - row;
  }
  g_bestScore = -2147483647;
  std::vector<double> ms;
  for (int i = 0; i < saves; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const bool saved = saveRecordFiles();
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (!saved) {
      std::fprintf(stderr, "tolvaro_save_timing: cannot save in %s\n", folder.string().c_str());
      return 1;
    }
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%d saves of both record files in %s: median %.2f ms, slowest %.2f ms\n", saves,
              folder.string().c_str(), ms[ms.size() / 2], ms.back());
  if (ownFolder) fs::remove_all(folder, error);
  return 0;
}
