#include "records/RecordFiles.h"

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

}  // namespace

void loadRecordFiles() {
  readBestScore(readRecordFileBytes(kBestScoreFile), g_bestScore);
  readRecordTable(readRecordFileBytes(kRecordFile), g_records);
}

void saveRecordFiles() {
  // A file that cannot be written keeps its old bytes; the program goes on either way.
  writeFileAtomically(workingPath(kBestScoreFile), bestScoreFileText(g_bestScore));
  writeFileAtomically(workingPath(kRecordFile), recordFileText(g_records));
}

}  // namespace tolvaro
