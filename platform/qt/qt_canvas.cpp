#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QGlyphRun>

#include "platform/code_page_437.h"
#include "platform/qt/qt_font.h"

namespace corvane::platform::qt {
namespace {

QColor ToQColor(TRGB c) { return QColor(c.Red, c.Green, c.Blue); }

// The pixels of a rectangle's outline, each once.
std::vector<QPoint> OutlinePixels(const QRect& r) {
  std::vector<QPoint> pixels;
  if (r.isEmpty()) return pixels;
  for (int x = r.left(); x <= r.right(); ++x) {
    pixels.emplace_back(x, r.top());
    if (r.bottom() != r.top()) pixels.emplace_back(x, r.bottom());
  }
  for (int y = r.top() + 1; y < r.bottom(); ++y) {
    pixels.emplace_back(r.left(), y);
    if (r.right() != r.left()) pixels.emplace_back(r.right(), y);
  }
  return pixels;
}

}  // namespace

QRect ToQRect(const TRect& rect) { return QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1)); }

TQtCanvas::TQtCanvas(QPainter& painter) : painter_(&painter) {}

TQtCanvas::TQtCanvas(QPainter& painter, const QRegion& paintRegion) : painter_(&painter), paintRegion_(paintRegion) {}

TQtCanvas::TQtCanvas()
    : scratch_(std::make_unique<QImage>(1, 1, QImage::Format_RGB32)),
      ownPainter_(std::make_unique<QPainter>(scratch_.get())),
      painter_(ownPainter_.get()) {}

TQtCanvas::~TQtCanvas() = default;

void TQtCanvas::SelectFont(const TFont& font) {
  previous_.push_back(painter_->font());
  const QFont resolved = ResolveFont(font);
  painter_->setFont(resolved);
  raw_ = QRawFont::fromFont(resolved);
  run_.setRawFont(raw_);
  metrics_ = MetricsOf(resolved);
  ascent_ = QFontMetrics(resolved).ascent();
}

TTextMetrics TQtCanvas::TextMetrics() { return metrics_; }

void TQtCanvas::RestoreFont() {
  if (previous_.empty()) return;
  painter_->setFont(previous_.back());
  previous_.pop_back();
}

bool TQtCanvas::RectVisible(const TRect& rect) { return !paintRegion_ || paintRegion_->intersects(ToQRect(rect)); }

void TQtCanvas::FillRect(const TRect& rect, TRGB color) { painter_->fillRect(ToQRect(rect), ToQColor(color)); }

void TQtCanvas::TextRun(int x, int y, const TRect& opaque, std::string_view text, TRGB foreground, TRGB background) {
  const QRect box = ToQRect(opaque);
  painter_->fillRect(box, ToQColor(background));
  ClipRun(box);
  painter_->setPen(ToQColor(foreground));
  DrawCells(x, y + ascent_, text);
  UnclipRun();
}

void TQtCanvas::CellRun(int x, int y, int cellWidth, const TRect& opaque, std::u32string_view cells, TRGB foreground,
                        TRGB background, bool underline) {
  const QRect box = ToQRect(opaque);
  painter_->fillRect(box, ToQColor(background));
  ClipRun(box);
  painter_->setPen(ToQColor(foreground));
  DrawGlyphs(x, y + ascent_, cellWidth, cells);
  if (underline)
    painter_->fillRect(QRect(x, y + ascent_ + 1, cellWidth * static_cast<int>(cells.size()), 1), ToQColor(foreground));
  UnclipRun();
}

// Inside a row the row's clip serves every run; setting a clip costs the
// painter more than drawing a run's glyphs.
void TQtCanvas::BeginRow(const TRect& row) {
  painter_->setClipRect(ToQRect(row));
  inRow_ = true;
}

void TQtCanvas::EndRow() {
  painter_->setClipping(false);
  inRow_ = false;
}

void TQtCanvas::ClipRun(const QRect& opaque) {
  if (!inRow_) painter_->setClipRect(opaque);
}

void TQtCanvas::UnclipRun() {
  if (!inRow_) painter_->setClipping(false);
}

void TQtCanvas::DrawCells(int x, int baseline, std::string_view text) {
  pictures_.clear();
  for (const char code : text) pictures_ += Cp437ToUnicode(static_cast<std::uint8_t>(code));
  DrawGlyphs(x, baseline, metrics_.MaxCharWidth, pictures_);
}

// One glyph run with every glyph at the left edge of its cell, so that
// fractional advances never drift; characters the face lacks are drawn one
// by one with the toolkit's fallback faces. The run's buffers are kept from
// run to run, so a run allocates nothing once they have grown.
void TQtCanvas::DrawGlyphs(int x, int baseline, int cellWidth, std::u32string_view cells) {
  const auto count = static_cast<int>(cells.size());
  utf16_.resize(cells.size());
  indexes_.resize(cells.size());
  // Outside the basic plane a character takes two UTF-16 units: a space
  // stands in here and the fallback draws it.
  for (std::size_t i = 0; i < cells.size(); ++i)
    utf16_[i] = QChar(cells[i] < 0x10000 && cells[i] != 0 ? static_cast<char16_t>(cells[i]) : u' ');
  int found = count;
  if (!raw_.glyphIndexesForChars(utf16_.data(), count, indexes_.data(), &found) || found != count)
    std::fill(indexes_.begin(), indexes_.end(), 0u);
  glyphs_.clear();
  positions_.clear();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const char32_t ch = cells[i];
    if (ch == 0 || ch == U' ') continue;
    const QPointF origin(x + static_cast<int>(i) * cellWidth, baseline);
    if (ch < 0x10000 && indexes_[i] != 0) {
      glyphs_.push_back(indexes_[i]);
      positions_.push_back(origin);
    } else {
      painter_->drawText(origin, QString::fromUcs4(&ch, 1));
    }
  }
  if (glyphs_.empty()) return;
  run_.setRawData(glyphs_.data(), positions_.data(), static_cast<int>(glyphs_.size()));
  painter_->drawGlyphRun(QPointF(0, 0), run_);
}

void TQtCanvas::Frame(const TRect& rect, TRGB color) {
  const QRect r = ToQRect(rect);
  if (r.isEmpty()) return;
  const QColor qcolor = ToQColor(color);
  painter_->fillRect(QRect(r.left(), r.top(), r.width(), 1), qcolor);
  painter_->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), qcolor);
  painter_->fillRect(QRect(r.left(), r.top(), 1, r.height()), qcolor);
  painter_->fillRect(QRect(r.right(), r.top(), 1, r.height()), qcolor);
}

// A dotted outline of every other pixel, inverted: drawn twice, it is gone.
void TQtCanvas::FocusRect(const TRect& rect) {
  const QPainter::CompositionMode mode = painter_->compositionMode();
  painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  for (const QPoint& p : OutlinePixels(ToQRect(rect)))
    if (((p.x() + p.y()) & 1) == 0) painter_->fillRect(QRect(p, p), Qt::white);
  painter_->setCompositionMode(mode);
}

}  // namespace corvane::platform::qt
