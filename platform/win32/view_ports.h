#pragma once
// The keyboard, clipboard and message box ports of the terminal view on
// Windows.
#include <windows.h>

#include "platform/clipboard.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"

namespace corvane::platform::win32 {

// The keyboard state that belongs to the message being handled.
class TWin32Keyboard final : public TKeyboardPort {
 public:
  bool ShiftDown() override;
  bool CtrlDown() override;
  bool CapsLockOn() override;
  bool DeadKey(int virtualKey) override;
};

// Text as OEM bytes, the code page of the classic terminal's cells: the
// system converts it for programs that read ANSI or Unicode text, so accented
// letters survive a copy. The Xterm terminal's text goes as Unicode. The clipboard belongs to `owner` while it is set.
class TWin32Clipboard final : public TClipboardPort {
 public:
  explicit TWin32Clipboard(HWND owner) : owner_(owner) {}
  std::u32string Text() override;
  void SetText(const std::string& text) override;
  void SetUnicodeText(const std::u32string& text) override;

 private:
  void Place(UINT format, const void* data, std::size_t size);

  HWND owner_;
};

class TWin32MessageBox final : public TMessageBoxPort {
 public:
  explicit TWin32MessageBox(HWND owner) : owner_(owner) {}
  void ShowOk(const std::string& text, const std::string& caption) override;

 private:
  HWND owner_;
};

}  // namespace corvane::platform::win32
