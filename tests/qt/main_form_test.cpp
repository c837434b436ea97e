// The real main window, driven by key and mouse events against a scripted
// telnet server on loopback.
#include "gui/qt/main_form.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/form_layout.h"
#include "gui/qt/about_box.h"
#include "platform/qt/qt_canvas.h"
#include "qt_test_app.h"
#include "tests/telnet/telnet_peer.h"

namespace corvane::gui::qt {
namespace {

// How many pixel rows of `area` hold a pixel that is not black.
int InkRows(const QImage& image, const QRect& area) {
  int rows = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    bool ink = false;
    for (int x = area.left(); x <= area.right() && !ink; ++x) ink = image.pixel(x, y) != qRgb(0, 0, 0);
    rows += ink ? 1 : 0;
  }
  return rows;
}

// The same, for one glyph drawn in white by the canvas with room all around.
int FreeInkRows(const TFont& font, char code) {
  QImage image(80, 80, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    canvas.SelectFont(font);
    canvas.TextRun(20, 20, {0, 0, 80, 80}, std::string(1, code), {255, 255, 255}, {0, 0, 0});
  }
  return InkRows(image, image.rect());
}

std::string SizeText(QSize size) { return std::to_string(size.width()) + "x" + std::to_string(size.height()); }

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    form_.SetAboutBox(&about_);
    form_.FormCreate({});
    form_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form_));
    form_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form_));
  }

  QString Panel(int i) const { return form_.Panels[i]->text(); }
  QLineEdit* AddressEdit() { return form_.cbAddress->lineEdit(); }

  // Keys go to the focused address box, which hands them to its edit line.
  void TypeAddressAndEnter(const QString& address) {
    form_.cbAddress->setFocus();
    AddressEdit()->clear();
    QTest::keyClicks(form_.cbAddress, address);
    QTest::keyClick(form_.cbAddress, Qt::Key_Return);
  }

  bool ConnectByTyping(const QString& address) {
    form_.Terminal().Port = server_.Port();
    TypeAddressAndEnter(address);
    return server_.Accept() && QTest::qWaitFor([&] { return Panel(0) == "Connected"; });
  }

  // What the server has received, once there are at least `count` bytes or
  // the wait is over; the caller compares it.
  std::string Received(std::size_t count) {
    std::string got;
    (void)QTest::qWaitFor([&] {
      got += server_.TakeReplies();
      return got.size() >= count;
    });
    return got;
  }

  // Shows the screen's row as text, once it holds `text`.
  bool ScreenShows(int row, const std::string& text) {
    return QTest::qWaitFor([&] {
      const auto& chars = form_.Terminal().Screen().Lines[row]->Chars;
      return std::string(reinterpret_cast<const char*>(chars.data()), text.size()) == text;
    });
  }

  // A left-button drag on the terminal between two cells (row, column).
  void Drag(int row, int fromCol, int toCol) {
    TQtTerminalWidget* w = form_.TerminalWidget();
    const int cw = form_.Terminal().CharWidth(), lh = form_.Terminal().LineHeight();
    const int y = 4 + row * lh + 1;
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(6 + fromCol * cw + 1, y));
    for (int col : {fromCol, toCol}) {
      const QPoint at(6 + col * cw + 1, y);
      QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(w, &move);
    }
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(6 + toCol * cw + 1, y));
  }

  bool app_ = (test::TestApp(), true);
  TForm1 form_;
  TAboutBox about_;
  tntest::ScriptedServer server_;
};

TEST_F(MainFormTest, AnAddressTypedWithEnterConnectsAndJoinsTheHistoryOnce) {
  EXPECT_EQ(Panel(0), "Disconnected");
  EXPECT_EQ(Panel(1), "Capture OFF");
  for (const char* address : {"LocalHost", "localhost"}) {
    ASSERT_TRUE(ConnectByTyping(address)) << address;
    EXPECT_FALSE(form_.bConnect->isEnabled());
    EXPECT_TRUE(form_.bDisconnect->isEnabled());
    server_.Hangup();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel(0) == "Disconnected"; }));
    EXPECT_TRUE(form_.bConnect->isEnabled());
    EXPECT_FALSE(form_.bDisconnect->isEnabled());
  }
  ASSERT_EQ(form_.cbAddress->count(), 1);
  EXPECT_EQ(form_.cbAddress->itemText(0), "LocalHost");
  EXPECT_EQ(Panel(2), "");
}

// The Terminal menu's Break and Are You There are offered while connected.
// An address longer than the box shows its host, not only its port, also
// once it has joined the history.
TEST_F(MainFormTest, AnAddressSetInTheBoxShowsFromItsStart) {
  form_.SetAddressText("host-with-a-long-name.example.org:2323");
  form_.AddAddressItem("host-with-a-long-name.example.org:2323");
  EXPECT_EQ(AddressEdit()->cursorPosition(), 0);
}

TEST_F(MainFormTest, TheTerminalMenuSendsBreakAndAreYouThereWhileConnected) {
  EXPECT_FALSE(form_.SendBreak->isEnabled() || form_.AreYouThere->isEnabled());
  ASSERT_TRUE(ConnectByTyping("127.0.0.1"));
  EXPECT_TRUE(form_.SendBreak->isEnabled() && form_.AreYouThere->isEnabled());
  form_.SendBreak->trigger();
  form_.AreYouThere->trigger();
  EXPECT_EQ(Received(4), tntest::B({255, 243, 255, 246}));
  server_.Hangup();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Panel(0) == "Disconnected"; }));
  EXPECT_FALSE(form_.SendBreak->isEnabled() || form_.AreYouThere->isEnabled());
}

TEST_F(MainFormTest, ARefusedConnectionEndsDisconnectedWithTheAddressRemembered) {
  form_.Terminal().Port = tntest::FreePort();
  TypeAddressAndEnter("127.0.0.1");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_.cbAddress->count() == 1 && Panel(0) == "Disconnected"; }));
  EXPECT_TRUE(form_.bConnect->isEnabled());
  EXPECT_TRUE(ScreenShows(1, "Connection failed: "));
}

// Grey Up, keypad Up, F1, F11, F10 (not the menu bar's) and Tab (not a focus move).
TEST_F(MainFormTest, CursorAndFunctionKeysSendTheSequencesOfEachTable) {
  ASSERT_TRUE(ConnectByTyping("127.0.0.1"));
  TQtTerminalWidget* terminal = form_.TerminalWidget();
  const std::pair<int, std::string> tables[] = {{0, "\x1b[A\x1b[A\x1b[M\x1b[W\x1b[V\x1b[Z"},
                                                {1, "\x1b[A\x1b[A\x1bOP\x1b[28~\t"},
                                                {2, "\x1b[A\x1b[A\x1bOP\x1bOQ\x1bZ"}};
  for (const auto& [fkeys, expected] : tables) {
    form_.Terminal().FKeys = fkeys;
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Up, Qt::NoModifier},
                                         {Qt::Key_Up, Qt::KeypadModifier},
                                         {Qt::Key_F1, Qt::NoModifier},
                                         {Qt::Key_F11, Qt::NoModifier},
                                         {Qt::Key_F10, Qt::NoModifier},
                                         {Qt::Key_Tab, Qt::NoModifier}})
      QTest::keyClick(terminal, key, modifiers);
    EXPECT_EQ(Received(expected.size()), expected) << "table " << fkeys;
    EXPECT_EQ(QApplication::focusWidget(), terminal);
  }
}

// Alt with a letter goes to an Xterm host: neither the Edit menu opens nor
// the Disconnect button (Alt+D) is pressed.
TEST_F(MainFormTest, AnXtermHostGetsXtermKeysAndPastesAndCopyGivesTheCharactersShown) {
  ASSERT_TRUE(ConnectByTyping("127.0.0.1"));
  form_.Terminal().SetEmulation(TEmulation::Xterm);
  form_.Terminal().FKeys = 3;
  TQtTerminalWidget* terminal = form_.TerminalWidget();
  QTest::keyClick(terminal, Qt::Key_Left, Qt::ControlModifier);
  QTest::keyClick(terminal, Qt::Key_Backtab, Qt::ShiftModifier);
  QTest::keyClick(terminal, Qt::Key_Backspace);
  QTest::keyClick(terminal, Qt::Key_E, Qt::AltModifier);
  QTest::keyClick(terminal, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(Received(11),
            "\x1b[1;5D\x1b[Z\x7f\x1b"
            "e\x1b"
            "d");
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(Panel(0), "Connected");

  ASSERT_TRUE(server_.Send("\x1b[?2004h\x1b=caf\xC3\xA9!"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_.Terminal().Xterm()->Cell(0, 4).Ch == U'!'; }));
  QTest::keyClick(terminal, Qt::Key_7, Qt::KeypadModifier);
  QGuiApplication::clipboard()->setText(QString::fromUtf8("\u00E9\n"));
  form_.Paste1->trigger();
  EXPECT_EQ(Received(19), "\x1bOw\x1b[200~\xC3\xA9\r\n\x1b[201~");
  Drag(0, 0, 3);
  form_.Copy1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\u00E9"));
}

TEST_F(MainFormTest, CtrlCGoesToTheHostFromTheTerminalAndCopiesFromTheAddressBox) {
  ASSERT_TRUE(ConnectByTyping("127.0.0.1"));
  QGuiApplication::clipboard()->setText("before");
  QTest::keyClick(form_.TerminalWidget(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Received(1), "\x03");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

  ASSERT_TRUE(server_.Send("hello world"));
  ASSERT_TRUE(ScreenShows(2, "hello world"));
  Drag(2, 0, 4);
  form_.cbAddress->setFocus();
  QTest::keyClick(form_.cbAddress, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "hello");
}

TEST_F(MainFormTest, PasteSendsTheClipboardAndCaptureShowsInThePanel) {
  ASSERT_TRUE(ConnectByTyping("127.0.0.1"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("ls -l caf\u00E9\u2500\n"));
  form_.Paste1->trigger();
  EXPECT_EQ(Received(13), "ls -l caf\xE9?\r\n");

  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  form_.Capture->trigger();
  EXPECT_EQ(Panel(1), "Capture ON --> ZUZERI.LOG");
  EXPECT_TRUE(form_.Capture->isChecked());
  form_.Capture->trigger();
  EXPECT_EQ(Panel(1), "Capture OFF");
  EXPECT_FALSE(form_.Capture->isChecked());
  QDir::setCurrent(previous);
  EXPECT_TRUE(QFile::exists(dir.filePath("ZUZERI.LOG")));
}

TEST_F(MainFormTest, AnErrorOfAHandlerIsReportedInABoxAndTheProgramGoesOn) {
  test::TReportCatcher reports;
  form_.Paste1->trigger();  // not connected
  EXPECT_TRUE(QTest::qWaitFor([&] { return reports.texts.size() == 1; }));
  EXPECT_TRUE(form_.isVisible());
  EXPECT_TRUE(ConnectByTyping("127.0.0.1"));
}

// The pixels on the X server where the host drew in the colours of the table.
TEST_F(MainFormTest, TheScreenShowsTheHostsColours) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
  ASSERT_TRUE(ConnectByTyping("127.0.0.1"));
  ASSERT_TRUE(server_.Send("\x1b[44m\x1b[2J\x1b[H\x1b[46m    "));
  ASSERT_TRUE(ScreenShows(0, "    "));
  QTest::qWait(200);
  const QImage shot = form_.screen()->grabWindow(form_.winId()).toImage();
  TQtTerminalWidget* w = form_.TerminalWidget();
  const int cw = form_.Terminal().CharWidth();
  const int middle = 4 + form_.Terminal().InternalLeading() + 6;
  EXPECT_EQ(test::PixelAt(shot, w->mapTo(&form_, QPoint(6 + cw + cw / 2, middle))), (TRGB{0, 112, 216}));
  EXPECT_EQ(test::PixelAt(shot, w->mapTo(&form_, QPoint(6 + 10 * cw, middle + 24))), (TRGB{0, 0, 168}));
}

// The substitute face is taller than the designed 12-pixel line: the dot of
// i, the top bar of [ and the crossbar of T must not be clipped away.
TEST_F(MainFormTest, EveryGlyphIsDrawnWholeInItsCell) {
  const TTnZuzeRI& view = form_.Terminal();
  form_.Terminal().WriteText("\x1b[2J\x1b[H\x1b[1;37mi[T");
  const QImage shot = form_.TerminalWidget()->grab().toImage();
  const std::string glyphs = "i[T";
  for (int col = 0; col < 3; ++col) {
    const QRect cell(6 + col * view.CharWidth(), 4 + view.InternalLeading(), view.CharWidth(), view.LineHeight());
    EXPECT_EQ(InkRows(shot, cell), FreeInkRows(view.Font(), glyphs[static_cast<std::size_t>(col)])) << glyphs[col];
  }
}

// The settings file in a test's own folder.
bool WriteIni(const QTemporaryDir& dir, const char* text) {
  QFile ini(dir.filePath("TNZUZERI.INI"));
  return ini.open(QIODevice::WriteOnly) && ini.write(text) >= 0;
}

// Rows=30 and Cols=100 from the INI file: the last cell is drawn and the
// status bar stays below the terminal, inside the window.
TEST(MainFormGridTest, TheWindowShowsEveryRowAndColumnOfTheSettings) {
  test::TestApp();
  QTemporaryDir dir;
  ASSERT_TRUE(WriteIni(dir, "[127.0.0.1]\nRows=30\nCols=100\n"));
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  TForm1 form;
  form.FormCreate({});
  QDir::setCurrent(previous);
  const TTnZuzeRI& view = form.Terminal();
  ASSERT_EQ(view.Rows(), 30);
  ASSERT_EQ(view.Cols(), 100);
  form.Terminal().WriteText("\x1b[30;100H\x1b[7m ");
  const QImage shot = form.TerminalWidget()->grab().toImage();
  const QPoint lastCell(6 + 99 * view.CharWidth() + view.CharWidth() / 2,
                        4 + 29 * view.LineHeight() + view.LineHeight() / 2);
  EXPECT_EQ(test::PixelAt(shot, lastCell), (TRGB{200, 200, 200}));
  const QRect status = form.findChild<QStatusBar*>("sbStatus")->geometry();
  EXPECT_GE(status.top(), form.TerminalWidget()->geometry().bottom());
  EXPECT_TRUE(form.centralWidget()->rect().contains(status));
}

// The window starts showing the settings' grid. In Xterm that is the grid
// of the command line's emulation (the default 25 x 80) or of the INI file
// (20 x 60), however many cells the designed form would hold; in Classic the
// designed terminal grows only as far as the grid needs.
TEST(MainFormGridTest, TheWindowStartsWithTheSettingsGrid) {
  test::TestApp();
  QTemporaryDir dir;
  ASSERT_TRUE(WriteIni(dir, "[127.0.0.1]\nEmulation=Xterm\nRows=20\nCols=60\n"));
  struct TCase {
    std::optional<TEmulation> CommandLine;  // none: the INI file's
    int Grid;
  };
  const QString previous = QDir::currentPath();
  for (const TCase& c :
       {TCase{TEmulation::Xterm, 25080}, TCase{std::nullopt, 20060}, TCase{TEmulation::Classic, 25080}}) {
    QDir::setCurrent(c.CommandLine ? previous : dir.path());
    TForm1 form;
    TCommandLine line;
    line.Emulation = c.CommandLine;
    form.FormCreate(line);
    QDir::setCurrent(previous);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(50);  // layout requests posted meanwhile have run
    const TTnZuzeRI& view = form.Terminal();
    EXPECT_EQ(view.Rows() * 1000 + view.Cols(), c.Grid);
    const QSize grid(view.GridClientSize().Width, view.GridClientSize().Height);
    const QSize designed = ToQRect(LayoutForClient(kDesignedClientSize).Terminal).size();
    const bool classic = view.Emulation() == TEmulation::Classic;
    EXPECT_EQ(SizeText(form.TerminalWidget()->size()), SizeText(classic ? grid.expandedTo(designed) : grid)) << c.Grid;
  }
}

// Resized by program as a user would drag it: in Xterm the grid follows the
// terminal in whole cells and the status bar stays at the bottom; in Classic
// the grid stays and the window cannot be made smaller than it.
TEST(MainFormGridTest, TheXtermGridFollowsTheWindowAndTheClassicGridLimitsIt) {
  test::TestApp();
  for (const TEmulation emulation : {TEmulation::Xterm, TEmulation::Classic}) {
    TForm1 form;
    TCommandLine line;
    line.Emulation = emulation;
    form.FormCreate(line);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const TTnZuzeRI& view = form.Terminal();
    const int rows = view.Rows(), cols = view.Cols();
    const int startWidth = view.GridClientSize().Width;
    form.resize(form.size() + QSize(10 * view.CharWidth(), 5 * view.LineHeight()));
    const bool xterm = emulation == TEmulation::Xterm;
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.Cols() == (xterm ? cols + 10 : cols); }));
    EXPECT_EQ(view.Rows(), xterm ? rows + 5 : rows);
    const QSize area = form.TerminalWidget()->size();
    EXPECT_LE(view.GridClientSize().Width, area.width());
    EXPECT_LE(view.GridClientSize().Height, area.height());
    const QRect status = form.findChild<QStatusBar*>("sbStatus")->geometry();
    EXPECT_EQ(status.bottom(), form.centralWidget()->rect().bottom());
    form.resize(100, 100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.TerminalWidget()->width() < area.width(); }));
    const QSize smallest = form.TerminalWidget()->size();
    EXPECT_EQ(smallest.width() >= startWidth, !xterm) << smallest.width();
    EXPECT_LE(view.GridClientSize().Width, smallest.width());
    if (xterm) {
      EXPECT_GT(view.GridClientSize().Width + view.CharWidth(), smallest.width());
      EXPECT_EQ(view.Rows(), 4);
    } else {
      EXPECT_EQ(view.Rows() * 1000 + view.Cols(), rows * 1000 + cols);
    }
  }
}

// A maximised window stays so when the settings are applied again (here by
// the emulation switch); the Xterm grid fills it.
TEST(MainFormGridTest, AMaximisedWindowKeepsItsSizeAndTheXtermGridFillsIt) {
  test::TestApp();
  TForm1 form;
  form.FormCreate({});
  form.showMaximized();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.isMaximized(); }));
  const QSize maximised = form.size();
  form.XtermEmulation->trigger();
  QTest::qWait(50);
  EXPECT_TRUE(form.isMaximized());
  EXPECT_EQ(form.size(), maximised);
  const TTnZuzeRI& view = form.Terminal();
  EXPECT_GT(view.GridClientSize().Width + view.CharWidth(), form.TerminalWidget()->width());
  EXPECT_GT(view.GridClientSize().Height + view.LineHeight(), form.TerminalWidget()->height());
}

}  // namespace
}  // namespace corvane::gui::qt
