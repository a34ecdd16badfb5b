// The best-score file and the record file of the working directory.
#pragma once

namespace tolvaro {

void loadRecordFiles();
void saveRecordFiles();

}  // namespace tolvaro
