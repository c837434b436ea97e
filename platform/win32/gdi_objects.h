#pragma once
// The GDI objects one window keeps across paints: its logical palette and the
// font last asked for. Both are deleted with the window.
#include <windows.h>

#include <optional>

#include "platform/canvas.h"

namespace corvane::platform::win32 {

class TGdiObjects {
 public:
  TGdiObjects() = default;
  ~TGdiObjects();
  TGdiObjects(const TGdiObjects&) = delete;
  TGdiObjects& operator=(const TGdiObjects&) = delete;

  // The palette of these colours, created on first use and then reused.
  HPALETTE Palette(const TPaletteColors& colors);
  // The font, created for the resolution of `dc` on first use and reused
  // while the same font is asked for.
  HFONT Font(const TFont& font, HDC dc);

  HPALETTE PaletteHandle() const { return palette_; }

 private:
  HPALETTE palette_ = nullptr;
  TPaletteColors paletteColors_{};
  HFONT font_ = nullptr;
  std::optional<TFont> fontSpec_;
};

// The character height in pixels of a font of `points` on `dc`.
int PointsToPixels(int points, HDC dc);

// A GDI font for the terminal: fixed pitch and the OEM character set, so
// that the cell codes show as the code page 437 glyphs.
HFONT CreateTerminalFont(const TFont& font, HDC dc);

}  // namespace corvane::platform::win32
