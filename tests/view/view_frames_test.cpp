// Updates at the display's pace: with a frame clock, text that streams in is
// shown once per tick, a write after a quiet frame at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/view/support/view_rig.h"

using namespace corvane;
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

}  // namespace
