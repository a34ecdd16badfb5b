// One game per working directory: two copies playing in one folder would each write their own
// record table at the end, and the one that ends last would wipe out the other's records.
#pragma once

namespace tolvaro {

// Claims the working directory for this process: a named block of memory, backed by no file,
// whose name comes from the folder's full path and which carries the owner's process id. The
// system removes it with the last process holding it, however that process ends. True when
// another running copy holds it; a folder that cannot be claimed is played in as before.
bool anotherCopyPlaysHere();

// Brings the window of the copy that holds the working directory to the front, waiting a few
// seconds for it when that copy is still starting.
void raiseTheCopyPlayingHere();

}  // namespace tolvaro
