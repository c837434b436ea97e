#include "platform/win32/view_ports.h"

#include <cstring>

namespace corvane::platform::win32 {

bool TWin32Keyboard::ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool TWin32Keyboard::CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }
bool TWin32Keyboard::CapsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

// The current layout marks a dead key with the top bit of its character.
bool TWin32Keyboard::DeadKey(int virtualKey) {
  return (MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR) & 0x80000000u) != 0;
}

// The text ends at its 0 byte, or at the end of the block when another
// program left it unterminated.
std::string TWin32Clipboard::Text() {
  if (!OpenClipboard(owner_)) return {};
  std::string text;
  if (const HANDLE data = GetClipboardData(CF_OEMTEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
      const std::size_t size = GlobalSize(data);
      const void* end = std::memchr(bytes, 0, size);
      text.assign(bytes, end != nullptr ? static_cast<const char*>(end) : bytes + size);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Clipboard text ends at its first 0 byte; what follows one cannot be kept.
void TWin32Clipboard::SetText(const std::string& text) {
  const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (data == nullptr) return;
  auto* bytes = static_cast<char*>(GlobalLock(data));
  if (bytes == nullptr) {
    GlobalFree(data);
    return;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(data);
  if (!OpenClipboard(owner_)) {
    GlobalFree(data);
    return;
  }
  EmptyClipboard();
  if (SetClipboardData(CF_OEMTEXT, data) == nullptr) GlobalFree(data);
  CloseClipboard();
}

void TWin32MessageBox::ShowOk(const std::string& text, const std::string& caption) {
  MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace corvane::platform::win32
