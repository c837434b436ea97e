#include "tests/view/support/recording_window.h"

#include <algorithm>

namespace corvane::recording {

TUpdateRegion& TUpdateRegion::operator=(const platform::TRect& rect) {
  rects_.assign(1, rect);
  return *this;
}

void TUpdateRegion::Add(const platform::TRect& rect) {
  if (!rect.Empty()) rects_.push_back(rect);
}

platform::TRect TUpdateRegion::Bounds() const {
  if (rects_.empty()) return {};
  platform::TRect bounds = rects_.front();
  for (const platform::TRect& r : rects_) {
    bounds.Left = std::min(bounds.Left, r.Left);
    bounds.Top = std::min(bounds.Top, r.Top);
    bounds.Right = std::max(bounds.Right, r.Right);
    bounds.Bottom = std::max(bounds.Bottom, r.Bottom);
  }
  return bounds;
}

void TRecordingWindow::Invalidate(const platform::TRect& rect) {
  Calls.push_back("Invalidate " + RectText(rect));
  Pending.Add(rect);
}

bool TRecordingWindow::UpdateRect(platform::TRect& rect) {
  if (Pending.Empty()) return false;
  rect = Pending.Bounds();
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
  paintRect = Pending.Bounds();
  auto canvas = std::make_unique<TRecordingCanvas>(Painted, Metrics, Pending.Rects());
  Pending.Clear();
  return canvas;
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
