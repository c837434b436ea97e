// The Qt canvas's stretched runs (double-width and double-height rows) and
// cells with combining marks.
#include <algorithm>

#include "platform/qt/qt_canvas.h"

namespace corvane::platform::qt {
namespace {
QColor ToQColor(TRGB c) { return QColor(c.Red, c.Green, c.Blue); }
}  // namespace

// The painter is scaled about the run's origin; a lower half is the glyphs
// drawn one cell height higher, clipped to the row.
void TQtCanvas::ScaledCellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells,
                              TRGB foreground, TRGB background, bool underline, TGlyphScale scale) {
  const QRect clip = ToQRect(opaque);
  painter_->fillRect(clip, ToQColor(background));
  painter_->setClipRect(clip);
  const bool tall = scale == TGlyphScale::TallTop || scale == TGlyphScale::TallBottom;
  const int cell = std::max(1, cellWidth / 2);
  painter_->save();
  painter_->translate(x, y - (scale == TGlyphScale::TallBottom ? metrics_.Height : 0));
  painter_->scale(2, tall ? 2 : 1);
  painter_->setPen(ToQColor(foreground));
  DrawGlyphs(0, ascent_, cell, cells);
  if (underline)
    painter_->fillRect(QRect(0, ascent_ + 1, cell * static_cast<int>(cells.size()), 1), ToQColor(foreground));
  painter_->restore();
  painter_->setClipping(false);
}

void TQtCanvas::ClusterText(int x, int y, std::u32string_view text, TRGB foreground) {
  painter_->setPen(ToQColor(foreground));
  painter_->drawText(QPointF(x, y + ascent_), QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace corvane::platform::qt
