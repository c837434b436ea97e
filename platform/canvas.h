#pragma once
// The drawing surface the terminal view paints on: a device context with a
// selected font and palette.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rect.h"

namespace corvane::platform {

struct TRGB {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};

using TPaletteColors = std::array<TRGB, 16>;

enum class TFontPitch { Default, Fixed, Variable };

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
  std::string Name = "Terminal";
  int Size = 12;  // points
  TFontPitch Pitch = TFontPitch::Default;
  std::uint8_t Style = 0;  // TFontStyle bits
  friend bool operator==(const TFont&, const TFont&) = default;
};

// How a row's glyphs are scaled: twice as wide, and for the halves of a
// double-height row also twice as tall, with the upper or lower half shown.
enum class TGlyphScale : std::uint8_t { Normal, Wide, TallTop, TallBottom };

struct TTextMetrics {
  int MaxCharWidth = 0;
  int Height = 0;
  int InternalLeading = 0;
};

class TCanvasPort {
 public:
  virtual ~TCanvasPort() = default;

  // Selects the font; RestoreFont puts the previous one back.
  virtual void SelectFont(const TFont& font) = 0;
  virtual TTextMetrics TextMetrics() = 0;
  virtual void RestoreFont() = 0;

  // Selects and realises a logical palette of the 16 colours as the
  // foreground palette; later colours are matched against it.
  virtual void RealizePalette(const TPaletteColors& colors) = 0;

  // Fills the rectangle with a solid colour and no outline.
  virtual void FillRect(const TRect& rect, TRGB color) = 0;

  // One opaque text run: fills `opaque` with `background`, then draws `text`
  // with its origin at (x, y) in `foreground`, clipped to `opaque`.
  virtual void TextRun(int x, int y, const TRect& opaque, std::string_view text, TRGB foreground, TRGB background) = 0;

  // Unicode text one cell per element, each glyph at the left edge of its
  // cell, `cellWidth` pixels apart; 0 marks the second cell of a character
  // two cells wide. Otherwise as TextRun, with a line under the text when
  // `underline` is set.
  virtual void CellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
                       TRGB background, bool underline) = 0;

  // Whether any of `rect` lies inside what this paint changes: the window's
  // update region, which may be bands far apart. Drawing outside it shows
  // nothing, so a painter may skip what lies there. A canvas that cannot
  // tell answers yes.
  virtual bool RectVisible(const TRect& rect) {
    (void)rect;
    return true;
  }

  // The runs up to EndRow make up one row of text inside `row`. They are
  // clipped to the row as a whole instead of each to its own rectangle: a
  // glyph may reach into a neighbour run's cells, never out of its row.
  // A canvas whose runs clip cheaply may ignore the pair.
  virtual void BeginRow(const TRect& row) { (void)row; }
  virtual void EndRow() {}

  // As CellRun with `cellWidth` a doubled cell and each glyph stretched by
  // `scale` to fill it. A canvas that cannot stretch glyphs spaces them.
  virtual void ScaledCellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells,
                             TRGB foreground, TRGB background, bool underline, TGlyphScale) {
    CellRun(x, y, cellWidth, opaque, cells, foreground, background, underline);
  }

  // A character with its combining marks, composed by the font, drawn with
  // no background over the cell a cell run has just filled; a canvas that
  // draws no text ignores it.
  virtual void ClusterText(int /*x*/, int /*y*/, std::u32string_view /*text*/, TRGB /*foreground*/) {}

  // A one-pixel outline around `rect` with nothing filled inside.
  virtual void Frame(const TRect& rect, TRGB color) = 0;

  // Inverts a dotted outline around `rect`; drawing it twice removes it.
  virtual void FocusRect(const TRect& rect) = 0;
};

}  // namespace corvane::platform
