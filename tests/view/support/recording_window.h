#pragma once
// A window that keeps every call and an update region, and hands out
// recording canvases; plus fakes of the keyboard, clipboard and message box.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/frame_clock.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "tests/view/support/recording_canvas.h"

namespace corvane::recording {

// The update region: the rectangles invalidated since the last paint. A
// test that assigns one rectangle makes it the whole region.
class TUpdateRegion {
 public:
  TUpdateRegion& operator=(const platform::TRect& rect);
  void Add(const platform::TRect& rect);
  void Clear() { rects_.clear(); }
  bool Empty() const { return rects_.empty(); }
  platform::TRect Bounds() const;
  const std::vector<platform::TRect>& Rects() const { return rects_; }

 private:
  std::vector<platform::TRect> rects_;
};

class TRecordingWindow final : public platform::TWindowPort {
 public:
  platform::TRect Client{0, 0, 500, 400};
  platform::TTextMetrics Metrics{8, 12, 0};
  TUpdateRegion Pending;
  std::vector<std::string> Calls;     // window calls, e.g. "Invalidate (6,4,14,16)"
  std::vector<TCanvasCall> Painted;   // calls on paint-bracket canvases
  std::vector<TCanvasCall> Measured;  // calls on screen canvases
  std::vector<TCanvasCall> Drawn;     // calls on window canvases outside painting
  int FontHeight = 12;                // what FontPixelHeight answers

  const void* Handle() const override { return this; }
  platform::TRect ClientRect() override { return Client; }
  void Invalidate(const platform::TRect& rect) override;
  bool UpdateRect(platform::TRect& rect) override;
  void RepaintNow() override;
  void ScrollPixels(const platform::TRect& area, int dy) override;
  std::unique_ptr<platform::TCanvasPort> BeginPaint(platform::TRect& paintRect) override;
  std::unique_ptr<platform::TCanvasPort> ScreenCanvas() override;
  std::unique_ptr<platform::TCanvasPort> WindowCanvas() override;
  int FontPixelHeight(const platform::TFont&) override { return FontHeight; }
  void SetFocus() override { Calls.push_back("SetFocus"); }
  void SetMouseCapture() override { Calls.push_back("SetMouseCapture"); }
  void ReleaseMouseCapture() override { Calls.push_back("ReleaseMouseCapture"); }
  void ConfinePointer(const platform::TRect& rect) override;
  void ReleasePointer() override { Calls.push_back("ReleasePointer"); }
  void CreateCaret(int width, int height) override;
  void DestroyCaret() override { Calls.push_back("DestroyCaret"); }
  void ShowCaret() override { Calls.push_back("ShowCaret"); }
  void HideCaret() override { Calls.push_back("HideCaret"); }
  void MoveCaret(int x, int y) override;

  // The calls whose text starts with `prefix`.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

// A frame clock that ticks only when the test says so.
class TFakeFrameClock final : public platform::TFrameClockPort {
 public:
  int Starts = 0;
  void Start(std::function<void()> tick) override {
    tick_ = std::move(tick);
    ++Starts;
  }
  void Stop() override { tick_ = nullptr; }
  bool Running() const { return tick_ != nullptr; }
  // One frame passes; false when the clock is stopped.
  bool Tick() {
    if (!tick_) return false;
    const auto tick = tick_;
    tick();
    return true;
  }

 private:
  std::function<void()> tick_;
};

class TFakeKeyboard final : public platform::TKeyboardPort {
 public:
  bool Shift = false, Ctrl = false, CapsLock = false;
  bool DeadKeyLayout = true;  // a layout with its dead key at virtual key 221
  bool ShiftDown() override { return Shift; }
  bool CtrlDown() override { return Ctrl; }
  bool CapsLockOn() override { return CapsLock; }
  bool DeadKey(int virtualKey) override { return DeadKeyLayout && virtualKey == 221; }
};

class TFakeClipboard final : public platform::TClipboardPort {
 public:
  std::string Contents;          // what the program put on the clipboard
  std::u32string UnicodeCopied;  // ... as Unicode text
  std::u32string Pasted;         // what another program put there
  std::u32string Text() override { return Pasted; }
  void SetText(const std::string& text) override { Contents = text; }
  void SetUnicodeText(const std::u32string& text) override { UnicodeCopied = text; }
};

class TFakeMessageBox final : public platform::TMessageBoxPort {
 public:
  std::vector<std::pair<std::string, std::string>> Shown;  // text, caption
  void ShowOk(const std::string& text, const std::string& caption) override { Shown.emplace_back(text, caption); }
};

}  // namespace corvane::recording
