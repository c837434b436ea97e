#pragma once
// TAboutBox on Windows: the program's icon, name, version, notice and
// comment on a bevelled panel, and OK. It is created hidden with the main
// window and shown modally as often as asked.
#include <windows.h>

namespace corvane::gui::win32 {

class TAboutBox {
 public:
  explicit TAboutBox(HWND owner);
  ~TAboutBox();
  TAboutBox(const TAboutBox&) = delete;
  TAboutBox& operator=(const TAboutBox&) = delete;

  // Centres the dialog on the screen.
  void FormCreate();
  // Disables `owner` and runs the messages until OK, Enter, Escape or the
  // close box ends the display. A quit message ends it too and stays queued.
  void ShowModal(HWND owner);

  HWND Hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void Label(const char* text, int left, int top, int width, bool wordWrap);
  void CreateControls();

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  bool shown_ = false;
};

}  // namespace corvane::gui::win32
