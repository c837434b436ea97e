#pragma once
// The one application object of a Qt test program: the offscreen platform
// unless the environment names another, created on first use and kept to the
// end of the process.
#include <QColor>
#include <QImage>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/qt/qt_application.h"

namespace corvane::test {

platform::qt::TQtApplication& TestApp();

// The colour of one pixel.
platform::TRGB PixelAt(const QImage& image, int x, int y);
inline platform::TRGB PixelAt(const QImage& image, QPoint at) { return PixelAt(image, at.x(), at.y()); }

// Closes each modal message box (the error report) as it appears and keeps
// its text.
class TReportCatcher {
 public:
  TReportCatcher();
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

// How many pixels of two images of the same size differ in colour.
int DifferentPixels(const QImage& a, const QImage& b);

}  // namespace corvane::test
