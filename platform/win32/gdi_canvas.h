#pragma once
// The canvas port on a GDI device context. Colours are matched against the
// window's palette while it is selected; fills use one cached solid brush.
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/canvas.h"
#include "platform/win32/gdi_objects.h"

namespace corvane::platform::win32 {

class TGdiCanvas final : public TCanvasPort {
 public:
  // `release` runs last, after the context's objects are put back (EndPaint,
  // ReleaseDC); empty for a context that belongs to someone else.
  TGdiCanvas(HDC dc, TGdiObjects& objects, std::function<void(HDC)> release = {});
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  void SelectFont(const TFont& font) override;
  TTextMetrics TextMetrics() override;
  void RestoreFont() override;
  void RealizePalette(const TPaletteColors& colors) override;
  bool RectVisible(const TRect& rect) override;
  void FillRect(const TRect& rect, TRGB color) override;
  void TextRun(int x, int y, const TRect& opaque, std::string_view text, TRGB foreground, TRGB background) override;
  void CellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
               TRGB background, bool underline) override;
  void ScaledCellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
                     TRGB background, bool underline, TGlyphScale scale) override;
  void ClusterText(int x, int y, std::u32string_view text, TRGB foreground) override;
  void Frame(const TRect& rect, TRGB color) override;
  void FocusRect(const TRect& rect) override;

 private:
  COLORREF Colour(TRGB color) const;
  HBRUSH Brush(TRGB color);

  HDC dc_;
  TGdiObjects& objects_;
  std::function<void(HDC)> release_;
  HGDIOBJ oldFont_ = nullptr;
  HPALETTE oldPalette_ = nullptr;
  bool paletteSelected_ = false;
  HBRUSH brush_ = nullptr;
  // A run's text and advances, kept so that runs allocate nothing once grown.
  std::vector<wchar_t> text_;
  std::vector<INT> advances_;
  COLORREF brushColour_ = 0;
};

}  // namespace corvane::platform::win32
