// The replay tool's picture: the view's paint code with the designed font.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "platform/qt/qt_font.h"
#include "qt_test_app.h"
#include "tools/replay/png_picture.h"

namespace corvane {
namespace {

TEST(ReplayPictureTest, TheFinalScreenIsPaintedInTheColoursOfTheTable) {
  test::TestApp();
  QTemporaryDir dir;
  TReplayOptions options;
  options.Rows = 3;
  options.Cols = 10;
  options.Png = QDir(dir.path()).filePath("screen.png").toStdString();
  ASSERT_EQ(WritePicture(options, "\x1b[44m\x1b[2J\x1b[46m  "), "");

  const QImage image(QString::fromStdString(options.Png));
  const platform::TTextMetrics m =
      platform::qt::MetricsOf(platform::qt::ResolveFont({"Terminal", 9, platform::TFontPitch::Fixed, 0}));
  // The face is taller than the designed 12-pixel line: the line grows to it.
  ASSERT_EQ(image.size(), QSize(6 + 10 * m.MaxCharWidth + 6, 4 + 3 * std::max(12, m.Height) + 2));
  const int row0 = 4 + m.InternalLeading + 6;
  const platform::TRGB blue{0, 0, 168};
  const platform::TRGB cyan{0, 112, 216};
  EXPECT_EQ(test::PixelAt(image, 6 + m.MaxCharWidth, row0), cyan);
  EXPECT_EQ(test::PixelAt(image, 6 + 3 * m.MaxCharWidth, row0), blue);  // cleared in blue
  // The margins take the background of the current attribute.
  EXPECT_EQ(test::PixelAt(image, image.width() - 1, image.height() - 1), cyan);
}

TEST(ReplayPictureTest, AnUnwritableFileIsReported) {
  test::TestApp();
  TReplayOptions options;
  options.Png = "/nonexistent-directory/screen.png";
  EXPECT_EQ(WritePicture(options, "x"), "cannot write /nonexistent-directory/screen.png");
}

}  // namespace
}  // namespace corvane
