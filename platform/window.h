#pragma once
// The window that hosts the terminal view: invalidation, painting, focus,
// mouse capture and pointer confinement, the system caret, and the screen's
// resolution.
#include <memory>

#include "platform/canvas.h"
#include "platform/rect.h"

namespace corvane::platform {

class TWindowPort {
 public:
  virtual ~TWindowPort() = default;

  // Identity used to tell the window's own messages from others.
  virtual const void* Handle() const = 0;

  virtual TRect ClientRect() = 0;
  // Marks the rectangle for repainting without erasing its background.
  virtual void Invalidate(const TRect& rect) = 0;
  // The bounding rectangle of the pending update region; false when nothing
  // waits to be painted.
  virtual bool UpdateRect(TRect& rect) = 0;
  // Moves the pixels inside the area dy pixels down (up when negative); what
  // leaves the area is dropped and what the move uncovers must be invalidated
  // by the caller. A window that cannot move pixels repaints the area.
  virtual void ScrollPixels(const TRect& area, int dy) {
    (void)dy;
    Invalidate(area);
  }
  // Invalidates the whole window and paints it before returning.
  virtual void RepaintNow() = 0;
  // Opens a paint bracket and returns its canvas and paint rectangle; the
  // bracket closes when the canvas is released.
  virtual std::unique_ptr<TCanvasPort> BeginPaint(TRect& paintRect) = 0;
  // A canvas on the screen, for measuring fonts outside painting.
  virtual std::unique_ptr<TCanvasPort> ScreenCanvas() = 0;
  // A canvas on the client area outside painting, for marks that are drawn
  // over the picture and removed again (the inverting focus rectangle).
  virtual std::unique_ptr<TCanvasPort> WindowCanvas() = 0;

  // The height of the font's characters in pixels on the window's screen, without
  // internal leading (a 9-point font is 12 pixels high at 96 dots per inch).
  virtual int FontPixelHeight(const TFont& font) = 0;

  virtual void SetFocus() = 0;
  virtual void SetMouseCapture() = 0;
  virtual void ReleaseMouseCapture() = 0;
  // Keeps the pointer inside the rectangle (client pixels).
  virtual void ConfinePointer(const TRect& rect) = 0;
  virtual void ReleasePointer() = 0;

  virtual void CreateCaret(int width, int height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void MoveCaret(int x, int y) = 0;
};

}  // namespace corvane::platform
