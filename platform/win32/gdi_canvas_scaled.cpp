// The GDI canvas's stretched runs (double-width and double-height rows) and
// cells with combining marks.
#include <vector>

#include "platform/win32/gdi_canvas.h"

namespace corvane::platform::win32 {

// The run is drawn with a copy of the selected font made twice as wide (and
// tall); a lower half is drawn one cell height higher, clipped to the row.
void TGdiCanvas::ScaledCellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells,
                               TRGB foreground, TRGB background, bool underline, TGlyphScale scale) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc_, &tm);
  LOGFONTW font{};
  GetObjectW(GetCurrentObject(dc_, OBJ_FONT), sizeof font, &font);
  const bool tall = scale == TGlyphScale::TallTop || scale == TGlyphScale::TallBottom;
  font.lfWidth = tm.tmAveCharWidth * 2;
  font.lfHeight = tm.tmHeight * (tall ? 2 : 1);
  const HFONT stretched = CreateFontIndirectW(&font);
  const HGDIOBJ previous = stretched != nullptr ? SelectObject(dc_, stretched) : nullptr;
  const int top = scale == TGlyphScale::TallBottom ? y - tm.tmHeight : y;
  // The underline of an upper half would fall below the row.
  CellRun(x, top, cellWidth, opaque, cells, foreground, background, underline && scale != TGlyphScale::TallTop);
  if (previous != nullptr) SelectObject(dc_, previous);
  if (stretched != nullptr) DeleteObject(stretched);
}

void TGdiCanvas::ClusterText(int x, int y, std::u32string_view text, TRGB foreground) {
  std::vector<wchar_t> utf16;
  for (char32_t ch : text) {
    if (ch >= 0x10000) {
      ch -= 0x10000;
      utf16.push_back(static_cast<wchar_t>(0xD800 + (ch >> 10)));
      ch = 0xDC00 + (ch & 0x3FF);
    }
    utf16.push_back(static_cast<wchar_t>(ch));
  }
  SetTextColor(dc_, Colour(foreground));
  SetBkMode(dc_, TRANSPARENT);
  ExtTextOutW(dc_, x, y, 0, nullptr, utf16.data(), static_cast<UINT>(utf16.size()), nullptr);
  SetBkMode(dc_, OPAQUE);
}

}  // namespace corvane::platform::win32
