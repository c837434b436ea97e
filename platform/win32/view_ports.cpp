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

namespace {
// UTF-16 to code points; a lone surrogate becomes U+FFFD.
std::u32string FromUtf16(const wchar_t* units, std::size_t count) {
  std::u32string text;
  text.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = static_cast<char16_t>(units[i]);
    const bool high = unit >= 0xD800 && unit < 0xDC00;
    const bool lowNext = i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
    if (high && lowNext) {
      const char32_t low = static_cast<char16_t>(units[++i]);
      text += static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else {
      text += unit >= 0xD800 && unit < 0xE000 ? U'\uFFFD' : unit;
    }
  }
  return text;
}
// Code points to UTF-16; one beyond U+10FFFF or a surrogate becomes U+FFFD.
std::wstring ToUtf16(const std::u32string& text) {
  std::wstring units;
  units.reserve(text.size());
  for (char32_t ch : text) {
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch < 0xE000)) ch = U'\uFFFD';
    if (ch < 0x10000) {
      units += static_cast<wchar_t>(ch);
      continue;
    }
    units += static_cast<wchar_t>(0xD800 + ((ch - 0x10000) >> 10));
    units += static_cast<wchar_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
  }
  return units;
}
}  // namespace

// The text ends at its 0 character, or at the end of the block when another
// program left it unterminated.
std::u32string TWin32Clipboard::Text() {
  if (!OpenClipboard(owner_)) return {};
  std::u32string text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      const std::size_t size = GlobalSize(data) / sizeof(wchar_t);
      std::size_t count = 0;
      while (count < size && units[count] != 0) ++count;
      text = FromUtf16(units, count);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Clipboard text ends at its first 0 byte; what follows one cannot be kept.
void TWin32Clipboard::SetText(const std::string& text) { Place(CF_OEMTEXT, text.c_str(), text.size() + 1); }

void TWin32Clipboard::SetUnicodeText(const std::u32string& text) {
  const std::wstring units = ToUtf16(text);
  Place(CF_UNICODETEXT, units.c_str(), (units.size() + 1) * sizeof(wchar_t));
}

void TWin32Clipboard::Place(UINT format, const void* data, std::size_t size) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return;
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    return;
  }
  std::memcpy(bytes, data, size);
  GlobalUnlock(block);
  if (!OpenClipboard(owner_)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (SetClipboardData(format, block) == nullptr) GlobalFree(block);
  CloseClipboard();
}

void TWin32MessageBox::ShowOk(const std::string& text, const std::string& caption) {
  MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace corvane::platform::win32
