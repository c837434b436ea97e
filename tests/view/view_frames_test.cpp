// Updates at the display's pace: with a frame clock, text that streams in is
// shown once per tick, a write after a quiet frame at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/view/support/view_rig.h"

using namespace corvane;
using corvane::recording::TCanvasCall;
using corvane::recording::TViewRig;
using Calls = std::vector<std::string>;

namespace {

class ViewFrames : public ::testing::Test {
 protected:
  ViewFrames() {
    rig.View = std::make_unique<TZuzeRI>(rig.PacedPorts());
    view().FocusGained();
    view().UpdateScreen();  // the banner
    rig.ClearRecords();
  }
  TZuzeRI& view() { return *rig.View; }
  std::size_t Updates() const { return rig.Window.CallsStartingWith("MoveCaret").size(); }
  TViewRig rig;
};

TEST_F(ViewFrames, AFloodOfBlocksIsShownOncePerTickAndAQuietTickStopsTheClock) {
  view().WriteText("first");
  EXPECT_EQ(Updates(), 1u);  // nothing streamed before: at once
  rig.ClearRecords();
  for (int i = 0; i < 50; ++i) view().WriteText("more text\r\n");
  EXPECT_EQ(Updates(), 0u);
  EXPECT_TRUE(rig.Clock.Tick());
  EXPECT_EQ(Updates(), 1u);
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate").size(), 2u);  // the changed cells and the cursor's
  EXPECT_TRUE(rig.Clock.Tick());                                     // nothing new: no update, and the clock stops
  EXPECT_EQ(Updates(), 1u);
  EXPECT_FALSE(rig.Clock.Running());
  view().WriteText("x");
  EXPECT_EQ(Updates(), 2u);
  EXPECT_EQ(rig.Clock.Starts, 2);
}

// A typed key's echo amid the stream shows at the next tick, and that tick
// invalidates only the cells that changed, plus the cursor's.
TEST_F(ViewFrames, AnEchoAmidTheStreamIsShownAtTheNextTickWithOnlyItsCells) {
  view().WriteText("a");
  rig.ClearRecords();
  view().Screen().SetCursor(7, 10);
  view().WriteText("k");
  EXPECT_TRUE(rig.Window.CallsStartingWith("Invalidate").empty());
  rig.Clock.Tick();
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"),
            (Calls{"Invalidate (86,88,94,100)", "Invalidate (94,88,102,100)"}));
  EXPECT_EQ(rig.Window.CallsStartingWith("MoveCaret"), (Calls{"MoveCaret 94,88"}));
}

// A caret hidden at every read would ask the window for a paint at every read.
TEST_F(ViewFrames, TheCaretStaysUntilTheTickWhileTextStreams) {
  view().WriteText("a");
  rig.ClearRecords();
  for (int i = 0; i < 5; ++i) view().WriteText("b");
  EXPECT_TRUE(rig.Window.CallsStartingWith("HideCaret").empty());
  rig.Clock.Tick();
  EXPECT_EQ(rig.Window.CallsStartingWith("MoveCaret"), (Calls{"MoveCaret 54,16"}));
}

TEST_F(ViewFrames, AnUpdateCalledDirectlyLeavesTheTickNothingToDoAndDestructionStopsTheClock) {
  view().WriteText("a");
  view().WriteText("b");
  view().UpdateScreen();
  rig.ClearRecords();
  rig.Clock.Tick();
  EXPECT_FALSE(rig.Clock.Running());
  EXPECT_TRUE(rig.Window.Calls.empty());
  view().WriteText("c");
  ASSERT_TRUE(rig.Clock.Running());
  rig.View.reset();
  EXPECT_FALSE(rig.Clock.Running());
}

// The classic screen asks for a full repaint at each scroll; while its
// scrolls of the whole screen are the only reason, the pixels move instead.
TEST_F(ViewFrames, ClassicScrollsMoveThePixelsUntilSomethingElseAsksForAFullRepaint) {
  view().WriteText("\x1b[25;1H");
  rig.ClearRecords();
  for (int i = 0; i < 3; ++i) view().WriteText("line\r\n");
  rig.Clock.Tick();
  EXPECT_EQ(rig.Window.CallsStartingWith("ScrollPixels"), (Calls{"ScrollPixels (0,4,484,304) -36"}));
  // The scroll bar's strip, the rows written since the first scroll, the cursor's cell.
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"),
            (Calls{"Invalidate (484,0,500,400)", "Invalidate (0,256,654,304)", "Invalidate (0,292,14,304)"}));
  rig.ClearRecords();
  // Lines inserted after a scroll, or a clear before it.
  for (const char* text : {"line\r\n\x1b[L", "\x1b[2J\x1b[25;1Hline\r\n"}) {
    view().WriteText(text);
    rig.Clock.Tick();
    EXPECT_TRUE(rig.Window.CallsStartingWith("ScrollPixels").empty()) << text;
    EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate").front(), "Invalidate (0,0,500,400)") << text;
    rig.ClearRecords();
  }
}

}  // namespace

// Scrolling the whole Xterm screen moves the rows' pixels up and repaints
// only the rows that changed; anything that would leave the moved picture
// wrong repaints all the rows instead.
class ViewFramesScroll : public ViewFrames {
 protected:
  ViewFramesScroll() {
    view().SetEmulation(TEmulation::Xterm);
    view().WriteText("\x1b[99H");  // at the bottom of the 25 rows; the clock starts
    rig.ClearRecords();
  }
  Calls Moves() const { return rig.Window.CallsStartingWith("ScrollPixels"); }
  Calls Invalidated() const { return rig.Window.CallsStartingWith("Invalidate"); }
};

TEST_F(ViewFramesScroll, AFloodOfLinesMovesThePixelsOncePerTickAndRepaintsTheNewRows) {
  for (int i = 0; i < 3; ++i) view().WriteText("line\r\n");
  rig.Clock.Tick();
  // The rows left of the scroll bar, whose thumb is repainted.
  EXPECT_EQ(Moves(), (Calls{"ScrollPixels (0,4,484,304) -36"}));
  // The line written before the first line feed went up with the rest.
  EXPECT_EQ(Invalidated(),
            (Calls{"Invalidate (484,0,500,400)", "Invalidate (0,256,646,304)", "Invalidate (0,292,14,304)"}));
  const Calls calls = rig.Window.Calls;
  EXPECT_LT(std::find(calls.begin(), calls.end(), "HideCaret"), std::find(calls.begin(), calls.end(), Moves()[0]));
  EXPECT_EQ(rig.Window.CallsStartingWith("ShowCaret").size(), 1u);
}

// A paint between two updates (a late paint message, or a status line shown
// at once) shows rows as they are after more scrolls: those pixels must not
// move again, or rows would show twice.
TEST_F(ViewFramesScroll, PixelsPaintedAfterFurtherScrollsAreNotMovedAgain) {
  for (int i = 0; i < 3; ++i) view().WriteText("line\r\n");
  rig.Clock.Tick();
  view().WriteText("more\r\n");
  rig.Window.Pending = rig.Window.Client;
  view().PaintRequest();
  rig.ClearRecords();
  rig.Clock.Tick();
  EXPECT_TRUE(Moves().empty());
  EXPECT_EQ(Invalidated().front(), "Invalidate (0,4,646,304)");
  rig.ClearRecords();
  view().WriteText("again\r\n");
  rig.Clock.Tick();
  EXPECT_EQ(Moves().size(), 1u);  // the next scroll moves pixels again
}

// A row cut by the window's bottom edge is painted as margin: it stays, and
// the whole rows the move uncovers above it are painted again.
TEST_F(ViewFramesScroll, OnAWindowShorterThanTheGridOnlyTheWholeRowsMove) {
  rig.Window.Client = {0, 0, 500, 200};  // 16 whole rows
  for (int i = 0; i < 3; ++i) view().WriteText("line\r\n");
  rig.Clock.Tick();
  EXPECT_EQ(Moves(), (Calls{"ScrollPixels (0,4,484,196) -36"}));
  EXPECT_EQ(Invalidated()[1], "Invalidate (0,160,484,196)");
}

TEST_F(ViewFramesScroll, AChangeAtTheTopAPartialRegionOrAViewScrolledBackRepaintsAllTheRows) {
  const Calls all{"Invalidate (0,4,646,304)"};
  view().WriteText("a\r\n\x1b[Hb\x1b[99H");
  rig.Clock.Tick();
  EXPECT_TRUE(Moves().empty());
  EXPECT_EQ(Invalidated().front(), all.front());
  rig.ClearRecords();
  view().WriteText("\x1b[2r\x1b[99H\n");
  rig.Clock.Tick();
  EXPECT_TRUE(Moves().empty());
  EXPECT_EQ(Invalidated().front(), "Invalidate (0,16,646,304)");
  view().SetScrollback(100);
  rig.ClearRecords();
  view().WriteText("\x1b[r\x1b[99Hc\r\n");
  view().WheelTurned(120);
  rig.Clock.Tick();
  EXPECT_TRUE(Moves().empty());
}

// The Xterm view repaints each band of changed rows, not the rows between.
using ViewFramesBands = ViewFramesScroll;

TEST_F(ViewFramesBands, TwoDistantRowsChangedInOneFrameAreTwoBands) {
  view().WriteText("\x1b[3;5Hab\x1b[21;1Hstatus");
  rig.Clock.Tick();
  // Row 2's two cells, row 20's six from the margin, the cursor's cell.
  EXPECT_EQ(Invalidated(),
            (Calls{"Invalidate (38,28,54,40)", "Invalidate (0,244,54,256)", "Invalidate (54,244,62,256)"}));
}

TEST_F(ViewFramesBands, APaintOfTwoBandsPaintsOnlyTheRowsInsideThem) {
  view().PaintRequest();  // what switching the emulation left to paint
  rig.ClearRecords();
  view().WriteText("\x1b[3;5Hab\x1b[21;1Hstatus");
  rig.Clock.Tick();
  view().PaintRequest();
  std::set<int> rows;
  for (const TCanvasCall& call : rig.Window.Painted)
    if (call.What == TCanvasCall::CellRun) rows.insert((call.Y - 4) / 12);
  EXPECT_EQ(rows, (std::set<int>{2, 20}));
}

TEST_F(ViewFramesBands, AfterAScrollTheBandsAreWhereTheirRowsWent) {
  view().WriteText("\x1b[6;5Hab\x1b[25;1H\nz");
  rig.Clock.Tick();
  EXPECT_EQ(Moves(), (Calls{"ScrollPixels (0,4,484,304) -12"}));
  EXPECT_EQ(Invalidated(), (Calls{"Invalidate (484,0,500,400)", "Invalidate (38,52,54,64)",
                                  "Invalidate (0,292,646,304)", "Invalidate (14,292,22,304)"}));
}

TEST_F(ViewFramesBands, ADoubleWidthRowWidensOnlyItsOwnBand) {
  view().WriteText("\x1b[5;1H\x1b#6x\x1b[10;3Hy");
  rig.Clock.Tick();
  EXPECT_EQ(Invalidated(),
            (Calls{"Invalidate (0,52,646,64)", "Invalidate (22,112,30,124)", "Invalidate (30,112,38,124)"}));
}
