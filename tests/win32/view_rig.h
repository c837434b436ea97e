#pragma once
// A published view in a real window at a known place on the screen, with the
// Windows keyboard, clipboard and message box, and its key output recorded.
#include <windows.h>

#include <string>
#include <vector>

#include "emulator/terminal_view.h"
#include "gui/win32/view_window.h"
#include "platform/win32/view_ports.h"

namespace corvane::win32test {

struct TWin32ViewRig {
  static constexpr int kLeft = 40, kTop = 30, kWidth = 400, kHeight = 300;

  gui::win32::TWin32ViewWindow Window{nullptr, {kLeft, kTop, kLeft + kWidth, kTop + kHeight}};
  platform::win32::TWin32Keyboard Keyboard;
  platform::win32::TWin32Clipboard Clipboard{Window.Hwnd()};
  std::unique_ptr<TZuzeRI> View;
  std::string Keys;                  // what reached KeyPress
  std::vector<std::string> Buffers;  // what reached the key buffer

  TWin32ViewRig();
  ~TWin32ViewRig();

  HWND Hwnd() const { return Window.Hwnd(); }
  // Paints what is pending, then reads a pixel of the client area.
  COLORREF Pixel(int x, int y);
};

// Handles every message that is pending, as the program's loop would.
void Pump();

}  // namespace corvane::win32test
