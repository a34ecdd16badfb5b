// Tolvaro on the desktop: the game in an SDL window, its resources inside the program, its
// working files (03_16/, charImg/, mouse6.ani and the record files) in the working directory.
#define SDL_MAIN_HANDLED
#include "app/Program.h"
#include "hosts/sdl/OneCopy.h"
#include "hosts/sdl/ResourcePack.h"
#include "hosts/sdl/SdlHost.h"
#include "hosts/shared/FramePacer.h"

int main() {
  SDL_SetMainReady();
  // A second start in the same folder shows the game that is already there, and ends.
  if (tolvaro::sdl::anotherCopyPlaysHere()) {
    tolvaro::sdl::raiseTheCopyPlayingHere();
    return 0;
  }
  tolvaro::sdl::HostOptions options;
  // Only the frame-pacing test sets this.
  options.frameLog = tolvaro::hosts::frameLogFromEnvironment();
  tolvaro::sdl::SdlHost host(tolvaro::sdl::ResourcePack(tolvaro::sdl::embeddedPack()), options);
  return tolvaro::runProgram(host);
}
