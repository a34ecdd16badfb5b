#include "hosts/win32/SingleInstance.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>

namespace tolvaro {
namespace {

// Held for the whole run: closing it would give the folder away.
HANDLE g_folderClaim = nullptr;
DWORD g_holder = 0;

// The claim's name: the folder's full long path, in upper case as the file system compares
// names, hashed (a name may not hold backslashes and is limited in length).
std::wstring claimName() {
  wchar_t current[32768];
  DWORD length = GetCurrentDirectoryW(32768, current);
  if (length == 0 || length >= 32768) return {};
  wchar_t longPath[32768];
  const DWORD longLength = GetLongPathNameW(current, longPath, 32768);
  std::wstring path = longLength > 0 && longLength < 32768 ? longPath : current;
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const wchar_t unit : path) {
    hash = (hash ^ static_cast<std::uint16_t>(unit)) * 1099511628211ull;
  }
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\Tolvaro.folder.%016llx", static_cast<unsigned long long>(hash));
  return name;
}

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK findTopLevelWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

bool anotherCopyPlaysHere() {
  const std::wstring name = claimName();
  if (name.empty()) return false;
  HANDLE claim = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                    name.c_str());
  if (!claim) return false;
  const bool held = GetLastError() == ERROR_ALREADY_EXISTS;
  auto* owner =
      static_cast<volatile DWORD*>(MapViewOfFile(claim, FILE_MAP_WRITE, 0, 0, sizeof(DWORD)));
  if (!held) {
    if (owner) *owner = GetCurrentProcessId();
    g_folderClaim = claim;
  } else {
    // The owner may still be writing its id: waited for by the raise.
    for (int attempt = 0; attempt < 50 && owner && *owner == 0; ++attempt) Sleep(100);
    g_holder = owner ? *owner : 0;
    CloseHandle(claim);
  }
  if (owner) UnmapViewOfFile(const_cast<DWORD*>(owner));
  return held;
}

void raiseTheCopyPlayingHere() {
  if (g_holder == 0) return;
  // A double click starts the second copy while the first is still opening its window.
  for (int attempt = 0; attempt < 50; ++attempt) {
    Search search{g_holder, nullptr};
    EnumWindows(&findTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
      // The name-entry dialog, when it is open, is what takes the keys.
      SetForegroundWindow(GetLastActivePopup(search.found));
      return;
    }
    Sleep(100);
  }
}

}  // namespace tolvaro
