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
    int x, y;
    while (in >> action >> x >> comma >> y) {
      if (action == 'D') term.ButtonDown(TMouseButton::mbLeft, 0, x, y);
      if (action == 'M') term.MouseMoved(0, x, y);
      if (action == 'U') term.ButtonUp(TMouseButton::mbLeft, 0, x, y);
    }
  }
  // Every rubber band drawn was removed again: each frame was drawn an even
  // number of times.
  bool RubberBandsRemoved() const {
    std::map<std::string, int> drawn;
    for (const auto& call : rig.Window.Drawn) ++drawn[recording::ToString(call)];
    for (const auto& [frame, times] : drawn)
      if (times % 2 != 0) return false;
    return true;
  }
};

TEST_F(Selecting, DragsGiveTheCellsUnderTheRubberBand) {
  struct Case {
    const char *mouse, *text;
    size_t frames;  // focus rectangle calls, drawing and removing
  };
  const std::vector<Case> cases = {
      {"D 30,40 U 30,40", "", 0},                               // a click
      {"D 30,16 M 30,16 U 30,16", "", 0},                       // one move: no frame
      {"D 31,17 M 31,17 M 33,19 U 33,19", "d", 2},              // two moves in one cell
      {"D 6,4 M 6,4 M 30,16 U 30,16", "ABCD\r\nabcd", 2},       // rows 0-1, columns 0-3
      {"D 6,4 M 6,4 M 14,4 M 22,28 U 22,28", "ABC\r\nabc\r\n012", 4},
      {"D 60,28 M 60,28 M 20,28 U 20,28", "", 2},               // left of the anchor
      {"D 6,16 M 6,16 M 30,4 U 30,4", "", 2},                   // above the anchor
  };
  for (const Case& c : cases) {
    rig.Window.Drawn.clear();
    Mouse(c.mouse);
    EXPECT_EQ(term.SelectedText(), c.text) << c.mouse;
    EXPECT_EQ(rig.Window.Drawn.size(), c.frames) << c.mouse;
    EXPECT_TRUE(RubberBandsRemoved()) << c.mouse;
  }
}

TEST_F(Selecting, ADragCapturesAndConfinesThePointerUntilTheRelease) {
  rig.ClearRecords();
  Mouse("D 31,17 M 31,17 M 33,19 U 33,19");
  EXPECT_EQ(rig.Window.Calls, (std::vector<std::string>{"SetMouseCapture", "ConfinePointer (0,0,484,400)",
                                                        "ReleaseMouseCapture", "ReleasePointer", "RepaintNow"}));
  EXPECT_EQ(recording::ToString(rig.Window.Drawn.at(0)), "FocusRect (30,16,38,32)");

  rig.ClearRecords();
  Mouse("D 90,90 U 90,90");  // a new press clears the selection and repaints
  EXPECT_EQ(term.SelectedText(), "");
  EXPECT_EQ(rig.Window.CallsStartingWith("RepaintNow").size(), 1u);
}

TEST_F(Selecting, TheBufferSizeLimitsTheTextAndCallersCanSizeItForAWholeScreen) {
  Mouse("D 6,4 M 6,4 M 30,16 U 30,16");
  char buffer[16];
  const std::vector<std::pair<int, std::string>> sizes = {
      {1, ""}, {2, "A"}, {5, "ABCD"}, {7, "ABCD"}, {8, "ABCD\r\na"}, {11, "ABCD\r\nabcd"}};
  for (const auto& [size, text] : sizes) {
    EXPECT_EQ(term.GetSelectedText(buffer, size), static_cast<int>(text.size())) << size;
    EXPECT_EQ(std::string(buffer), text) << size;
  }
  EXPECT_EQ(term.GetSelectedText(buffer, 0), 0);

  term.SetRows(50);
  term.SetCols(132);
  Mouse("D 6,4 M 6,4 M 1054,592 U 1054,592");
  EXPECT_EQ(term.SelectedText().size(), 50u * 132 + 49 * 2);
  std::vector<char> copy(2500);
  EXPECT_EQ(term.GetSelectedText(copy.data(), 2500), 2499);
}

}  // namespace
}  // namespace corvane::tntest
