#include "gui/qt/qt_terminal_widget.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_error_report.h"

namespace corvane::gui::qt {
namespace {

TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return TMouseButton::mbLeft;
    case Qt::RightButton:
      return TMouseButton::mbRight;
    case Qt::MiddleButton:
      return TMouseButton::mbMiddle;
    default:
      return std::nullopt;
  }
}

// Keys that make no character message; Qt still gives Delete a DEL text.
bool MakesNoCharacter(const QKeyEvent& key) {
  const bool altOnly = (key.modifiers() & Qt::AltModifier) && !(key.modifiers() & Qt::ControlModifier);
  return altOnly || key.key() == Qt::Key_Delete || key.text().isEmpty();
}

// The canvas on the window outside painting. Qt draws only in paint events,
// so the inverting focus frame is kept by the widget and drawn after every
// paint; the window carries no other marks of its own, and other drawing
// here reaches no screen.
class TQtWindowCanvas final : public TCanvasPort {
 public:
  explicit TQtWindowCanvas(TQtTerminalWidget& widget) : widget_(widget) {}
  void SelectFont(const TFont& font) override { scratch_.SelectFont(font); }
  TTextMetrics TextMetrics() override { return scratch_.TextMetrics(); }
  void RestoreFont() override { scratch_.RestoreFont(); }
  void RealizePalette(const TPaletteColors&) override {}
  void FillRect(const TRect&, TRGB) override {}
  void TextRun(int, int, const TRect&, std::string_view, TRGB, TRGB) override {}
  void CellRun(int, int, int, const TRect&, std::u32string_view, TRGB, TRGB, bool) override {}
  void Frame(const TRect&, TRGB) override {}
  void FocusRect(const TRect& rect) override { widget_.ToggleFocusFrame(rect); }

 private:
  TQtTerminalWidget& widget_;
  TQtCanvas scratch_;
};

}  // namespace

TQtTerminalWidget::TQtTerminalWidget(QWidget* parent) : QWidget(parent), caret_([this](const QRect& r) { update(r); }) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

TQtTerminalWidget::~TQtTerminalWidget() { qApp->removeEventFilter(&keyFilter_); }

void TQtTerminalWidget::ToggleFocusFrame(const TRect& rect) {
  const QRect frame = ToQRect(rect);
  const auto found = std::find(focusFrames_.begin(), focusFrames_.end(), frame);
  if (found != focusFrames_.end())
    focusFrames_.erase(found);
  else
    focusFrames_.push_back(frame);
  update(frame);
}

TRect TQtTerminalWidget::ClientRect() { return FromQRect(rect()); }

void TQtTerminalWidget::Invalidate(const TRect& rect) {
  const QRect area = ToQRect(rect) & this->rect();
  if (area.isEmpty()) return;
  pending_ += area;
  update(area);
}

bool TQtTerminalWidget::UpdateRect(TRect& rect) {
  const QRect area = painter_ != nullptr ? paintRegion_.boundingRect() : pending_.boundingRect();
  if (area.isEmpty()) return false;
  rect = FromQRect(area);
  return true;
}

// What waited to be painted inside the area, and the caret's cell, went up
// with the pixels unpainted, so they are painted again where they went. A
// focus frame drawn over the picture must not move with it.
void TQtTerminalWidget::ScrollPixels(const TRect& rect, int dy) {
  const QRect area = ToQRect(rect) & this->rect();
  if (area.isEmpty()) return;
  if (!focusFrames_.empty()) return Invalidate(rect);
  const QRegion stale = (pending_ & area).translated(0, dy) | caret_.Rect().translated(0, dy);
  scroll(0, dy, area);
  const QRegion repaint = stale & area;
  pending_ += repaint;
  update(repaint);
}

void TQtTerminalWidget::RepaintNow() {
  pending_ += rect();
  repaint();
}

// Qt paints only inside paint events: a bracket opened elsewhere leaves the
// work to the paint that its pending region has already asked for.
std::unique_ptr<TCanvasPort> TQtTerminalWidget::BeginPaint(TRect& paintRect) {
  if (painter_ == nullptr) {
    paintRect = {};
    return std::make_unique<TQtCanvas>();
  }
  paintRect = FromQRect(paintRegion_.boundingRect());
  return std::make_unique<TQtCanvas>(*painter_, paintRegion_);
}

std::unique_ptr<TCanvasPort> TQtTerminalWidget::ScreenCanvas() { return std::make_unique<TQtCanvas>(); }

std::unique_ptr<TCanvasPort> TQtTerminalWidget::WindowCanvas() { return std::make_unique<TQtWindowCanvas>(*this); }

void TQtTerminalWidget::ConfinePointer(const TRect& rect) { confinement_ = ToQRect(rect); }

void TQtTerminalWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRegion erase = (unerased_ | Rim()) & event->region();
  for (const QRect& r : erase) painter.fillRect(r, palette().window());
  unerased_ -= erase;
  pending_ -= event->region();
  if (view_ != nullptr) {
    TQtCanvas canvas(painter, event->region());
    painter_ = &painter;
    paintRegion_ = event->region();
    struct TPaintScope {
      QPainter*& Painter;
      ~TPaintScope() { Painter = nullptr; }
    } scope{painter_};
    ReportErrors([&] { view_->PaintRequest(&canvas); });
  }
  PaintOverlays(painter, event->rect());
}

// The view paints up to two pixels short of the right and bottom edges; the
// window's own background shows there.
QRegion TQtTerminalWidget::Rim() const {
  const QRect r = rect();
  return QRegion(r.right() - 1, 0, 2, r.height()) | QRegion(0, r.bottom() - 1, r.width(), 2);
}

void TQtTerminalWidget::PaintOverlays(QPainter& painter, const QRect& area) {
  TQtCanvas canvas(painter);
  for (const QRect& frame : focusFrames_)
    if (frame.intersects(area)) canvas.FocusRect(FromQRect(frame));
  caret_.Paint(painter, area);
}

void TQtTerminalWidget::resizeEvent(QResizeEvent* event) {
  unerased_ = QRegion(rect());
  QWidget::resizeEvent(event);
}

void TQtTerminalWidget::focusInEvent(QFocusEvent* event) {
  qApp->installEventFilter(&keyFilter_);
  if (view_ != nullptr) ReportErrors([this] { view_->FocusGained(); });
  QWidget::focusInEvent(event);
}

void TQtTerminalWidget::focusOutEvent(QFocusEvent* event) {
  qApp->removeEventFilter(&keyFilter_);
  if (view_ != nullptr) ReportErrors([this] { view_->FocusLost(); });
  QWidget::focusOutEvent(event);
}

void TQtTerminalWidget::mousePressEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (view_ == nullptr || !button) return;
  const QPoint p = event->position().toPoint();
  const TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
  ReportErrors([&] {
    if (*button == TMouseButton::mbLeft)
      view_->LeftButtonDown(shift, p.x(), p.y());
    else
      view_->ButtonDown(*button, shift, p.x(), p.y());
  });
}

// The second press of a double click, as the window system reports it.
void TQtTerminalWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (view_ == nullptr || !button) return;
  const QPoint p = event->position().toPoint();
  const TShiftState shift = ShiftOf(event->modifiers(), event->buttons()) | ssDouble;
  ReportErrors([&] { view_->ButtonDown(*button, shift, p.x(), p.y()); });
}

void TQtTerminalWidget::mouseMoveEvent(QMouseEvent* event) {
  if (view_ == nullptr) return;
  const QPoint p = Confined(event->position().toPoint());
  const TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
  ReportErrors([&] { view_->MouseMoved(shift, p.x(), p.y()); });
}

void TQtTerminalWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (view_ == nullptr || !button) return;
  const QPoint p = Confined(event->position().toPoint());
  const TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
  ReportErrors([&] { view_->ButtonUp(*button, shift, p.x(), p.y()); });
}

void TQtTerminalWidget::wheelEvent(QWheelEvent* event) {
  if (view_ == nullptr) return;
  ReportErrors([&] { view_->WheelTurned(event->angleDelta().y()); });
}

// The pointer is held inside the confinement as far as the platform lets a
// program move it; the view sees only positions inside.
QPoint TQtTerminalWidget::Confined(QPoint position) {
  if (!confinement_ || confinement_->isEmpty()) return position;
  const QPoint inside(std::clamp(position.x(), confinement_->left(), confinement_->right()),
                      std::clamp(position.y(), confinement_->top(), confinement_->bottom()));
  if (inside != position) QCursor::setPos(mapToGlobal(inside));
  return inside;
}

// What the key filter left unclaimed arrives here as characters; the view
// decides the byte each one sends.
void TQtTerminalWidget::keyPressEvent(QKeyEvent* event) {
  if (view_ == nullptr || MakesNoCharacter(*event)) {
    QWidget::keyPressEvent(event);
    return;
  }
  ReportErrors([&] {
    for (const char32_t ch : event->text().toStdU32String()) view_->CharTyped(ch);
  });
}

}  // namespace corvane::gui::qt
