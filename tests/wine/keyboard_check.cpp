// Checks of the Windows program's keyboard from outside its game, run under Wine.
//   keyboard_check host         the host's window and name box: input contexts, VK_PROCESSKEY,
//                               and the shortcut settings through a stand-in system
//   keyboard_check watch <file> a low-level keyboard hook of its own, installed before the game
//                               starts, and a small window "Keyboard watch" to take the focus:
//                               writes "settings <sticky> <filter> <toggle>" (the flags), then
//                               "key <vk>" for each key that reaches it, and on F12 the
//                               settings again and ends.
// Prints one line per check; the exit code is the number of failed checks.
#include <cstdio>
#include <string>

#include "hosts/win32/KeyboardGuard.h"
#include "hosts/win32/Win32Host.h"

#include <imm.h>

namespace {

using namespace tolvaro;

int g_failures = 0;
void check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++g_failures;
}

// The key a WM_KEYDOWN posted to the main window brings to the game.
std::uint32_t keyThroughTheHost(Win32Host& host, WPARAM key, UINT scanCode) {
  PostMessageW(g_mainWindow, WM_KEYDOWN, key, static_cast<LPARAM>(scanCode << 16 | 1));
  Event event;
  for (int i = 0; i < 1000; ++i) {
    if (host.nextEvent(event) && event.type == EventType::KeyDown) return event.wParam;
  }
  return 0;
}

// In the open name dialog, once the focus is in the name box: whether it has an input context.
bool g_nameBoxChecked = false;
bool dialogProcedure(DialogWindow& dialog, const DialogMessage& message) {
  HWND focus = GetFocus();
  if (!g_nameBoxChecked && focus && GetDlgCtrlID(focus) == 1001) {
    g_nameBoxChecked = true;
    HIMC context = ImmGetContext(focus);
    check(context != nullptr, "the name box has an input context");
    if (context) ImmReleaseContext(focus, context);
    dialog.end(kDialogOk);
  }
  return message.type == DialogMessageType::Init;
}

// A system of the checks' own, which records what is written.
struct StandInSettings : AccessibilitySettings {
  AccessibilityKeys now;
  int writes = 0;
  bool read(AccessibilityKeys& keys) override {
    keys = now;
    return true;
  }
  void write(const AccessibilityKeys& keys) override {
    now = keys;
    ++writes;
  }
};

AccessibilityKeys keysWith(DWORD sticky, DWORD filter, DWORD toggle) {
  AccessibilityKeys keys;
  keys.sticky.dwFlags = sticky;
  keys.filter.dwFlags = filter;
  keys.toggle.dwFlags = toggle;
  keys.filter.iWaitMSec = 1000;  // a field beside the flags, which must come back as it was
  return keys;
}

bool same(const AccessibilityKeys& a, const AccessibilityKeys& b) {
  return a.sticky.dwFlags == b.sticky.dwFlags && a.filter.dwFlags == b.filter.dwFlags &&
         a.toggle.dwFlags == b.toggle.dwFlags && a.filter.iWaitMSec == b.filter.iWaitMSec &&
         a.filter.iDelayMSec == b.filter.iDelayMSec && a.filter.iRepeatMSec == b.filter.iRepeatMSec;
}

std::string flags(const AccessibilityKeys& k) {
  char text[64];
  std::snprintf(text, sizeof text, "%lx %lx %lx", static_cast<unsigned long>(k.sticky.dwFlags),
                static_cast<unsigned long>(k.filter.dwFlags),
                static_cast<unsigned long>(k.toggle.dwFlags));
  return text;
}

void checkShortcutSettings() {
  constexpr DWORD kStickyShortcut = SKF_HOTKEYACTIVE | SKF_CONFIRMHOTKEY | SKF_AVAILABLE;
  constexpr DWORD kFilterShortcut = FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY | FKF_AVAILABLE;
  constexpr DWORD kToggleShortcut = TKF_HOTKEYACTIVE | TKF_CONFIRMHOTKEY | TKF_AVAILABLE;
  struct Case {
    const char* what;
    AccessibilityKeys before;
    AccessibilityKeys whilePlaying;
  };
  const Case cases[] = {
      {"Windows' defaults: all three shortcut questions off while playing",
       keysWith(kStickyShortcut, kFilterShortcut, kToggleShortcut),
       keysWith(SKF_AVAILABLE, FKF_AVAILABLE, TKF_AVAILABLE)},
      {"Sticky Keys switched on keeps its shortcut; the other two lose theirs",
       keysWith(kStickyShortcut | SKF_STICKYKEYSON, kFilterShortcut, kToggleShortcut),
       keysWith(kStickyShortcut | SKF_STICKYKEYSON, FKF_AVAILABLE, TKF_AVAILABLE)},
      {"Filter Keys and Toggle Keys switched on keep theirs",
       keysWith(kStickyShortcut, kFilterShortcut | FKF_FILTERKEYSON,
                kToggleShortcut | TKF_TOGGLEKEYSON),
       keysWith(SKF_AVAILABLE, kFilterShortcut | FKF_FILTERKEYSON,
                kToggleShortcut | TKF_TOGGLEKEYSON)},
      {"shortcuts already off stay off", keysWith(0, 0, 0), keysWith(0, 0, 0)},
  };
  for (const Case& c : cases) {
    StandInSettings system;
    system.now = c.before;
    {
      KeyboardGuard guard(system);
      guard.setActive(true);
      check(same(system.now, c.whilePlaying),
            std::string(c.what) + " (" + flags(system.now) + ")");
      guard.setActive(true);  // a second activation must not take the changed settings as the player's
      guard.setActive(false);
      check(same(system.now, c.before), std::string(c.what) + ": focus lost, back as they were");
      guard.setActive(true);
    }
    check(same(system.now, c.before), std::string(c.what) + ": the end, back as they were");
  }
}

int hostChecks() {
  Win32Host host(GetModuleHandleW(nullptr));
  check(host.registerWindowClass("mouse6.ani", 141), "the window class is registered");
  check(host.createMainWindow("Tolvaro", 1024, 768), "the main window is made");
  check(ImmGetContext(g_mainWindow) == nullptr, "the main window has no input context");
  struct Key {
    const char* name;
    UINT scanCode;
    std::uint32_t gameKey;
  };
  for (const Key& key : {Key{"A", 0x1E, kKeyA}, Key{"Z", 0x2C, kKeyZ}, Key{"Q", 0x10, 'Q'},
                         Key{"Enter", 0x1C, kKeyEnter}, Key{"Esc", 0x01, kKeyEscape}}) {
    const std::uint32_t got = keyThroughTheHost(host, VK_PROCESSKEY, key.scanCode);
    check(got == key.gameKey, std::string("a VK_PROCESSKEY press of ") + key.name +
                                  " reaches the game as its key (" + std::to_string(got) + ")");
  }
  check(keyThroughTheHost(host, 'M', 0x32) == 'M', "a plain M reaches the game as M");
  host.runModalDialog(241, 242, dialogProcedure);
  check(g_nameBoxChecked, "the name dialog opened with the focus in the name box");
  check(ImmGetContext(g_mainWindow) == nullptr, "the main window has none again after the dialog");
  checkShortcutSettings();
  AccessibilityKeys before, after;
  const bool readable = systemAccessibilitySettings().read(before);
  {
    KeyboardGuard guard;
    guard.setActive(true);
  }
  systemAccessibilitySettings().read(after);
  check(readable && same(before, after),
        "the system's own settings read back as before after the guard (" + flags(after) + ")");
  DestroyWindow(g_mainWindow);
  host.releaseWindow();
  return g_failures;
}

FILE* g_watchLog = nullptr;
LRESULT CALLBACK watchKeys(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN)) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    std::fprintf(g_watchLog, "key %lu\n", static_cast<unsigned long>(key->vkCode));
    std::fflush(g_watchLog);
    if (key->vkCode == VK_F12) PostQuitMessage(0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int watch(const char* path) {
  g_watchLog = std::fopen(path, "wb");
  if (!g_watchLog) return 1;
  AccessibilityKeys keys;
  systemAccessibilitySettings().read(keys);
  std::fprintf(g_watchLog, "settings %s\n", flags(keys).c_str());
  std::fflush(g_watchLog);
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, watchKeys, GetModuleHandleW(nullptr), 0);
  std::fprintf(g_watchLog, hook ? "hooked\n" : "no hook\n");
  std::fflush(g_watchLog);
  CreateWindowExW(0, L"STATIC", L"Keyboard watch", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                  nullptr, GetModuleHandleW(nullptr), nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  systemAccessibilitySettings().read(keys);
  std::fprintf(g_watchLog, "settings %s\n", flags(keys).c_str());
  if (hook) UnhookWindowsHookEx(hook);
  std::fclose(g_watchLog);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "host") return hostChecks();
  if (mode == "watch" && argc > 2) return watch(argv[2]);
  std::fprintf(stderr, "usage: keyboard_check host | watch <file>\n");
  return 2;
}
