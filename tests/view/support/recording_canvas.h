#pragma once
// A canvas that keeps every call, so tests can check runs, margins and frames.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"

namespace corvane::recording {

struct TCanvasCall {
  enum Kind { SelectFont, RestoreFont, RealizePalette, FillRect, TextRun, CellRun, Frame, FocusRect, ClusterText };
  Kind What = SelectFont;
  platform::TRect Rect;  // fill, opaque, frame or focus rectangle
  int X = 0, Y = 0;      // text origin
  std::string Text;      // a cell run's cells as UTF-8, a wide character's second cell as "_"
  bool Underline = false;
  platform::TGlyphScale Scale = platform::TGlyphScale::Normal;  // of a cell run
  platform::TRGB Foreground, Background;                        // a fill's or frame's colour is Background
  platform::TFont Font;
};

std::string ToString(const TCanvasCall& call);
// "(left,top,right,bottom)"
std::string RectText(const platform::TRect& r);

class TRecordingCanvas final : public platform::TCanvasPort {
 public:
  TRecordingCanvas(std::vector<TCanvasCall>& calls, platform::TTextMetrics metrics)
      : calls_(calls), metrics_(metrics) {}
  // A paint bracket's canvas, which changes only the update region's rectangles.
  TRecordingCanvas(std::vector<TCanvasCall>& calls, platform::TTextMetrics metrics,
                   std::vector<platform::TRect> updateRegion)
      : calls_(calls), metrics_(metrics), updateRegion_(std::move(updateRegion)) {}

  bool RectVisible(const platform::TRect& rect) override;

  void SelectFont(const platform::TFont& font) override;
  platform::TTextMetrics TextMetrics() override { return metrics_; }
  void RestoreFont() override;
  void RealizePalette(const platform::TPaletteColors& colors) override;
  void FillRect(const platform::TRect& rect, platform::TRGB color) override;
  void TextRun(int x, int y, const platform::TRect& opaque, std::string_view text, platform::TRGB foreground,
               platform::TRGB background) override;
  void CellRun(int x, int y, int cellWidth, const platform::TRect& opaque, std::u32string_view cells,
               platform::TRGB foreground, platform::TRGB background, bool underline) override;
  void ScaledCellRun(int x, int y, int cellWidth, const platform::TRect& opaque, std::u32string_view cells,
                     platform::TRGB foreground, platform::TRGB background, bool underline,
                     platform::TGlyphScale scale) override;
  void ClusterText(int x, int y, std::u32string_view text, platform::TRGB foreground) override;
  void Frame(const platform::TRect& rect, platform::TRGB color) override;
  void FocusRect(const platform::TRect& rect) override;

 private:
  std::vector<TCanvasCall>& calls_;
  platform::TTextMetrics metrics_;
  std::optional<std::vector<platform::TRect>> updateRegion_;
};

}  // namespace corvane::recording
