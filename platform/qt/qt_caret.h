#pragma once
// The system caret of a widget: a solid bar inverted over the picture,
// blinking at the desktop's rate while it is shown. The widget draws it after
// every paint; the caret asks for the repaints its changes need.
#include <QPainter>
#include <QRect>
#include <QTimer>
#include <functional>

namespace corvane::platform::qt {

class TQtCaret {
 public:
  explicit TQtCaret(std::function<void(const QRect&)> invalidate);

  // A new caret is hidden until shown.
  void Create(int width, int height);
  void Destroy();
  void Show();
  void Hide();
  void Move(int x, int y);

  // On screen right now: created, shown and in the lit half of a blink.
  bool Lit() const { return created_ && shown_ && lit_; }
  QRect Rect() const { return QRect(position_, size_); }
  void Paint(QPainter& painter, const QRect& paintRect) const;

 private:
  void Relight();
  void Blink();

  std::function<void(const QRect&)> invalidate_;
  QTimer timer_;
  QPoint position_;
  QSize size_;
  bool created_ = false;
  bool shown_ = false;
  bool lit_ = false;
};

}  // namespace corvane::platform::qt
