#include "platform/win32/gdi_canvas.h"

#include <utility>
#include <vector>

namespace corvane::platform::win32 {
namespace {

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// A font that really has the OEM character set draws the cell codes as they
// are. A substitute without it (Wine has no raster terminal font) gets them
// converted from the OEM code page, so that line drawing still shows.
// `wide` is the caller's buffer, kept from run to run.
void DrawCells(HDC dc, int x, int y, const RECT& opaque, std::string_view text, std::vector<wchar_t>& wide) {
  const UINT options = ETO_OPAQUE | ETO_CLIPPED;
  const int length = static_cast<int>(text.size());
  if (GetTextCharset(dc) == OEM_CHARSET || text.empty()) {
    ExtTextOutA(dc, x, y, options, &opaque, text.data(), static_cast<UINT>(length), nullptr);
    return;
  }
  wide.resize(text.size());
  const int count = MultiByteToWideChar(CP_OEMCP, 0, text.data(), length, wide.data(), length);
  ExtTextOutW(dc, x, y, options, &opaque, wide.data(), static_cast<UINT>(count), nullptr);
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc, TGdiObjects& objects, std::function<void(HDC)> release)
    : dc_(dc), objects_(objects), release_(std::move(release)) {}

TGdiCanvas::~TGdiCanvas() {
  if (oldFont_ != nullptr) SelectObject(dc_, oldFont_);
  if (paletteSelected_) SelectPalette(dc_, oldPalette_, FALSE);
  if (brush_ != nullptr) DeleteObject(brush_);
  if (release_) release_(dc_);
}

void TGdiCanvas::SelectFont(const TFont& font) {
  const HGDIOBJ previous = SelectObject(dc_, objects_.Font(font, dc_));
  if (oldFont_ == nullptr) oldFont_ = previous;
}

// For a fixed-pitch font the widest character is the cell: substitutes for
// the terminal font report a maximum that covers glyphs far wider than it.
// The cell is the font's whole height with no internal leading: the view
// clips each row below its leading, and the outline faces that stand in for
// the raster terminal font draw the dot of i and the bar of T into theirs.
TTextMetrics TGdiCanvas::TextMetrics() {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc_, &tm);
  // TMPF_FIXED_PITCH set means a variable pitch.
  const bool fixed = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
  return {fixed ? tm.tmAveCharWidth : tm.tmMaxCharWidth, tm.tmHeight, 0};
}

void TGdiCanvas::RestoreFont() {
  if (oldFont_ == nullptr) return;
  SelectObject(dc_, oldFont_);
  oldFont_ = nullptr;
}

void TGdiCanvas::RealizePalette(const TPaletteColors& colors) {
  const HPALETTE previous = SelectPalette(dc_, objects_.Palette(colors), FALSE);
  if (!paletteSelected_) oldPalette_ = previous;
  paletteSelected_ = true;
  ::RealizePalette(dc_);
}

COLORREF TGdiCanvas::Colour(TRGB color) const {
  return paletteSelected_ ? PALETTERGB(color.Red, color.Green, color.Blue) : RGB(color.Red, color.Green, color.Blue);
}

HBRUSH TGdiCanvas::Brush(TRGB color) {
  const COLORREF colour = Colour(color);
  if (brush_ != nullptr && colour == brushColour_) return brush_;
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = CreateSolidBrush(colour);
  brushColour_ = colour;
  return brush_;
}

// A paint bracket's context is clipped to the update region.
bool TGdiCanvas::RectVisible(const TRect& rect) {
  const RECT r = ToRect(rect);
  return ::RectVisible(dc_, &r) != FALSE;
}

void TGdiCanvas::FillRect(const TRect& rect, TRGB color) {
  const RECT r = ToRect(rect);
  ::FillRect(dc_, &r, Brush(color));
}

void TGdiCanvas::TextRun(int x, int y, const TRect& opaque, std::string_view text, TRGB foreground, TRGB background) {
  SetTextColor(dc_, Colour(foreground));
  SetBkColor(dc_, Colour(background));
  SetBkMode(dc_, OPAQUE);
  DrawCells(dc_, x, y, ToRect(opaque), text, text_);
}

// Each character is placed cellWidth (two cells for a wide one) after the
// previous one, whatever the font's own advances; characters outside the
// basic plane go as surrogate pairs.
void TGdiCanvas::CellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
                         TRGB background, bool underline) {
  std::vector<wchar_t>& text = text_;
  std::vector<INT>& advances = advances_;
  text.clear();
  advances.clear();
  for (char32_t ch : cells) {
    if (ch == 0 && !advances.empty()) {
      advances.back() += cellWidth;  // the second cell of a wide character
      continue;
    }
    if (ch >= 0x10000) {
      ch -= 0x10000;
      text.push_back(static_cast<wchar_t>(0xD800 + (ch >> 10)));
      advances.push_back(0);
      ch = 0xDC00 + (ch & 0x3FF);
    }
    text.push_back(static_cast<wchar_t>(ch == 0 ? U' ' : ch));
    advances.push_back(cellWidth);
  }
  SetTextColor(dc_, Colour(foreground));
  SetBkColor(dc_, Colour(background));
  SetBkMode(dc_, OPAQUE);
  const RECT r = ToRect(opaque);
  ExtTextOutW(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), advances.data());
  if (!underline) return;
  TEXTMETRICW tm{};
  GetTextMetricsW(dc_, &tm);
  const int width = cellWidth * static_cast<int>(cells.size());
  const RECT line{x, y + tm.tmAscent + 1, x + width, y + tm.tmAscent + 2};
  ::FillRect(dc_, &line, Brush(foreground));
}

void TGdiCanvas::Frame(const TRect& rect, TRGB color) {
  const RECT r = ToRect(rect);
  FrameRect(dc_, &r, Brush(color));
}

void TGdiCanvas::FocusRect(const TRect& rect) {
  const RECT r = ToRect(rect);
  DrawFocusRect(dc_, &r);
}

}  // namespace corvane::platform::win32
