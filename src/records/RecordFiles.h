// The best-score file and the record file of the working directory.
#pragma once

namespace tolvaro {

inline const char* const kBestScoreFile = "mg.tol";
inline const char* const kRecordFile = "lhb.lhb";

// Reads both files into g_bestScore and g_records; a missing file is created empty.
void loadRecordFiles();
// Writes both files whole; a file that cannot be written keeps what it held.
void saveRecordFiles();

}  // namespace tolvaro
