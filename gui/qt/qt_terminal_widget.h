#pragma once
// The window of the terminal view: a widget that hands paint, focus, mouse
// and character events to the view and gives the view its window port. It
// paints opaquely (no background erase), draws the focus frames and the caret
// over the view's picture after every paint, and owns the key filter, the
// keyboard state that the view's keyboard mapping reads and the frame clock
// that paces the view's updates.
#include <QRegion>
#include <QWidget>
#include <optional>
#include <vector>

#include "emulator/terminal_view.h"
#include "platform/qt/qt_caret.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_frame_clock.h"
#include "platform/qt/qt_key_filter.h"
#include "platform/qt/qt_keyboard.h"
#include "platform/window.h"

namespace corvane::gui::qt {

// The program stands on the ports and their Qt adapters.
using namespace platform;
using namespace platform::qt;

class TQtTerminalWidget final : public QWidget, public TWindowPort {
 public:
  explicit TQtTerminalWidget(QWidget* parent = nullptr);
  ~TQtTerminalWidget() override;

  // The view that this widget shows; null detaches it.
  void SetView(TCustomZuzeRI* view) { view_ = view; }
  TCustomZuzeRI* View() const { return view_; }
  TKeyboardPort& Keyboard() { return keyboard_; }
  TFrameClockPort& FrameClock() { return frameClock_; }

  // Inverts a dotted frame over the picture; the same rectangle again
  // removes it. Qt paints only in paint events, so the frame is kept and
  // drawn after each paint until it is removed.
  void ToggleFocusFrame(const TRect& rect);

  const void* Handle() const override { return static_cast<const QWidget*>(this); }
  TRect ClientRect() override;
  void Invalidate(const TRect& rect) override;
  bool UpdateRect(TRect& rect) override;
  void RepaintNow() override;
  void ScrollPixels(const TRect& rect, int dy) override;
  std::unique_ptr<TCanvasPort> BeginPaint(TRect& paintRect) override;
  std::unique_ptr<TCanvasPort> ScreenCanvas() override;
  std::unique_ptr<TCanvasPort> WindowCanvas() override;
  int FontPixelHeight(const TFont& font) override { return PixelHeightOf(font.Size); }
  void SetFocus() override { setFocus(Qt::OtherFocusReason); }
  void SetMouseCapture() override { grabMouse(); }
  void ReleaseMouseCapture() override { releaseMouse(); }
  void ConfinePointer(const TRect& rect) override;
  void ReleasePointer() override { confinement_.reset(); }
  void CreateCaret(int width, int height) override { caret_.Create(width, height); }
  void DestroyCaret() override { caret_.Destroy(); }
  void ShowCaret() override { caret_.Show(); }
  void HideCaret() override { caret_.Hide(); }
  void MoveCaret(int x, int y) override { caret_.Move(x, y); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QRegion Rim() const;
  void PaintOverlays(QPainter& painter, const QRect& area);
  QPoint Confined(QPoint position);

  TCustomZuzeRI* view_ = nullptr;
  TQtKeyboard keyboard_;
  TQtKeyFilter keyFilter_{keyboard_};
  TQtCaret caret_;
  TQtFrameClock frameClock_;
  QRegion pending_;              // invalidated and not yet painted
  QRegion unerased_;             // newly exposed, to be cleared once as the system would
  QPainter* painter_ = nullptr;  // while a paint event runs
  QRegion paintRegion_;          // of the paint event that runs
  std::vector<QRect> focusFrames_;
  std::optional<QRect> confinement_;
};

}  // namespace corvane::gui::qt
