// The program's entry point on Windows.
#include "app/Program.h"
#include "hosts/win32/Win32Host.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
  tolvaro::Win32Host host(instance);
  const int exitCode = tolvaro::runProgram(host);
  host.releaseWindow();
  return exitCode;
}
