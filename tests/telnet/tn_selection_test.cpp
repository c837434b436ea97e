// Marking text with the mouse. Cells are 8 x 12 pixels from (6, 4): column c
// starts at x = 6 + 8c, row r at y = 4 + 12r.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "telnet/tnzuzeri.h"
#include "tests/view/support/view_rig.h"

namespace corvane::tntest {
namespace {

struct Selecting : ::testing::Test {
  recording::TViewRig rig;
  TTnZuzeRI term{rig.Ports()};

  Selecting() {
    term.Clear();
    term.Screen().FeedText("ABCDEFGH\r\nabcdefgh\r\n01234567\r\n");
  }
  // Runs mouse actions such as "D 30,40 M 31,41 U 31,41" (down, move, up).
  void Mouse(const std::string& script) {
    std::istringstream in(script);
    char action, comma;
    for (int x, y; in >> action >> x >> comma >> y;) {
      if (action == 'D') term.ButtonDown(TMouseButton::mbLeft, 0, x, y);
      if (action == 'M') term.MouseMoved(0, x, y);
      if (action == 'U') term.ButtonUp(TMouseButton::mbLeft, 0, x, y);
    }
  }
  // The black edge of the selection frame as painted, or "" without one.
  std::string PaintedFrame() {
    term.UpdateScreen();
    rig.Window.Pending = rig.Window.Client;
    rig.Window.Painted.clear();
    term.PaintRequest();
    for (const auto& call : rig.Window.Painted)
      if (call.What == recording::TCanvasCall::Frame) return recording::ToString(call);
    return "";
  }
};

// The frames are inverting: every one drawn must be drawn again to go.
TEST_F(Selecting, DragsSelectTheCellsUnderTheRubberBand) {
  const std::vector<std::tuple<const char*, const char*, size_t>> cases = {
      {"D 30,40 U 30,40", "", 0},                          // a click
      {"D 30,16 M 30,16 U 30,16", "", 0},                  // one move: no frame
      {"D 31,17 M 31,17 M 33,19 U 33,19", "d", 2},         // two moves in one cell
      {"D 6,4 M 6,4 M 30,16 U 30,16", "ABCD\r\nabcd", 2},  // rows 0-1, columns 0-3
      {"D 6,4 M 6,4 M 14,4 M 22,28 U 22,28", "ABC\r\nabc\r\n012", 4},
      {"D 60,28 M 60,28 M 20,28 U 20,28", "", 2},  // left of the anchor
      {"D 6,16 M 6,16 M 30,4 U 30,4", "", 2}};     // above it
  for (const auto& [mouse, text, frames] : cases) {
    rig.Window.Drawn.clear();
    Mouse(mouse);
    EXPECT_EQ(term.SelectedText(), text) << mouse;
    std::map<std::string, int> drawn;
    for (const auto& call : rig.Window.Drawn) ++drawn[recording::ToString(call)];
    EXPECT_EQ(rig.Window.Drawn.size(), frames) << mouse;
    for (const auto& [frame, times] : drawn) EXPECT_EQ(times % 2, 0) << mouse << " " << frame;
  }
  rig.ClearRecords();
  Mouse("D 31,17 M 31,17 M 33,19 U 33,19 D 90,90");
  EXPECT_EQ(rig.Window.Calls,
            (std::vector<std::string>{"SetMouseCapture", "ConfinePointer (0,0,484,400)", "ReleaseMouseCapture",
                                      "ReleasePointer", "RepaintNow", "RepaintNow"}));
  EXPECT_EQ(recording::ToString(rig.Window.Drawn.back()), "FocusRect (30,16,38,32)");
}

// The Xterm screen is copied as the Unicode text it shows, a wide character
// once; the classic one as its code page 437 bytes.
TEST_F(Selecting, CopyGivesTheTextAsShown) {
  Mouse("D 6,4 M 6,4 M 38,16 U 38,16");  // rows 0-1, columns 0-4
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.Contents, "ABCDE\r\nabcde");
  term.SetEmulation(TEmulation::Xterm);
  term.WriteText("A\xE4\xB8\xAD\xC3\xA9\xE2\x94\x80\r\nxy");
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.UnicodeCopied, U"A\u4E2D\u00E9\u2500\r\nxy   ");
  Mouse("D 22,4 M 22,4 M 38,4 U 38,4");  // from the second half of the wide character
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.UnicodeCopied, U"\u00E9\u2500");
  EXPECT_EQ(rig.Clipboard.Contents, "ABCDE\r\nabcde");
  term.WriteText("\x1b[1;5He\xCC\x81");  // a combining mark is copied after its character
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.UnicodeCopied, U"\u00E9e\u0301");
}

// On a double-width row each character covers two columns of the window.
TEST_F(Selecting, ADoubleWidthRowGivesTheCharactersUnderTheFrame) {
  term.SetEmulation(TEmulation::Xterm);
  term.WriteText("\x1b[H\x1b#6abcdef\r\nabcdef");
  Mouse("D 22,4 M 22,4 M 54,16 U 54,16");  // rows 0-1, columns 2-6
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.UnicodeCopied, U"bcd\r\ncdef ");
}

// Scrolled back, the frame covers kept rows and screen rows alike.
TEST_F(Selecting, CopyTakesKeptRowsAndScreenRowsAsShown) {
  term.SetRows(2);
  term.WriteText("r1\r\nr2\r\nr3\r\nr4");
  term.ScrollHistory(1);
  Mouse("D 6,4 M 6,4 M 14,16 U 14,16");  // rows 0-1, columns 0-1
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.Contents, "r2\r\nr3");
  term.SetEmulation(TEmulation::Xterm);
  term.SetRows(2);
  term.WriteText("x1\r\nx2\r\nx3\r\nx4");
  term.ScrollHistory(1);
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.UnicodeCopied, U"x2\r\nx3");
}

// Marked rows keep their selection: the frame goes with them as the view
// scrolls back or output pushes them up, leaves the picture with them, and
// copy gives them wherever the view is.
TEST_F(Selecting, TheSelectionStaysWithItsRowsAsTheViewScrolls) {
  term.SetRows(3);
  term.WriteText("\r\nr1\r\nr2\r\nr3\r\nr4\r\nr5");
  Mouse("D 6,4 M 6,4 M 14,16 U 14,16");  // rows 0-1, columns 0-1
  EXPECT_EQ(term.SelectedText(), "r3\r\nr4");
  EXPECT_EQ(PaintedFrame(), "Frame (6,4,23,31) #000000");
  term.WheelTurned(120);  // three rows back: the rows are three lower
  EXPECT_EQ(PaintedFrame(), "Frame (6,40,23,67) #000000");
  EXPECT_EQ(term.SelectedText(), "r3\r\nr4");
  term.WriteText("\r\nr6");  // back at the bottom, r3 pushed up into the kept rows
  EXPECT_EQ(PaintedFrame(), "Frame (6,-2,23,19) #000000");
  term.WriteText("\r\nr7\r\nr8");
  EXPECT_EQ(PaintedFrame(), "");
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.Contents, "r3\r\nr4");
  term.SetEmulation(TEmulation::Xterm);
  term.SetRows(3);
  term.WriteText("x1\r\nx2\r\nx3\r\nx4\r\nx5");
  Mouse("D 6,16 M 6,16 M 14,16 U 14,16");
  term.ScrollHistory(2);
  term.CopySelection(rig.Clipboard);
  EXPECT_EQ(rig.Clipboard.UnicodeCopied, U"x4");
}

// Pressed against the bottom edge, a drag brings the later rows into view a
// row per move and the frame reaches from the anchor's row to them.
TEST_F(Selecting, ADragAtTheEdgeScrollsTheViewARowPerMove) {
  term.SetRows(3);
  term.WriteText("\r\nr0\r\nr1\r\nr2\r\nr3\r\nr4\r\nr5");
  term.ScrollHistory(3);        // r0 at the top
  Mouse("D 6,4 M 6,4 M 14,0");  // the top edge: one row further back
  EXPECT_EQ(term.ScrollOffset(), 4);
  Mouse("M 14,399 M 14,399 M 14,399 M 14,16 U 14,16");
  EXPECT_EQ(term.ScrollOffset(), 1);
  EXPECT_EQ(recording::ToString(rig.Window.Drawn.back()), "FocusRect (6,-20,22,32)");  // r0 two rows above
  EXPECT_EQ(term.SelectedText(), "r0\r\nr1\r\nr2\r\nr3");
}

// Each character needs room for itself and the 0 byte; CR LF only with room
// for a character after it. A buffer sized by the caller holds a whole screen.
TEST_F(Selecting, TheBufferSizeLimitsTheText) {
  Mouse("D 6,4 M 6,4 M 30,16 U 30,16");
  char buffer[16];
  for (const auto& [size, text] : std::vector<std::pair<int, std::string>>{
           {1, ""}, {2, "A"}, {5, "ABCD"}, {7, "ABCD"}, {8, "ABCD\r\na"}, {11, "ABCD\r\nabcd"}}) {
    EXPECT_EQ(term.GetSelectedText(buffer, size), static_cast<int>(text.size())) << size;
    EXPECT_EQ(std::string(buffer), text) << size;
  }
  term.SetRows(50);
  term.SetCols(132);
  Mouse("D 6,4 M 6,4 M 1054,592 U 1054,592");
  EXPECT_EQ(term.SelectedText().size(), 50u * 132 + 49 * 2);
  std::vector<char> copy(2500);
  EXPECT_EQ(term.GetSelectedText(copy.data(), 2500), 2499);
}

}  // namespace
}  // namespace corvane::tntest
