#include "hosts/win32/Display.h"

namespace tolvaro {
namespace {

// Windows 10 1703: DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
using SetContextFunction = BOOL(WINAPI*)(HANDLE);
const auto kContextPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
const auto kContextPerMonitor = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-3));
// Windows 8.1, shcore.dll: PROCESS_PER_MONITOR_DPI_AWARE.
using SetAwarenessFunction = HRESULT(WINAPI*)(int);
constexpr int kProcessPerMonitorAware = 2;
using GetAwarenessFunction = HRESULT(WINAPI*)(HANDLE, int*);
// Windows Vista: system awareness.
using SetAwareFunction = BOOL(WINAPI*)();

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

RECT wholeMonitor(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcMonitor;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

DpiAwareness declareDpiAwareness() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (auto setContext = lookUp<SetContextFunction>(user32, "SetProcessDpiAwarenessContext")) {
    // Fails with access denied when the manifest has set it already, which is the same end.
    if (setContext(kContextPerMonitorV2)) return DpiAwareness::PerMonitorV2;
    auto areEqual = lookUp<BOOL(WINAPI*)(HANDLE, HANDLE)>(user32, "AreDpiAwarenessContextsEqual");
    auto current = lookUp<HANDLE(WINAPI*)()>(user32, "GetThreadDpiAwarenessContext");
    if (areEqual && current) {
      if (areEqual(current(), kContextPerMonitorV2)) return DpiAwareness::PerMonitorV2;
      if (areEqual(current(), kContextPerMonitor)) return DpiAwareness::PerMonitor;
    }
  }
  if (HMODULE shcore = LoadLibraryW(L"shcore.dll")) {
    auto setAwareness = lookUp<SetAwarenessFunction>(shcore, "SetProcessDpiAwareness");
    auto getAwareness = lookUp<GetAwarenessFunction>(shcore, "GetProcessDpiAwareness");
    if (setAwareness) setAwareness(kProcessPerMonitorAware);
    int awareness = 0;
    if (getAwareness && SUCCEEDED(getAwareness(nullptr, &awareness))) {
      if (awareness == kProcessPerMonitorAware) return DpiAwareness::PerMonitor;
      if (awareness == 1) return DpiAwareness::System;
    }
  }
  if (auto setAware = lookUp<SetAwareFunction>(user32, "SetProcessDPIAware")) {
    if (setAware()) return DpiAwareness::System;
  }
  return DpiAwareness::None;
}

RECT monitorUnderPointer() {
  POINT pointer{0, 0};
  GetCursorPos(&pointer);
  return wholeMonitor(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY));
}

RECT monitorOf(HWND window) {
  return wholeMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace tolvaro
