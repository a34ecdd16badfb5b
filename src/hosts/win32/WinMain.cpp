// The program's entry point on Windows.
#include <filesystem>
#include <string>
#include <system_error>

#include "app/Program.h"
#include "hosts/win32/SingleInstance.h"
#include "hosts/win32/Win32Host.h"

namespace {

namespace fs = std::filesystem;

std::wstring environment(const wchar_t* name) {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

bool isWithin(const fs::path& folder, const std::wstring& parent) {
  if (parent.empty()) return false;
  std::error_code error;
  const fs::path relative = fs::relative(folder, fs::path(parent), error);
  return !error && !relative.empty() && *relative.begin() != L"..";
}

// Installed under Program Files, where players cannot write, the program plays in a folder of
// the player's own, %LOCALAPPDATA%\Tolvaro: the record files are kept there, and the files the
// game reads from its working folder are copied in from the installation where they are missing.
// Anywhere else (the unpacked zip) it plays in the folder it was started in, as it always has.
void useThePlayersFolderWhenInstalled() {
  wchar_t exePath[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, exePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const fs::path installation = fs::path(exePath).parent_path();
  if (!isWithin(installation, environment(L"ProgramFiles")) &&
      !isWithin(installation, environment(L"ProgramW6432")) &&
      !isWithin(installation, environment(L"ProgramFiles(x86)"))) {
    return;
  }
  const std::wstring local = environment(L"LOCALAPPDATA");
  if (local.empty()) return;
  const fs::path players = fs::path(local) / L"Tolvaro";
  std::error_code error;
  fs::create_directories(players, error);
  if (error) return;
  for (const wchar_t* name : {L"03_16", L"charImg", L"mouse6.ani"}) {
    std::error_code ignored;  // a file that cannot be copied leaves the game without it
    fs::copy(installation / name, players / name,
             fs::copy_options::recursive | fs::copy_options::skip_existing, ignored);
  }
  SetCurrentDirectoryW(players.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
  useThePlayersFolderWhenInstalled();
  // A second start in the same folder shows the game that is already there, and ends.
  if (tolvaro::anotherCopyPlaysHere()) {
    tolvaro::raiseTheCopyPlayingHere();
    return 0;
  }
  tolvaro::Win32Host host(instance);
  const int exitCode = tolvaro::runProgram(host);
  host.releaseWindow();
  return exitCode;
}
