// The terminal view in its Qt widget next to a button: painting, caret, focus
// frames, typed characters and the mouse. Keys and paint through the whole
// program are the main window's tests.
#include "gui/qt/qt_terminal_widget.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "qt_test_app.h"

namespace corvane::gui::qt {
namespace {

using test::PixelAt;

class TerminalWidgetTest : public ::testing::Test {
 protected:
  TerminalWidgetTest() {
    other_ = new QPushButton("other", &window_);
    widget_ = new TQtTerminalWidget(&window_);
    widget_->setGeometry(0, 30, 600, 320);
    TViewPorts ports;
    ports.Window = widget_;
    ports.Keyboard = &widget_->Keyboard();
    view_ = std::make_unique<TZuzeRI>(std::move(ports));
    widget_->SetView(view_.get());
    view_->SetFont({"Terminal", 9, TFontPitch::Fixed, 0});
    view_->SetLineHeight(12);
    view_->SetXlat(false);
    view_->OnKeyPress = [this](TCustomZuzeRI&, char& k) { typed_ += k; };
    view_->OnMouseDown = [this](TCustomZuzeRI&, TMouseButton, TShiftState s, int x, int y) { Note("down", s, x, y); };
    view_->OnMouseMove = [this](TCustomZuzeRI&, TShiftState s, int x, int y) { Note("move", s, x, y); };
    view_->OnMouseUp = [this](TCustomZuzeRI&, TMouseButton, TShiftState s, int x, int y) { Note("up", s, x, y); };
    window_.resize(600, 360);
    window_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
    window_.activateWindow();  // without a window manager nobody else does
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    other_->setFocus();  // the terminal starts without focus, so without a blinking caret
  }

  ~TerminalWidgetTest() override {
    widget_->SetView(nullptr);
    view_.reset();
  }

  // The terminal's picture on the screen once every pending paint is done.
  QImage OnWindow() {
    TRect pending;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !widget_->UpdateRect(pending); }));
    QTest::qWait(20);
    return window_.screen()->grabWindow(window_.winId(), 0, 30, 600, 320).toImage();
  }

  void Note(const char* what, TShiftState shift, int x, int y) {
    mouse_.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                     std::to_string(shift));
  }
  bool Seen(const std::string& text) const { return std::find(mouse_.begin(), mouse_.end(), text) != mouse_.end(); }

  void FocusTerminal() {
    widget_->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([this] { return view_->CaretCreated(); }));
  }
  void Type(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Click, widget_, key, text, modifiers);
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {}) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget_->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(widget_, &event);
  }

  bool appCreated_ = (test::TestApp(), true);
  QWidget window_;
  QPushButton* other_;
  TQtTerminalWidget* widget_;
  std::unique_ptr<TZuzeRI> view_;
  std::string typed_;
  std::vector<std::string> mouse_;
};

TEST_F(TerminalWidgetTest, PaintingFollowsTheInvalidatedRegion) {
  widget_->repaint();
  TRect pending;
  EXPECT_FALSE(widget_->UpdateRect(pending));
  widget_->Invalidate({6, 4, 20, 16});
  widget_->Invalidate({30, 40, 35, 50});
  ASSERT_TRUE(widget_->UpdateRect(pending));
  EXPECT_EQ(pending, (TRect{6, 4, 35, 50}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !widget_->UpdateRect(pending); }));
}

TEST_F(TerminalWidgetTest, TheCaretIsABlinkingBarInvertedOverTheCursorWhileFocused) {
  const TRGB black{0, 0, 0}, white{255, 255, 255};
  const int y = 4 + 12 + view_->InternalLeading() + 6;  // row 1, where the cursor is
  const int halfBlink = QGuiApplication::styleHints()->cursorFlashTime() / 2;
  FocusTerminal();
  const QImage image = widget_->grab().toImage();
  EXPECT_EQ(PixelAt(image, 6, y), white);
  EXPECT_EQ(PixelAt(image, 7, y), white);
  EXPECT_EQ(PixelAt(image, 8, y), black);
  QTest::qWait(halfBlink + 100);
  EXPECT_EQ(PixelAt(widget_->grab().toImage(), 6, y), black);  // the dark half of a blink
  other_->setFocus();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !view_->CaretCreated(); }));
  QTest::qWait(halfBlink + 100);
  EXPECT_EQ(PixelAt(widget_->grab().toImage(), 6, y), black);
}

TEST_F(TerminalWidgetTest, FocusFramesInvertThePictureUntilDrawnAgain) {
  const QImage plain = widget_->grab().toImage();
  widget_->WindowCanvas()->FocusRect({10, 10, 50, 40});
  const QImage framed = widget_->grab().toImage();
  EXPECT_NE(PixelAt(framed, 10, 10), PixelAt(plain, 10, 10));
  EXPECT_EQ(PixelAt(framed, 20, 20), PixelAt(plain, 20, 20));
  widget_->WindowCanvas()->FocusRect({10, 10, 50, 40});
  EXPECT_EQ(test::DifferentPixels(widget_->grab().toImage(), plain), 0);
}

// Lines that scroll the whole screen move the pixels on the window; painted
// or still waiting to be, the picture ends as a full repaint paints it.
TEST_F(TerminalWidgetTest, StreamedLinesLeaveThePictureOfAFullRepaint) {
  view_->SetEmulation(TEmulation::Xterm);
  view_->WriteText("\x1b[99H");
  for (int i = 0; i < 40; ++i) {
    view_->WriteText("\x1b[3" + std::to_string(i % 7 + 1) + "mline " + std::to_string(i) + "\r\n");
    if (i % 3 == 0) QCoreApplication::processEvents();
  }
  const QImage streamed = OnWindow();
  widget_->RepaintNow();
  EXPECT_EQ(test::DifferentPixels(streamed, OnWindow()), 0);
}

// Records the region of each paint event the widget gets.
class TPaintRegions final : public QObject {
 public:
  QRegion Painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

// Two distant rows changed at one update are painted as two bands: the rows
// between them are outside the paint, and the picture is a full repaint's.
TEST_F(TerminalWidgetTest, DistantChangedRowsArePaintedWithoutTheRowsBetween) {
  view_->SetEmulation(TEmulation::Xterm);
  view_->WriteText("\x1b[3;5Hab\x1b[21;1Hstatus");
  OnWindow();
  TPaintRegions regions;
  widget_->installEventFilter(&regions);
  view_->WriteText("\x1b[3;5Hcd\x1b[21;1Hmode\x1b[5;1H");
  const QImage updated = OnWindow();
  widget_->removeEventFilter(&regions);
  const auto rowMiddle = [this](int row) { return 4 + view_->InternalLeading() + row * view_->LineHeight() + 6; };
  EXPECT_TRUE(regions.Painted.contains(QPoint(6 + 4 * view_->CharWidth() + 1, rowMiddle(2))));
  EXPECT_TRUE(regions.Painted.contains(QPoint(8, rowMiddle(20))));
  EXPECT_FALSE(regions.Painted.intersects(QRect(0, rowMiddle(10), 600, 1)));
  widget_->RepaintNow();
  EXPECT_EQ(test::DifferentPixels(updated, OnWindow()), 0);
}

// Letters are the key mapping's; only a real dead key accents the next vowel.
TEST_F(TerminalWidgetTest, UnclaimedCharactersArriveAsCodePage1252Bytes) {
  FocusTerminal();
  Type(Qt::Key_Eacute, QString::fromUtf8("\u00E9"));
  Type(Qt::Key_unknown, QString::fromUtf8("\u20AC"));
  Type(Qt::Key_unknown, QString::fromUtf8("\u2500"));
  Type(Qt::Key_Delete, "\x7f", Qt::KeypadModifier);  // no table entry, no character
  Type(Qt::Key_BracketRight, "]");
  Type(Qt::Key_Dead_Circumflex, "");
  Type(Qt::Key_E, "e");
  EXPECT_EQ(typed_, "\xE9\x80?]\xEA");
}

TEST_F(TerminalWidgetTest, CapsLockIsReadOffTheLettersWithoutAnXServer) {
  if (QGuiApplication::platformName() == "xcb") GTEST_SKIP() << "the X server keeps Caps Lock";
  FocusTerminal();
  Type(Qt::Key_A, "A");
  Type(Qt::Key_B, "B");
  Type(Qt::Key_C, "C", Qt::ShiftModifier);
  Type(Qt::Key_D, "d");
  EXPECT_EQ(typed_, "ABCd");
}

TEST_F(TerminalWidgetTest, MouseEventsCarrySignedPositionsAndStayInsideTheConfinement) {
  Mouse(QEvent::MouseButtonPress, {10, 12}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), widget_);
  widget_->SetMouseCapture();
  EXPECT_EQ(QWidget::mouseGrabber(), widget_);
  Mouse(QEvent::MouseMove, {-5, -7}, Qt::LeftButton);
  widget_->ConfinePointer({0, 0, 100, 50});
  Mouse(QEvent::MouseMove, {150, 70}, Qt::LeftButton);
  widget_->ReleasePointer();
  Mouse(QEvent::MouseButtonRelease, {-3, 4}, Qt::NoButton);
  Mouse(QEvent::MouseButtonDblClick, {20, 20}, Qt::LeftButton);  // Qt's second press of a double click
  widget_->ReleaseMouseCapture();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  const std::string left = std::to_string(ssLeft);
  EXPECT_TRUE(Seen("down 10,12 " + std::to_string(ssShift | ssLeft)));
  EXPECT_TRUE(Seen("move -5,-7 " + left));
  EXPECT_TRUE(Seen("move 99,49 " + left));
  EXPECT_TRUE(Seen("up -3,4 0"));
  EXPECT_TRUE(Seen("down 20,20 " + std::to_string(ssLeft | ssDouble)));
}

}  // namespace
}  // namespace corvane::gui::qt
