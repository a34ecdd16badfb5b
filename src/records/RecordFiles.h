// The best-score file and the record file of the working directory.
#pragma once

namespace tolvaro {

inline const char* const kBestScoreFile = "mg.tol";
inline const char* const kRecordFile = "lhb.lhb";

// Reads both files into g_bestScore and g_records; a missing file is created empty.
void loadRecordFiles();
// Writes both files whole; a file that cannot be written keeps what it held. False when either
// could not be written: the next save moment tries again. Besides the exit, the run saves the
// moment a record row gets its name and when the table is cleared, so that a killed process or
// a power cut loses nothing made before.
bool saveRecordFiles();
// A game ended. A new best score (or a save still owed) is written now; without a new record
// both files are, while with one the record file waits for the row's name.
void saveRecordsAtGameEnd(bool recordEntered);

// Forgets what the files were last known to hold.
void resetRecordSaves();

}  // namespace tolvaro
