#include "tests/view/support/recording_window.h"

#include <algorithm>

namespace corvane::recording {

void TRecordingWindow::Invalidate(const platform::TRect& rect) {
  Calls.push_back("Invalidate " + RectText(rect));
  if (rect.Empty()) return;
  if (!Pending) {
    Pending = rect;
    return;
  }
  Pending->Left = std::min(Pending->Left, rect.Left);
  Pending->Top = std::min(Pending->Top, rect.Top);
  Pending->Right = std::max(Pending->Right, rect.Right);
  Pending->Bottom = std::max(Pending->Bottom, rect.Bottom);
}

bool TRecordingWindow::UpdateRect(platform::TRect& rect) {
  if (!Pending) return false;
  rect = *Pending;
  return true;
}

void TRecordingWindow::ScrollPixels(const platform::TRect& area, int dy) {
  Calls.push_back("ScrollPixels " + RectText(area) + " " + std::to_string(dy));
}

void TRecordingWindow::RepaintNow() {
  Calls.push_back("RepaintNow");
  Pending = Client;
}

std::unique_ptr<platform::TCanvasPort> TRecordingWindow::BeginPaint(platform::TRect& paintRect) {
  Calls.push_back("BeginPaint");
  paintRect = Pending.value_or(platform::TRect{});
  Pending.reset();
  return std::make_unique<TRecordingCanvas>(Painted, Metrics);
}

std::unique_ptr<platform::TCanvasPort> TRecordingWindow::ScreenCanvas() {
  return std::make_unique<TRecordingCanvas>(Measured, Metrics);
}

std::unique_ptr<platform::TCanvasPort> TRecordingWindow::WindowCanvas() {
  return std::make_unique<TRecordingCanvas>(Drawn, Metrics);
}

void TRecordingWindow::ConfinePointer(const platform::TRect& rect) {
  Calls.push_back("ConfinePointer " + RectText(rect));
}

void TRecordingWindow::CreateCaret(int width, int height) {
  Calls.push_back("CreateCaret " + std::to_string(width) + "x" + std::to_string(height));
}

void TRecordingWindow::MoveCaret(int x, int y) {
  Calls.push_back("MoveCaret " + std::to_string(x) + "," + std::to_string(y));
}

std::vector<std::string> TRecordingWindow::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : Calls)
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  return found;
}

}  // namespace corvane::recording
