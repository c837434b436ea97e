#pragma once
// Fonts for the Qt canvas. A face that Linux lacks ("Terminal") or a
// proportional face asked for with fixed pitch becomes a fixed-pitch face of
// the same size; sizes are points at 96 dots per inch.
#include <QFont>

#include "platform/canvas.h"

namespace corvane::platform::qt {

QFont ResolveFont(const TFont& font);

// The cell width is the advance of a character: a fallback face may report a
// widest glyph far wider than its cells. The internal leading is the room
// above the em square, as the Windows metrics count it.
TTextMetrics MetricsOf(const QFont& font);

}  // namespace corvane::platform::qt
