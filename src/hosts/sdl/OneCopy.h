// One game per working directory: two copies playing in one folder would each write their own
// record table at the end, and the one that ends last would wipe out the other's records.
#pragma once

namespace tolvaro::sdl {

// Claims the working directory for this process with an exclusive flock on the directory
// itself: no file is made, and the lock ends with the process however it ends. True when another
// running copy holds it. A directory that cannot be locked at all is played in as before.
bool anotherCopyPlaysHere();

// Brings the window of the copy that holds the working directory to the front, waiting a few
// seconds for it when that copy is still starting. Does nothing without an X display.
void raiseTheCopyPlayingHere();

}  // namespace tolvaro::sdl
