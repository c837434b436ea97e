#include "tests/view/support/recording_canvas.h"

#include "emulator/text_decoder.h"

#include <cstdio>

namespace corvane::recording {
namespace {
std::string Color(platform::TRGB c) {
  char text[32];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", c.Red, c.Green, c.Blue);
  return text;
}

TCanvasCall Call(TCanvasCall::Kind what, const platform::TRect& rect = {}) {
  TCanvasCall call;
  call.What = what;
  call.Rect = rect;
  return call;
}
}  // namespace

std::string RectText(const platform::TRect& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d,%d,%d)", r.Left, r.Top, r.Right, r.Bottom);
  return text;
}

std::string ToString(const TCanvasCall& call) {
  constexpr const char* kScales[] = {"", "Wide ", "Top half ", "Bottom half "};
  switch (call.What) {
    case TCanvasCall::SelectFont:
      return "SelectFont " + call.Font.Name;
    case TCanvasCall::RestoreFont:
      return "RestoreFont";
    case TCanvasCall::RealizePalette:
      return "RealizePalette";
    case TCanvasCall::FillRect:
      return "Fill " + RectText(call.Rect) + " " + Color(call.Background);
    case TCanvasCall::TextRun:
      return "Text " + std::to_string(call.X) + "," + std::to_string(call.Y) + " " + RectText(call.Rect) + " '" +
             call.Text + "' " + Color(call.Foreground) + " on " + Color(call.Background);
    case TCanvasCall::CellRun:
      return std::string(kScales[static_cast<int>(call.Scale)]) + (call.Underline ? "Underlined cells " : "Cells ") +
             std::to_string(call.X) + "," + std::to_string(call.Y) + " " + RectText(call.Rect) + " '" + call.Text +
             "' " + Color(call.Foreground) + " on " + Color(call.Background);
    case TCanvasCall::Frame:
      return "Frame " + RectText(call.Rect) + " " + Color(call.Background);
    case TCanvasCall::FocusRect:
      return "FocusRect " + RectText(call.Rect);
    case TCanvasCall::ClusterText:
      return "Cluster " + std::to_string(call.X) + "," + std::to_string(call.Y) + " '" + call.Text + "' " +
             Color(call.Foreground);
  }
  return "?";
}

bool TRecordingCanvas::RectVisible(const platform::TRect& rect) {
  if (!updateRegion_) return true;
  for (const platform::TRect& r : *updateRegion_)
    if (r.Left < rect.Right && rect.Left < r.Right && r.Top < rect.Bottom && rect.Top < r.Bottom) return true;
  return false;
}

void TRecordingCanvas::SelectFont(const platform::TFont& font) {
  calls_.push_back(Call(TCanvasCall::SelectFont));
  calls_.back().Font = font;
}
void TRecordingCanvas::RestoreFont() { calls_.push_back(Call(TCanvasCall::RestoreFont)); }
void TRecordingCanvas::RealizePalette(const platform::TPaletteColors&) {
  calls_.push_back(Call(TCanvasCall::RealizePalette));
}
void TRecordingCanvas::FillRect(const platform::TRect& rect, platform::TRGB color) {
  calls_.push_back(Call(TCanvasCall::FillRect, rect));
  calls_.back().Background = color;
}
void TRecordingCanvas::TextRun(int x, int y, const platform::TRect& opaque, std::string_view text,
                               platform::TRGB foreground, platform::TRGB background) {
  TCanvasCall& call = calls_.emplace_back(Call(TCanvasCall::TextRun, opaque));
  call.X = x;
  call.Y = y;
  call.Text = text;
  call.Foreground = foreground;
  call.Background = background;
}
void TRecordingCanvas::CellRun(int x, int y, int, const platform::TRect& opaque, std::u32string_view cells,
                               platform::TRGB foreground, platform::TRGB background, bool underline) {
  TCanvasCall& call = calls_.emplace_back(Call(TCanvasCall::CellRun, opaque));
  call.X = x;
  call.Y = y;
  for (const char32_t ch : cells) {
    if (ch == 0)
      call.Text += '_';
    else
      AppendUtf8(call.Text, ch);
  }
  call.Foreground = foreground;
  call.Background = background;
  call.Underline = underline;
}
void TRecordingCanvas::ScaledCellRun(int x, int y, int cellWidth, const platform::TRect& opaque,
                                     std::u32string_view cells, platform::TRGB foreground, platform::TRGB background,
                                     bool underline, platform::TGlyphScale scale) {
  CellRun(x, y, cellWidth, opaque, cells, foreground, background, underline);
  calls_.back().Scale = scale;
}
void TRecordingCanvas::ClusterText(int x, int y, std::u32string_view text, platform::TRGB foreground) {
  TCanvasCall& call = calls_.emplace_back(Call(TCanvasCall::ClusterText));
  call.X = x;
  call.Y = y;
  for (const char32_t ch : text) AppendUtf8(call.Text, ch);
  call.Foreground = foreground;
}
void TRecordingCanvas::Frame(const platform::TRect& rect, platform::TRGB color) {
  calls_.push_back(Call(TCanvasCall::Frame, rect));
  calls_.back().Background = color;
}
void TRecordingCanvas::FocusRect(const platform::TRect& rect) { calls_.push_back(Call(TCanvasCall::FocusRect, rect)); }

}  // namespace corvane::recording
