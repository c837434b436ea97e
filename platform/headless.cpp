#include "platform/headless.h"

namespace corvane::platform {
namespace {

// Metrics of an 8 x 12 cell font without internal leading.
class THeadlessCanvas final : public TCanvasPort {
 public:
  void SelectFont(const TFont&) override {}
  TTextMetrics TextMetrics() override { return {8, 12, 0}; }
  void RestoreFont() override {}
  void RealizePalette(const TPaletteColors&) override {}
  void FillRect(const TRect&, TRGB) override {}
  void TextRun(int, int, const TRect&, std::string_view, TRGB, TRGB) override {}
  void CellRun(int, int, int, const TRect&, std::u32string_view, TRGB, TRGB, bool) override {}
  void Frame(const TRect&, TRGB) override {}
  void FocusRect(const TRect&) override {}
};

// A window that never needs painting, on a screen of the usual resolution.
class THeadlessWindow final : public TWindowPort {
 public:
  static constexpr int kPixelsPerInch = 96;

  const void* Handle() const override { return this; }
  TRect ClientRect() override { return {}; }
  void Invalidate(const TRect&) override {}
  bool UpdateRect(TRect&) override { return false; }
  void RepaintNow() override {}
  std::unique_ptr<TCanvasPort> BeginPaint(TRect& paintRect) override {
    paintRect = {};
    return std::make_unique<THeadlessCanvas>();
  }
  std::unique_ptr<TCanvasPort> ScreenCanvas() override { return std::make_unique<THeadlessCanvas>(); }
  std::unique_ptr<TCanvasPort> WindowCanvas() override { return std::make_unique<THeadlessCanvas>(); }
  int FontPixelHeight(const TFont& font) override {
    return static_cast<int>((static_cast<long long>(font.Size) * kPixelsPerInch + 36) / 72);
  }
  void SetFocus() override {}
  void SetMouseCapture() override {}
  void ReleaseMouseCapture() override {}
  void ConfinePointer(const TRect&) override {}
  void ReleasePointer() override {}
  void CreateCaret(int, int) override {}
  void DestroyCaret() override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void MoveCaret(int, int) override {}
};

class THeadlessKeyboard final : public TKeyboardPort {
 public:
  bool ShiftDown() override { return false; }
  bool CtrlDown() override { return false; }
  bool CapsLockOn() override { return false; }
  bool DeadKey(int) override { return false; }
};

class THeadlessClipboard final : public TClipboardPort {
 public:
  std::u32string Text() override { return {}; }
  void SetText(const std::string&) override {}
  void SetUnicodeText(const std::u32string&) override {}
};

class THeadlessMessageBox final : public TMessageBoxPort {
 public:
  void ShowOk(const std::string&, const std::string&) override {}
};

}  // namespace

TWindowPort& HeadlessWindow() {
  static THeadlessWindow window;
  return window;
}
TKeyboardPort& HeadlessKeyboard() {
  static THeadlessKeyboard keyboard;
  return keyboard;
}
TClipboardPort& HeadlessClipboard() {
  static THeadlessClipboard clipboard;
  return clipboard;
}
TMessageBoxPort& HeadlessMessageBox() {
  static THeadlessMessageBox box;
  return box;
}

}  // namespace corvane::platform
