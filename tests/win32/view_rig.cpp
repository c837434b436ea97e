#include "tests/win32/view_rig.h"

#include "platform/message_loop.h"

namespace corvane::win32test {

TWin32ViewRig::TWin32ViewRig() {
  TViewPorts ports;
  ports.Window = &Window;
  ports.Keyboard = &Keyboard;
  ports.Clipboard = &Clipboard;
  View = std::make_unique<TZuzeRI>(std::move(ports));
  View->OnKeyPress = [this](TCustomZuzeRI&, char& key) { Keys += key; };
  View->OnKeyBuffer = [this](TCustomZuzeRI&, const char* buffer, int len) {
    Buffers.emplace_back(buffer, static_cast<std::size_t>(len));
  };
  View->SetXlat(false);
  Window.Attach(View.get());
  Pump();
}

TWin32ViewRig::~TWin32ViewRig() {
  Window.Attach(nullptr);
  View.reset();
}

COLORREF TWin32ViewRig::Pixel(int x, int y) {
  UpdateWindow(Hwnd());
  const HDC dc = GetDC(Hwnd());
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(Hwnd(), dc);
  return colour;
}

void Pump() { platform::ProcessMessages(); }

}  // namespace corvane::win32test
