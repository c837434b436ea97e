#include "platform/win32/gdi_objects.h"

#include <cstring>
#include <vector>

namespace corvane::platform::win32 {
namespace {

constexpr WORD kPaletteVersion = 0x300;
constexpr int kPointsPerInch = 72;

HPALETTE CreateColourPalette(const TPaletteColors& colors) {
  // LOGPALETTE declares one entry; the rest follow it in the same block.
  std::vector<BYTE> block(sizeof(LOGPALETTE) + (colors.size() - 1) * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
  palette->palVersion = kPaletteVersion;
  palette->palNumEntries = static_cast<WORD>(colors.size());
  for (std::size_t n = 0; n < colors.size(); ++n)
    palette->palPalEntry[n] = {colors[n].Red, colors[n].Green, colors[n].Blue, 0};
  return CreatePalette(palette);
}

}  // namespace

TGdiObjects::~TGdiObjects() {
  if (palette_ != nullptr) DeleteObject(palette_);
  if (font_ != nullptr) DeleteObject(font_);
}

HPALETTE TGdiObjects::Palette(const TPaletteColors& colors) {
  if (palette_ != nullptr && colors == paletteColors_) return palette_;
  if (palette_ != nullptr) DeleteObject(palette_);
  palette_ = CreateColourPalette(colors);
  paletteColors_ = colors;
  return palette_;
}

HFONT TGdiObjects::Font(const TFont& font, HDC dc) {
  if (font_ != nullptr && fontSpec_ == font) return font_;
  if (font_ != nullptr) DeleteObject(font_);
  font_ = CreateTerminalFont(font, dc);
  fontSpec_ = font;
  return font_;
}

int PointsToPixels(int points, HDC dc) { return MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInch); }

HFONT CreateTerminalFont(const TFont& font, HDC dc) {
  LOGFONTA logFont{};
  logFont.lfHeight = -PointsToPixels(font.Size, dc);
  logFont.lfWeight = (font.Style & fsBold) != 0 ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (font.Style & fsItalic) != 0;
  logFont.lfUnderline = (font.Style & fsUnderline) != 0;
  logFont.lfStrikeOut = (font.Style & fsStrikeOut) != 0;
  logFont.lfCharSet = OEM_CHARSET;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strncpy(logFont.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectA(&logFont);
}

}  // namespace corvane::platform::win32
