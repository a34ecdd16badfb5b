#include "hosts/win32/KeyboardGuard.h"

#include <imm.h>

namespace tolvaro {
namespace {

LRESULT CALLBACK swallowWindowsKeys(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (key->vkCode == VK_LWIN || key->vkCode == VK_RWIN) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class SystemSettings : public AccessibilitySettings {
 public:
  bool read(AccessibilityKeys& keys) override {
    keys = AccessibilityKeys{};
    return SystemParametersInfoW(SPI_GETSTICKYKEYS, sizeof(keys.sticky), &keys.sticky, 0) &&
           SystemParametersInfoW(SPI_GETFILTERKEYS, sizeof(keys.filter), &keys.filter, 0) &&
           SystemParametersInfoW(SPI_GETTOGGLEKEYS, sizeof(keys.toggle), &keys.toggle, 0);
  }
  // Not written to the profile: a game that dies leaves them changed only until logoff.
  void write(const AccessibilityKeys& keys) override {
    AccessibilityKeys copy = keys;
    SystemParametersInfoW(SPI_SETSTICKYKEYS, sizeof(copy.sticky), &copy.sticky, 0);
    SystemParametersInfoW(SPI_SETFILTERKEYS, sizeof(copy.filter), &copy.filter, 0);
    SystemParametersInfoW(SPI_SETTOGGLEKEYS, sizeof(copy.toggle), &copy.toggle, 0);
  }
};

}  // namespace

void detachInputContext(HWND window) {
  ImmAssociateContextEx(window, nullptr, 0);
}

void restoreInputContext(HWND window) {
  ImmAssociateContextEx(window, nullptr, IACE_DEFAULT);
}

WPARAM keyOfKeyDown(HWND window, WPARAM wParam, LPARAM lParam) {
  if (wParam != VK_PROCESSKEY) return wParam;
  const UINT key = ImmGetVirtualKey(window);
  if (key != 0 && key != VK_PROCESSKEY) return key;
  // No input method to ask (a window without a context): the key's place on the keyboard.
  const UINT fromScanCode = MapVirtualKeyW((static_cast<UINT>(lParam) >> 16) & 0xFF, MAPVK_VSC_TO_VK);
  return fromScanCode != 0 ? fromScanCode : wParam;
}

AccessibilitySettings& systemAccessibilitySettings() {
  static SystemSettings settings;
  return settings;
}

AccessibilityKeys withoutShortcutQuestions(const AccessibilityKeys& keys) {
  AccessibilityKeys quiet = keys;
  if (!(keys.sticky.dwFlags & SKF_STICKYKEYSON)) {
    quiet.sticky.dwFlags &= ~(SKF_HOTKEYACTIVE | SKF_CONFIRMHOTKEY);
  }
  if (!(keys.filter.dwFlags & FKF_FILTERKEYSON)) {
    quiet.filter.dwFlags &= ~(FKF_HOTKEYACTIVE | FKF_CONFIRMHOTKEY);
  }
  if (!(keys.toggle.dwFlags & TKF_TOGGLEKEYSON)) {
    quiet.toggle.dwFlags &= ~(TKF_HOTKEYACTIVE | TKF_CONFIRMHOTKEY);
  }
  return quiet;
}

void KeyboardGuard::setActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, swallowWindowsKeys, GetModuleHandleW(nullptr), 0);
    saved_ = settings_.read(before_);
    if (saved_) settings_.write(withoutShortcutQuestions(before_));
  } else {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    if (saved_) settings_.write(before_);
    saved_ = false;
  }
}

}  // namespace tolvaro
