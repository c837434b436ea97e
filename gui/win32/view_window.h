#pragma once
// The terminal view's window on Windows: a child window whose messages go to
// the view (paint, focus, mouse, characters) and which carries out the
// view's window calls (invalidation, painting, caret, mouse capture). Its
// window timer is the view's frame clock.
#include <windows.h>

#include <functional>
#include <memory>

#include "emulator/terminal_view.h"
#include "platform/frame_clock.h"
#include "platform/win32/gdi_objects.h"
#include "platform/window.h"

namespace corvane::gui::win32 {

// The program stands on the ports and their Win32 adapters.
using namespace platform;
using namespace platform::win32;

class TWin32ViewWindow final : public TWindowPort, public TFrameClockPort {
 public:
  // A child of `parent` (a top-level window when it is null) at `bounds` in
  // the parent's client pixels, with the extended style (its border) given.
  TWin32ViewWindow(HWND parent, const TRect& bounds, DWORD exStyle = 0);
  ~TWin32ViewWindow() override;
  TWin32ViewWindow(const TWin32ViewWindow&) = delete;
  TWin32ViewWindow& operator=(const TWin32ViewWindow&) = delete;

  // Messages reach the view from now on; null stops them. The view must be
  // detached (or this window destroyed) before the view is. A view attached
  // to the focused window gains the focus at once.
  void Attach(TCustomZuzeRI* view);
  HWND Hwnd() const { return hwnd_; }
  HPALETTE Palette() const { return objects_.PaletteHandle(); }

  const void* Handle() const override { return hwnd_; }
  TRect ClientRect() override;
  void Invalidate(const TRect& rect) override;
  bool UpdateRect(TRect& rect) override;
  void RepaintNow() override;
  void ScrollPixels(const TRect& rect, int dy) override;
  std::unique_ptr<TCanvasPort> BeginPaint(TRect& paintRect) override;
  std::unique_ptr<TCanvasPort> ScreenCanvas() override;
  std::unique_ptr<TCanvasPort> WindowCanvas() override;
  int FontPixelHeight(const TFont& font) override;

  void SetFocus() override;
  void SetMouseCapture() override;
  void ReleaseMouseCapture() override;
  void ConfinePointer(const TRect& rect) override;
  void ReleasePointer() override;

  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void ShowCaret() override;
  void HideCaret() override;
  void MoveCaret(int x, int y) override;

  void Start(std::function<void()> tick) override;
  void Stop() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool ToView(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC given);
  void PaintRim(HDC dc);

  HWND hwnd_ = nullptr;
  TCustomZuzeRI* view_ = nullptr;
  TGdiObjects objects_;
  std::function<void()> tick_;
};

}  // namespace corvane::gui::win32
