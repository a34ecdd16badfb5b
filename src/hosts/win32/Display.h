// The monitor the game covers, and the DPI awareness that keeps Windows from stretching it. Every
// function newer than Windows 7 is looked up at run time, so the program still starts there.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tolvaro {

enum class DpiAwareness { PerMonitorV2, PerMonitor, System, None };

// Asks for the best awareness this Windows offers, in case the manifest was not read (an .exe
// renamed or run through a loader); what the process has afterwards is returned.
DpiAwareness declareDpiAwareness();

// The whole area, in physical pixels, of the monitor under the pointer (the primary one when
// the pointer is on none).
RECT monitorUnderPointer();
// The whole area of the monitor that holds most of `window`.
RECT monitorOf(HWND window);

}  // namespace tolvaro
