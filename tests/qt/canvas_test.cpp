// The Qt canvas on an image: fonts and their metrics, text runs in their
// cells, frames and the inverting focus rectangle.
#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "platform/qt/qt_font.h"
#include "qt_test_app.h"

namespace corvane::platform::qt {
namespace {

using test::PixelAt;

constexpr TRGB kMagenta{255, 0, 255};
constexpr TRGB kWhite{255, 255, 255};
constexpr TRGB kBlue{0, 112, 216};
const TFont kTerminal{"Terminal", 9, TFontPitch::Fixed, 0};

QImage Blank(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(kMagenta.Red, kMagenta.Green, kMagenta.Blue));
  return image;
}

// The cell width is a character's advance, not the widest glyph of the face.
TEST(QtFontTest, MissingAndProportionalFacesFallBackToAFixedFaceOfTheSameSize) {
  test::TestApp();
  for (const TFont& asked : {kTerminal, TFont{"DejaVu Sans", 9, TFontPitch::Fixed, 0}}) {
    const QFont font = ResolveFont(asked);
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << asked.Name;
    EXPECT_EQ(font.pixelSize(), 12) << asked.Name;  // 9 points at 96 dots per inch
    const QFontMetrics fm(font);
    const TTextMetrics m = MetricsOf(font);
    EXPECT_EQ(m.MaxCharWidth, fm.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(m.Height, fm.ascent() + fm.descent());  // the whole face: no leading to clip
    EXPECT_EQ(m.InternalLeading, 0);
  }
  EXPECT_EQ(ResolveFont(TFont{"DejaVu Sans", 9, TFontPitch::Default, 0}).family(), "DejaVu Sans");
}

TEST(QtCanvasTest, ARunFillsItsRectangleAndDrawsEachGlyphInItsOwnCell) {
  test::TestApp();
  QImage image = Blank(700, 20);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.SelectFont(kTerminal);
    const int cw = canvas.TextMetrics().MaxCharWidth;
    // 80 full blocks: a drift of a fraction of a pixel per cell would show at the end.
    const std::string blocks(80, '\xDB');
    const TRect opaque{0, 2, 6 + 80 * cw + 6, 16};
    canvas.TextRun(6, 0, opaque, blocks, kWhite, kBlue);
    canvas.RestoreFont();
    EXPECT_EQ(PixelAt(image, 2, 9), kBlue);                      // left margin
    EXPECT_EQ(PixelAt(image, 6 + cw / 2, 9), kWhite);            // first cell
    EXPECT_EQ(PixelAt(image, 6 + 79 * cw + cw / 2, 9), kWhite);  // last cell
    EXPECT_EQ(PixelAt(image, 6 + 80 * cw + 2, 9), kBlue);        // right margin
    EXPECT_EQ(PixelAt(image, 6 + cw / 2, 1), kMagenta);          // clipped above
    EXPECT_EQ(PixelAt(image, 6 + 80 * cw + 6, 9), kMagenta);     // clipped right
  }
}

TEST(QtCanvasTest, CodePage437CodesAreDrawnAsTheirPictures) {
  test::TestApp();
  QImage lines = Blank(40, 20);
  {
    QPainter painter(&lines);
    TQtCanvas canvas(painter);
    canvas.SelectFont(kTerminal);
    canvas.TextRun(0, 0, {0, 0, 40, 20}, "\xC4\xC4\xC4", kWhite, kBlue);
  }
  // Three box-drawing lines join into one from the first cell's edge to the last's.
  const int cw = MetricsOf(ResolveFont(kTerminal)).MaxCharWidth;
  int lineRow = -1;
  for (int y = 0; y < 20 && lineRow < 0; ++y)
    if (PixelAt(lines, cw, y) != kBlue) lineRow = y;
  ASSERT_GE(lineRow, 0);
  for (int x = 0; x < 3 * cw; ++x) EXPECT_NE(PixelAt(lines, x, lineRow), kBlue) << x;
  EXPECT_EQ(PixelAt(lines, 3 * cw + 2, lineRow), kBlue);
}

// In a row, runs draw without clips of their own: box-drawing lines, which
// reach beyond their cells, join across runs but never leave the row.
TEST(QtCanvasTest, RunsInARowAreClippedToTheRowAsAWhole) {
  test::TestApp();
  const TTextMetrics m = MetricsOf(ResolveFont(kTerminal));
  const int cw = m.MaxCharWidth;
  QImage image = Blank(4 * cw, m.Height + 8);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.SelectFont(kTerminal);
    canvas.BeginRow({0, 6, 4 * cw, 2 + m.Height});
    canvas.TextRun(0, 4, {0, 6, 2 * cw, 2 + m.Height}, "\xB3\xC5", kWhite, kBlue);            // │┼
    canvas.TextRun(2 * cw, 4, {2 * cw, 6, 4 * cw, 2 + m.Height}, "\xC4\xB3", kBlue, kWhite);  // ─│
    canvas.EndRow();
    canvas.FillRect({0, 0, 1, 1}, kWhite);  // after the row nothing is clipped
  }
  EXPECT_EQ(PixelAt(image, 0, 0), kWhite);
  for (int x = 1; x < image.width(); ++x) {
    EXPECT_EQ(PixelAt(image, x, 5), kMagenta) << x;             // nothing above the row
    EXPECT_EQ(PixelAt(image, x, 2 + m.Height), kMagenta) << x;  // nor below it
  }
  int lineInk = 0;  // the vertical line reaches the row's edge
  for (int x = 0; x < cw; ++x) lineInk += PixelAt(image, x, 6) == kBlue ? 0 : 1;
  EXPECT_GT(lineInk, 0);
  EXPECT_EQ(PixelAt(image, 2 * cw + 1, 6), kWhite);  // the second run's background
}

// A paint event's canvas knows its region, which may be bands far apart.
TEST(QtCanvasTest, APaintEventsCanvasSeesOnlyTheRectanglesOfItsRegion) {
  test::TestApp();
  QImage image = Blank(100, 100);
  QPainter painter(&image);
  const QRegion bands = QRegion(0, 10, 100, 10) | QRegion(20, 80, 10, 10);
  TQtCanvas canvas(painter, bands);
  EXPECT_TRUE(canvas.RectVisible({0, 15, 100, 25}));
  EXPECT_TRUE(canvas.RectVisible({0, 85, 100, 86}));
  EXPECT_FALSE(canvas.RectVisible({0, 20, 100, 80}));   // between the bands
  EXPECT_FALSE(canvas.RectVisible({30, 80, 100, 90}));  // beside the lower one
  EXPECT_TRUE(TQtCanvas(painter).RectVisible({0, 40, 1, 41}));
}

TEST(QtCanvasTest, AFrameIsAnOutlineAndAFocusRectangleDrawnTwiceIsGone) {
  test::TestApp();
  QImage image = Blank(30, 30);
  const QImage before = image;
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  canvas.FocusRect({5, 5, 20, 15});
  painter.end();
  EXPECT_NE(image, before);
  EXPECT_EQ(PixelAt(image, 5, 5), (TRGB{0, 255, 0}));  // magenta inverted
  painter.begin(&image);
  canvas.FocusRect({5, 5, 20, 15});
  canvas.Frame({2, 3, 8, 9}, kBlue);
  painter.end();
  EXPECT_EQ(PixelAt(image, 2, 3), kBlue);
  EXPECT_EQ(PixelAt(image, 7, 8), kBlue);
  EXPECT_EQ(PixelAt(image, 4, 5), kMagenta);    // inside
  EXPECT_EQ(PixelAt(image, 8, 9), kMagenta);    // right and bottom are exclusive
  EXPECT_EQ(PixelAt(image, 19, 13), kMagenta);  // the focus rectangle is gone
  EXPECT_EQ(PixelAt(image, 5, 5), kMagenta);
}

}  // namespace
}  // namespace corvane::platform::qt
