// The keyboard while the game has the screen: letters, Enter and Esc arrive as plain key presses
// whatever mode an input method is in, and the keys a child leans on by accident (the Windows
// keys, five Shifts, a held Shift, five Num Locks) do not take the game away. Alt+Tab,
// Ctrl+Alt+Del and Alt+F4 keep working.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tolvaro {

// Takes the input context away from the main window while the game plays; the name box keeps
// the thread's own. Wine's X11 input method delivers the box's composed text only while the
// main window has its default context again, so the dialog gives it back for its time.
void detachInputContext(HWND window);
void restoreInputContext(HWND window);

// The key of a WM_KEYDOWN: where an input method still claims the key (VK_PROCESSKEY), the key
// itself, from the input method or else from the scan code.
WPARAM keyOfKeyDown(HWND window, WPARAM wParam, LPARAM lParam);

// The shortcut keys of Sticky Keys, Filter Keys and Toggle Keys, as the system keeps them.
struct AccessibilityKeys {
  STICKYKEYS sticky{sizeof(STICKYKEYS), 0};
  FILTERKEYS filter{sizeof(FILTERKEYS), 0, 0, 0, 0, 0};
  TOGGLEKEYS toggle{sizeof(TOGGLEKEYS), 0};
};

// Where the settings are read and written: the system's, or a stand-in in the checks.
class AccessibilitySettings {
 public:
  virtual ~AccessibilitySettings() = default;
  virtual bool read(AccessibilityKeys& keys) = 0;
  virtual void write(const AccessibilityKeys& keys) = 0;
};
AccessibilitySettings& systemAccessibilitySettings();

// The same settings with the shortcut questions off for each feature the player has not
// switched on; a feature in use keeps its shortcut, so it can be switched off again.
AccessibilityKeys withoutShortcutQuestions(const AccessibilityKeys& keys);

// Live only while the game is the active application: a low-level keyboard hook that swallows
// the Windows keys, and the shortcut questions off. Deactivating (focus lost, end, the system's
// close) puts back the settings exactly as they were read on activation.
class KeyboardGuard {
 public:
  explicit KeyboardGuard(AccessibilitySettings& settings = systemAccessibilitySettings())
      : settings_(settings) {}
  ~KeyboardGuard() { setActive(false); }
  KeyboardGuard(const KeyboardGuard&) = delete;
  KeyboardGuard& operator=(const KeyboardGuard&) = delete;

  void setActive(bool active);
  bool active() const { return active_; }

 private:
  AccessibilitySettings& settings_;
  bool active_ = false;
  HHOOK hook_ = nullptr;
  bool saved_ = false;
  AccessibilityKeys before_{};
};

}  // namespace tolvaro
