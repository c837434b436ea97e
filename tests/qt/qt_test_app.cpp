#include "qt_test_app.h"

#include <QMessageBox>

namespace corvane::test {

platform::qt::TQtApplication& TestApp() {
  static platform::qt::TQtApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    return new platform::qt::TQtApplication(argc, argv);
  }();
  return *app;
}

platform::TRGB PixelAt(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

TReportCatcher::TReportCatcher() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      texts.push_back(box->text().toStdString());
      box->accept();
    }
  });
  timer_.start(10);
}

int DifferentPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++count;
  return count;
}

}  // namespace corvane::test

namespace corvane::platform {
// Readable colours in failure messages.
void PrintTo(const TRGB& c, std::ostream* os) {
  *os << "(" << int{c.Red} << "," << int{c.Green} << "," << int{c.Blue} << ")";
}
}  // namespace corvane::platform
