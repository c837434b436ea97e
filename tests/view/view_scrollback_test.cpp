// Scrolling back through the rows kept above the screen: wheel, Shift+PgUp
// and PgDn, the scroll bar in the right strip, and the return to the bottom.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "platform/message_hook.h"
#include "tests/view/support/view_rig.h"

using namespace corvane;
using corvane::recording::TCanvasCall;
using corvane::recording::TViewRig;

namespace {

constexpr int vkShift = 16, vkPrior = 33, vkNext = 34;

std::string LineText(const TLine& line, int cols) {
  std::string text(reinterpret_cast<const char*>(line.Chars.data()), static_cast<std::size_t>(cols));
  return text.erase(text.find_last_not_of(' ') + 1);
}

// Three rows of ten columns in a 500 x 400 client area; L0..L9 written, so
// L0..L6 are kept and L7..L9 are on the screen.
class Scrollback : public ::testing::Test {
 protected:
  Scrollback() {
    view().SetRows(3);
    view().SetCols(10);
    Fill();
  }
  void Fill() {
    view().Clear();
    view().WriteText("L0\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\nL8\r\nL9");
  }

  TZuzeRI& view() { return *rig.View; }
  std::string Shown(int v) { return LineText(view().ShownLine(v), 10); }
  bool Key(int vk, int scan, bool shift) {
    rig.Keyboard.Shift = shift;
    platform::TMessage msg = platform::MakeKeyDown(rig.Window.Handle(), vk, scan, true);
    bool handled = false;
    view().AppMessageHandler(msg, handled);
    return handled;
  }
  std::vector<std::string> PaintedText() {
    rig.Window.Painted.clear();
    rig.Window.Pending = rig.Window.Client;
    view().PaintRequest();
    std::vector<std::string> runs;
    for (const TCanvasCall& call : rig.Window.Painted)
      if (call.What == TCanvasCall::TextRun || call.What == TCanvasCall::CellRun)
        runs.push_back(call.Text.substr(0, call.Text.find_last_not_of(' ') + 1));
    return runs;
  }
  std::vector<TCanvasCall> StripFills() {
    std::vector<TCanvasCall> fills;
    for (const TCanvasCall& call : rig.Window.Painted)
      if (call.What == TCanvasCall::FillRect && call.Rect.Left >= 484) fills.push_back(call);
    return fills;
  }

  TViewRig rig;
};

TEST_F(Scrollback, TheWheelAndShiftPageKeysMoveTheViewAndItPaintsTheKeptRows) {
  EXPECT_EQ(view().HistoryRows(), 7);
  view().WheelTurned(120);
  EXPECT_EQ(view().ScrollOffset(), 3);
  const std::vector<std::string> painted = PaintedText();
  ASSERT_GE(painted.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(painted.begin(), painted.begin() + 7),
            (std::vector<std::string>{"L4", "L5", "L6", "L7", "L8", "L9", ""}));
  view().WheelTurned(-120);
  EXPECT_EQ(view().ScrollOffset(), 0);
  view().WheelTurned(60);  // half a notch moves nothing until the other half comes
  EXPECT_EQ(view().ScrollOffset(), 0);
  view().WheelTurned(60);
  EXPECT_EQ(view().ScrollOffset(), 3);
  view().WheelTurned(-120 * 5);
  EXPECT_EQ(view().ScrollOffset(), 0);
  view().WheelTurned(60);
  view().WheelTurned(std::numeric_limits<int>::max());  // however far a wheel reports, no further than the oldest
  EXPECT_EQ(view().ScrollOffset(), 7);
  view().WheelTurned(std::numeric_limits<int>::min());
  EXPECT_EQ(view().ScrollOffset(), 0);

  EXPECT_TRUE(Key(vkPrior, 0x49, true));
  EXPECT_EQ(view().ScrollOffset(), 3);
  EXPECT_TRUE(Key(vkPrior, 0x49, true));
  EXPECT_TRUE(Key(vkPrior, 0x49, true));
  EXPECT_EQ(view().ScrollOffset(), 7);  // no further than the oldest kept row
  EXPECT_EQ(Shown(0), "L0");
  EXPECT_TRUE(Key(vkNext, 0x51, true));
  EXPECT_EQ(view().ScrollOffset(), 4);
  EXPECT_EQ(Shown(3), "L6");  // the newest kept row right above the screen's first
  EXPECT_EQ(Shown(4), "L7");
  EXPECT_TRUE(Key(vkNext, 0x51, true));
  EXPECT_EQ(view().ScrollOffset(), 1);
  EXPECT_TRUE(Key(vkNext, 0x51, true));
  EXPECT_EQ(view().ScrollOffset(), 0);
  EXPECT_FALSE(Key(vkNext, 0x51, true));  // at the bottom it is the host's key
}

// A row keeps its number (what a selection holds on to) as the view scrolls
// and as a smaller or full ring lets the oldest rows go.
TEST_F(Scrollback, RowsKeepTheirNumbersWhileTheOldestAreLetGo) {
  EXPECT_EQ(view().ShownTopRow(), 7);  // L7
  view().ScrollHistory(2);
  EXPECT_EQ(view().ShownTopRow(), 5);
  view().SetScrollback(2);  // L0..L4 cut
  EXPECT_EQ(Shown(0), "L5");
  EXPECT_EQ(view().ShownTopRow(), 5);
  view().WriteText("\r\nL10");  // L7 kept, L5 let go, the view back at the bottom
  EXPECT_EQ(Shown(0), "L8");
  EXPECT_EQ(view().ShownTopRow(), 8);
  EXPECT_EQ(view().RowsMovedSince(5), -3);
}

TEST_F(Scrollback, OutputAndKeysReturnTheViewToTheBottom) {
  std::string sent;
  view().OnKeyPress = [&sent](TCustomZuzeRI&, char& key) { sent += key; };
  view().ScrollHistory(5);
  EXPECT_FALSE(Key(vkShift, 0x2A, true));  // a modifier alone stays back there
  EXPECT_EQ(view().ScrollOffset(), 5);
  view().WriteText("!");
  EXPECT_EQ(view().ScrollOffset(), 0);
  view().ScrollHistory(5);
  EXPECT_TRUE(Key('A', 0x1E, false));
  EXPECT_EQ(view().ScrollOffset(), 0);
  EXPECT_EQ(sent, "a");  // the key still goes to the host
}

TEST_F(Scrollback, TheCaretHidesWhileTheViewIsBackAndReturnsWithIt) {
  view().FocusGained();
  rig.ClearRecords();
  view().ScrollHistory(2);
  view().ScrollToBottom();
  EXPECT_EQ(rig.Window.CallsStartingWith("HideCaret").size(), 1u);
  EXPECT_EQ(rig.Window.CallsStartingWith("ShowCaret").size(), 1u);
  EXPECT_EQ(rig.Window.CallsStartingWith("MoveCaret"),
            (std::vector<std::string>{"MoveCaret 22,52", "MoveCaret 22,28"}));  // two rows lower, then back
}

TEST_F(Scrollback, NoScrollbackKeepsNothingAndLeavesShiftPageToTheHost) {
  view().FKeys = 3;  // the XTERM table, which sends Shift+PgUp
  view().SetScrollback(0);
  EXPECT_EQ(view().HistoryRows(), 0);
  Fill();
  EXPECT_EQ(view().HistoryRows(), 0);
  EXPECT_FALSE(view().VScrollBar().Visible);
  view().WheelTurned(120);
  EXPECT_EQ(view().ScrollOffset(), 0);
  std::vector<std::string> buffers;
  view().OnKeyBuffer = [&buffers](TCustomZuzeRI&, const char* b, int n) { buffers.emplace_back(b, n); };
  Key(vkPrior, 0x49, true);
  EXPECT_EQ(buffers, (std::vector<std::string>{"\x1B[5;2~"}));
  PaintedText();
  EXPECT_TRUE(StripFills().empty());
}

// The strip is the client area's right 16 pixels; with 7 kept rows and 3
// shown the thumb is 3/10 of the 400-pixel track.
TEST_F(Scrollback, TheScrollBarShowsTheViewsPlaceAndItsTrackAndThumbMoveIt) {
  EXPECT_TRUE(view().VScrollBar().Visible);
  PaintedText();
  std::vector<TCanvasCall> fills = StripFills();
  ASSERT_GE(fills.size(), 2u);
  EXPECT_EQ(recording::RectText(fills[fills.size() - 2].Rect), "(484,0,500,400)");
  EXPECT_EQ(recording::RectText(fills.back().Rect), "(487,280,497,400)");

  int downs = 0;
  view().OnMouseDown = [&downs](TCustomZuzeRI&, TMouseButton, TShiftState, int, int) { ++downs; };
  view().ButtonDown(TMouseButton::mbLeft, 0, 490, 10);  // above the thumb: a page back
  view().ButtonUp(TMouseButton::mbLeft, 0, 490, 10);
  EXPECT_EQ(view().ScrollOffset(), 3);
  view().ButtonDown(TMouseButton::mbLeft, 0, 490, 390);  // below it: a page forward
  EXPECT_EQ(view().ScrollOffset(), 0);
  rig.ClearRecords();
  view().ButtonDown(TMouseButton::mbLeft, 0, 490, 300);  // on the thumb, 20 below its top
  view().MouseMoved(0, 490, 20);
  EXPECT_EQ(view().ScrollOffset(), 7);
  view().MouseMoved(0, 490, 160);
  EXPECT_EQ(view().ScrollOffset(), 3);
  view().ButtonUp(TMouseButton::mbLeft, 0, 490, 160);
  EXPECT_EQ(rig.Window.CallsStartingWith("SetMouseCapture").size(), 1u);
  EXPECT_EQ(rig.Window.CallsStartingWith("ReleaseMouseCapture").size(), 1u);
  EXPECT_EQ(downs, 0);  // presses on the bar never start a selection
  view().ButtonDown(TMouseButton::mbLeft, 0, 100, 100);
  EXPECT_EQ(downs, 1);
}

TEST_F(Scrollback, TheXtermViewShowsItsKeptRowsFittedToTheScreensWidth) {
  view().SetEmulation(TEmulation::Xterm);
  EXPECT_EQ(view().HistoryRows(), 0);
  view().SetRows(3);
  view().SetCols(10);
  view().WriteText("L0 \xE4\xB8\xAD\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5");
  EXPECT_EQ(view().HistoryRows(), 3);
  view().WheelTurned(120);
  EXPECT_EQ(PaintedText(), (std::vector<std::string>{"L0 \xE4\xB8\xAD_", "L1", "L2"}));
  view().SetCols(4);  // the wide character in columns 3-4 is cut in half
  const TXtermRow& fitted = view().ShownXtermRow(0);
  ASSERT_EQ(fitted.size(), 4u);
  EXPECT_EQ(fitted[3].Ch, U' ');
  view().SetScrollback(2);
  EXPECT_EQ(view().HistoryRows(), 2);
  EXPECT_EQ(view().ScrollOffset(), 2);
}

}  // namespace
