#pragma once
// Fonts for the Qt canvas. A face that Linux lacks ("Terminal") or a
// proportional face asked for with fixed pitch becomes a fixed-pitch face of
// the same size; sizes are points at 96 dots per inch.
#include <QFont>

#include "platform/canvas.h"

namespace corvane::platform::qt {

// Qt lays out in device-independent pixels, 96 to the inch; it scales them
// to the screen itself.
inline constexpr int kPixelsPerInch = 96;

// The height of a font of `points` in those pixels, rounded as the Windows
// font mapper does, at least 1.
int PixelHeightOf(int points);

QFont ResolveFont(const TFont& font);

// The cell width is the advance of a character: a fallback face may report a
// widest glyph far wider than its cells. The cell is the face's whole height
// with no internal leading: the view clips each row below its leading, and
// the dot of i, the bar of [ and the accents reach into it.
TTextMetrics MetricsOf(const QFont& font);

}  // namespace corvane::platform::qt
