#include "platform/qt/qt_caret.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace corvane::platform::qt {

TQtCaret::TQtCaret(std::function<void(const QRect&)> invalidate) : invalidate_(std::move(invalidate)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Blink(); });
}

void TQtCaret::Create(int width, int height) {
  Destroy();
  size_ = QSize(width, height);
  created_ = true;
}

void TQtCaret::Destroy() {
  Hide();
  created_ = false;
}

void TQtCaret::Show() {
  if (!created_ || shown_) return;
  shown_ = true;
  Relight();
}

void TQtCaret::Hide() {
  timer_.stop();
  if (Lit()) invalidate_(Rect());
  shown_ = false;
}

void TQtCaret::Move(int x, int y) {
  if (position_ == QPoint(x, y)) return;
  if (Lit()) invalidate_(Rect());
  position_ = QPoint(x, y);
  if (created_ && shown_) Relight();
}

// A caret that is shown or moved is lit at once and blinks from there.
void TQtCaret::Relight() {
  lit_ = true;
  invalidate_(Rect());
  const int half = QGuiApplication::styleHints()->cursorFlashTime() / 2;
  if (half > 0) timer_.start(half);
}

void TQtCaret::Blink() {
  lit_ = !lit_;
  invalidate_(Rect());
}

void TQtCaret::Paint(QPainter& painter, const QRect& paintRect) const {
  if (!Lit() || !paintRect.intersects(Rect())) return;
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(Rect(), Qt::white);
  painter.setCompositionMode(mode);
}

}  // namespace corvane::platform::qt
