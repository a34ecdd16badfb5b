// The best-score file and the record file of the working directory.
#pragma once

#include <filesystem>
#include <string_view>

#include "records/RecordFormat.h"

namespace tolvaro {

inline const char* const kBestScoreFile = "mg.tol";
inline const char* const kRecordFile = "lhb.lhb";

// Reads both files into g_bestScore and g_records; a missing file is created empty.
void loadRecordFiles();
// Writes both files whole; a file that cannot be written keeps what it held.
void saveRecordFiles();

// Replaces the file with the bytes through a temporary file in the same folder, so the file
// holds either its old or its new bytes whatever happens. False, with the file as it was,
// when it cannot be written.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tolvaro
