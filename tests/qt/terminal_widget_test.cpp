// The terminal view in its Qt widget, in a main window with a menu bar, an
// button and a Ctrl+C shortcut: paint, caret, focus, keys and mouse.
#include "platform/qt/qt_terminal_widget.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyleHints>
#include <QTest>
#include <algorithm>
#include <memory>

#include "qt_test_app.h"

namespace corvane::platform::qt {
namespace {

using test::PixelAt;

constexpr TRGB kBlack{0, 0, 0};
constexpr TRGB kWhite{255, 255, 255};
constexpr TRGB kRed{168, 0, 0};

struct TMouseRecord {
  std::string What;
  TShiftState Shift;
  int X, Y;
};

class TerminalWidgetTest : public ::testing::Test {
 protected:
  TerminalWidgetTest() {
    auto* central = new QWidget;
    other_ = new QPushButton("other", central);
    other_->setGeometry(0, 0, 100, 20);
    widget_ = new TQtTerminalWidget(central);
    window_.setCentralWidget(central);
    QAction* copy = window_.menuBar()->addMenu("&Edit")->addAction("&Copy");
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    QObject::connect(copy, &QAction::triggered, [this] { ++copies_; });

    TViewPorts ports;
    ports.Window = widget_;
    ports.Keyboard = &widget_->Keyboard();
    view_ = std::make_unique<TZuzeRI>(std::move(ports));
    widget_->SetView(view_.get());
    view_->SetFont({"Terminal", 9, TFontPitch::Fixed, 0});
    view_->SetLineHeight(12);
    view_->SetXlat(false);
    view_->OnKeyBuffer = [this](TCustomZuzeRI&, const char* b, int n) { keyBuffer_.append(b, n); };
    view_->OnKeyPress = [this](TCustomZuzeRI&, char& k) { keyPresses_ += k; };
    Record();
    widget_->setGeometry(0, 30, 6 + 80 * view_->CharWidth() + 20, 320);
    window_.resize(widget_->width(), 400);
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

  void Record() {
    view_->OnMouseDown = [this](TCustomZuzeRI&, TMouseButton, TShiftState s, int x, int y) {
      mouse_.push_back({"down", s, x, y});
    };
    view_->OnMouseMove = [this](TCustomZuzeRI&, TShiftState s, int x, int y) { mouse_.push_back({"move", s, x, y}); };
    view_->OnMouseUp = [this](TCustomZuzeRI&, TMouseButton, TShiftState s, int x, int y) {
      mouse_.push_back({"up", s, x, y});
    };
  }

  void FocusTerminal() {
    widget_->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([this] { return view_->CaretCreated(); }));
  }

  // The middle of row `row`'s background at column 0, and the caret's left pixel there.
  int RowMiddle(int row) const { return 4 + row * 12 + view_->InternalLeading() + 6; }

  bool Seen(const std::string& text) const {
    return std::any_of(mouse_.begin(), mouse_.end(), [&](const TMouseRecord& r) {
      return r.What + " " + std::to_string(r.X) + "," + std::to_string(r.Y) == text;
    });
  }

  void Move(QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, at, widget_->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget_, &move);
  }

  bool appCreated_ = (test::TestApp(), true);
  QMainWindow window_;
  QPushButton* other_;
  TQtTerminalWidget* widget_;
  std::unique_ptr<TZuzeRI> view_;
  int copies_ = 0;
  std::string keyBuffer_, keyPresses_;
  std::vector<TMouseRecord> mouse_;
};

TEST_F(TerminalWidgetTest, PaintsCellsAndMarginsInTheColoursOfTheTable) {
  view_->WriteText("\x1b[41m  ");
  const QImage image = widget_->grab().toImage();
  const int textRight = 6 + 80 * view_->CharWidth();
  EXPECT_EQ(PixelAt(image, 6 + view_->CharWidth() / 2, RowMiddle(1)), kRed);
  EXPECT_EQ(PixelAt(image, 6 + 2 * view_->CharWidth() + 1, RowMiddle(1)), kBlack);
  EXPECT_EQ(PixelAt(image, textRight + 10, 100), kRed);  // margins take the current background
}

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
  EXPECT_FALSE(view_->CaretCreated());
  FocusTerminal();
  const int y = RowMiddle(1);
  QImage image = widget_->grab().toImage();
  EXPECT_EQ(PixelAt(image, 6, y), kWhite);
  EXPECT_EQ(PixelAt(image, 7, y), kWhite);
  EXPECT_EQ(PixelAt(image, 8, y), kBlack);
  QTest::qWait(QGuiApplication::styleHints()->cursorFlashTime() / 2 + 100);
  EXPECT_EQ(PixelAt(widget_->grab().toImage(), 6, y), kBlack);  // the dark half of a blink

  other_->setFocus();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !view_->CaretCreated(); }));
  QTest::qWait(QGuiApplication::styleHints()->cursorFlashTime() / 2 + 100);
  EXPECT_EQ(PixelAt(widget_->grab().toImage(), 6, y), kBlack);
}

TEST_F(TerminalWidgetTest, FocusFramesInvertThePictureUntilDrawnAgain) {
  const QImage plain = widget_->grab().toImage();
  widget_->ToggleFocusFrame({10, 10, 50, 40});
  const QImage framed = widget_->grab().toImage();
  EXPECT_NE(PixelAt(framed, 10, 10), PixelAt(plain, 10, 10));
  EXPECT_EQ(PixelAt(framed, 20, 20), PixelAt(plain, 20, 20));
  widget_->ToggleFocusFrame({10, 10, 50, 40});
  EXPECT_EQ(test::DifferentPixels(widget_->grab().toImage(), plain), 0);
}

TEST_F(TerminalWidgetTest, CursorAndFunctionKeysGoThroughTheSelectedTable) {
  FocusTerminal();
  QTest::keyClick(widget_, Qt::Key_Up);
  QTest::keyClick(widget_, Qt::Key_Up, Qt::KeypadModifier);
  EXPECT_EQ(keyBuffer_, "\x1b[A\x1b[A");
  keyBuffer_.clear();
  view_->FKeys = 0;
  QTest::keyClick(widget_, Qt::Key_F10);  // not taken by the menu bar
  QTest::keyClick(widget_, Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(keyBuffer_, "\x1b[V\x1b[V");
  QTest::keyClick(widget_, Qt::Key_Tab);
  EXPECT_EQ(keyBuffer_, "\x1b[V\x1b[V\x1b[Z");
  EXPECT_EQ(QApplication::focusWidget(), widget_);
}

TEST_F(TerminalWidgetTest, CtrlCReachesTheTerminalWhileItHasFocusAndTheMenuOtherwise) {
  FocusTerminal();
  QTest::keyClick(widget_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(keyPresses_, "\x03");
  EXPECT_EQ(copies_, 0);
  other_->setFocus();
  QTest::keyClick(other_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(copies_, 1);
  QTest::keyClick(other_, Qt::Key_X);
  EXPECT_EQ(keyPresses_, "\x03");
}

TEST_F(TerminalWidgetTest, UnclaimedCharactersArriveAsCodePage437Bytes) {
  FocusTerminal();
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_Eacute, QString::fromUtf8("\u00E9"), Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_unknown, QString::fromUtf8("\u20AC"), Qt::NoModifier);
  QTest::keyClick(widget_, Qt::Key_1);
  QTest::keyClick(widget_, Qt::Key_Delete, Qt::KeypadModifier);  // no table entry, no character
  EXPECT_EQ(keyPresses_, "\x82?1");
}

TEST_F(TerminalWidgetTest, OnlyARealDeadKeyAccentsTheNextVowel) {
  FocusTerminal();
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_BracketRight, "]", Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_E, "e", Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_Dead_Circumflex, "", Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_E, "e", Qt::NoModifier);
  EXPECT_EQ(keyPresses_, "]e\xEA");
}

TEST_F(TerminalWidgetTest, CapsLockIsReadOffTheLettersWithoutAnXServer) {
  if (QGuiApplication::platformName() == "xcb") GTEST_SKIP() << "the X server keeps Caps Lock";
  FocusTerminal();
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_A, "A", Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_B, "B", Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_C, "C", Qt::ShiftModifier);
  QTest::sendKeyEvent(QTest::Click, widget_, Qt::Key_D, "d", Qt::NoModifier);
  EXPECT_EQ(keyPresses_, "ABCd");
}

TEST_F(TerminalWidgetTest, MouseEventsCarrySignedPositionsAndStayInsideTheConfinement) {
  QTest::mousePress(widget_, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 12));
  EXPECT_EQ(QApplication::focusWidget(), widget_);
  widget_->SetMouseCapture();
  EXPECT_EQ(QWidget::mouseGrabber(), widget_);
  Move(QPoint(-5, -7), Qt::LeftButton);
  widget_->ConfinePointer({0, 0, 100, 50});
  Move(QPoint(150, 70), Qt::LeftButton);
  widget_->ReleasePointer();
  QTest::mouseRelease(widget_, Qt::LeftButton, Qt::NoModifier, QPoint(-3, 4));
  widget_->ReleaseMouseCapture();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

  ASSERT_FALSE(mouse_.empty());
  EXPECT_EQ(mouse_.front().Shift, ssShift | ssLeft);
  EXPECT_TRUE(Seen("down 10,12"));
  EXPECT_TRUE(Seen("move -5,-7"));
  EXPECT_TRUE(Seen("move 99,49"));
  EXPECT_FALSE(Seen("move 150,70"));
  EXPECT_TRUE(Seen("up -3,4"));
}

// Qt delivers the second press of a double click as the double click alone.
TEST_F(TerminalWidgetTest, TheSecondPressOfADoubleClickCarriesDouble) {
  const QPoint at(20, 20);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                            QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget_->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget_, &event);
  }
  std::vector<TShiftState> downs;
  for (const TMouseRecord& r : mouse_)
    if (r.What == "down") downs.push_back(r.Shift);
  EXPECT_EQ(downs, (std::vector<TShiftState>{ssLeft, ssLeft | ssDouble}));
}

}  // namespace
}  // namespace corvane::platform::qt
