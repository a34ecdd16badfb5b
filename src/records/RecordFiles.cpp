#include "records/RecordFiles.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "base/Files.h"
#include "frame/WorkingFiles.h"
#include "records/RecordFormat.h"
#include "state/Session.h"

namespace tolvaro {
namespace {

// The first bytes of a working-directory file; a missing file is created empty.
std::vector<std::uint8_t> readRecordFileBytes(const char* name) {
  const std::filesystem::path path = workingPath(name);
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) {
    std::ofstream create(path, std::ios::binary);
    return {};
  }
  return readFileStart(path, kRecordFileReadLimit);
}

// The best score the best-score file holds as far as this run knows, and whether a save did
// not get through since.
std::int32_t g_bestScoreOnDisk = 0;
bool g_saveOwed = false;

bool saveBestScoreFile() {
  const bool written =
      writeFileAtomically(workingPath(kBestScoreFile), bestScoreFileText(g_bestScore));
  if (written) g_bestScoreOnDisk = g_bestScore;
  return written;
}

}  // namespace

void loadRecordFiles() {
  readBestScore(readRecordFileBytes(kBestScoreFile), g_bestScore);
  readRecordTable(readRecordFileBytes(kRecordFile), g_records);
  g_bestScoreOnDisk = g_bestScore;
}

bool saveRecordFiles() {
  // A file that cannot be written keeps its old bytes; the program goes on either way.
  const bool bestWritten = saveBestScoreFile();
  const bool tableWritten =
      writeFileAtomically(workingPath(kRecordFile), recordFileText(g_records));
  g_saveOwed = !(bestWritten && tableWritten);
  return !g_saveOwed;
}

void saveRecordsAtGameEnd(bool recordEntered) {
  if (g_bestScore == g_bestScoreOnDisk && !g_saveOwed) return;
  if (!recordEntered) {
    saveRecordFiles();
  } else if (!saveBestScoreFile()) {
    g_saveOwed = true;
  }
}

void resetRecordSaves() {
  g_bestScoreOnDisk = 0;
  g_saveOwed = false;
}

}  // namespace tolvaro
