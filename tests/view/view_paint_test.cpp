#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/view/support/view_rig.h"

using namespace corvane;
using corvane::recording::TCanvasCall;
using corvane::recording::TViewRig;
using Calls = std::vector<std::string>;

namespace {

void SetCells(TScreen& s, int row, int col, const std::string& text, std::uint8_t attr) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    s.Lines[row]->Chars[col + i] = static_cast<std::uint8_t>(text[i]);
    s.Lines[row]->Attrs[col + i] = attr;
  }
}

// 10 columns, 2 rows in use, 8 x 16 cells with 2 pixels of internal leading,
// in a 120 x 60 client area: three text rows fit.
class ViewPaint : public ::testing::Test {
 protected:
  ViewPaint() : rig({8, 16, 2}) {
    rig.Window.Client = {0, 0, 120, 60};
    view().SetRows(2);
    view().SetCols(10);
    rig.ClearRecords();
    rig.Window.Pending.Clear();
  }

  TZuzeRI& view() { return *rig.View; }

  Calls Paint() {
    rig.Window.Painted.clear();
    view().PaintRequest();
    Calls calls;
    for (const TCanvasCall& call : rig.Window.Painted) calls.push_back(ToString(call));
    return calls;
  }
  Calls PaintAll() {
    rig.Window.Pending = rig.Window.Client;
    return Paint();
  }
  std::vector<TCanvasCall> Painted(TCanvasCall::Kind kind) const {
    std::vector<TCanvasCall> found;
    for (const TCanvasCall& call : rig.Window.Painted)
      if (call.What == kind) found.push_back(call);
    return found;
  }

  TViewRig rig;
};

TEST_F(ViewPaint, AFullPaintDrawsOneTextCallPerRunAndFillsTheMargins) {
  SetCells(view().Screen(), 0, 0, "ab", 0x07);
  SetCells(view().Screen(), 0, 2, "cd", 0x1E);
  EXPECT_EQ(PaintAll(), (Calls{
                            "RealizePalette",
                            "Fill (0,0,120,6) #000000",  // top band, drawn twice when the first row is row 0
                            "Fill (0,0,120,6) #000000",
                            "SelectFont Terminal",
                            "Text 6,4 (0,6,22,22) 'ab' #C8C8C8 on #000000",
                            "Text 22,4 (22,6,38,22) 'cd' #54FFFF on #A80000",
                            "Text 38,4 (38,6,92,22) '      ' #C8C8C8 on #000000",
                            "Text 6,20 (0,22,92,38) '          ' #C8C8C8 on #000000",
                            "Text 6,36 (0,38,92,54) '          ' #C8C8C8 on #000000",  // row 2 lies below Rows
                            "Fill (0,52,118,58) #000000",                              // the row that does not fit
                            "Fill (86,4,118,58) #000000",                              // right of the last column
                            "RestoreFont",
                        }));
  EXPECT_EQ(rig.Window.Calls, (Calls{"BeginPaint"}));
}

TEST_F(ViewPaint, APartialPaintStartsOneRowAboveTheUpdateRectangle) {
  rig.Window.Client = {0, 0, 120, 400};
  for (int row = 0; row < 10; ++row) SetCells(view().Screen(), row, 0, std::string(1, static_cast<char>('A' + row)), 7);
  rig.Window.Pending = platform::TRect{6, 100, 14, 116};  // a cell of row 6
  Paint();
  const auto texts = Painted(TCanvasCall::TextRun);
  ASSERT_EQ(texts.size(), 3u);  // rows 5, 6 and 7: the row above overlaps by its leading
  EXPECT_EQ(texts[0].Y, 84);
  EXPECT_EQ(texts[0].Text[0], 'F');
  EXPECT_EQ(texts[2].Text[0], 'H');
  const auto fills = Painted(TCanvasCall::FillRect);
  ASSERT_EQ(fills.size(), 1u);  // no top band, only the right margin
  EXPECT_EQ(fills[0].Rect, (platform::TRect{86, 4, 118, 398}));
}

TEST_F(ViewPaint, TheTopLineShiftsWhichScreenLineIsPaintedFirst) {
  SetCells(view().Screen(), 1, 0, "second", 7);
  view().VScrollBarScroll(TScrollCode::scLineDown);
  Paint();  // the scroll repainted the whole window
  const auto texts = Painted(TCanvasCall::TextRun);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].Text.substr(0, 6), "second");
  EXPECT_EQ(texts[0].Y, 4);
}

TEST_F(ViewPaint, MonochromeMapsAttributesToBlackWhiteAndGrey) {
  view().MonoChrome = true;
  SetCells(view().Screen(), 0, 0, "a", 0x07);
  SetCells(view().Screen(), 0, 1, "b", 0x0F);
  SetCells(view().Screen(), 0, 2, "c", 0x70);
  SetCells(view().Screen(), 0, 3, "d", 0x00);
  SetCells(view().Screen(), 0, 4, "e", 0x1F);
  const Calls calls = PaintAll();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "RealizePalette"), 0);
  const auto texts = Painted(TCanvasCall::TextRun);
  ASSERT_GE(texts.size(), 6u);
  const platform::TRGB black{0, 0, 0}, white{255, 255, 255}, grey{127, 127, 127};
  EXPECT_EQ(texts[0].Foreground, black);
  EXPECT_EQ(texts[0].Background, white);
  EXPECT_EQ(texts[1].Foreground, black);
  EXPECT_EQ(texts[1].Background, grey);
  EXPECT_EQ(texts[2].Foreground, white);
  EXPECT_EQ(texts[2].Background, grey);
  EXPECT_EQ(texts[3].Foreground, white);
  EXPECT_EQ(texts[3].Background, white);
  EXPECT_EQ(texts[4].Background, grey);
  for (const TCanvasCall& fill : Painted(TCanvasCall::FillRect)) EXPECT_EQ(fill.Background, white);
}

TEST_F(ViewPaint, MarginsTakeTheBackgroundOfTheCurrentAttribute) {
  view().Screen().Attr = 0x0F;
  PaintAll();
  for (const TCanvasCall& fill : Painted(TCanvasCall::FillRect)) EXPECT_EQ(fill.Background, (platform::TRGB{0, 0, 0}));
  view().Screen().Attr = 0x47;
  PaintAll();
  const auto fills = Painted(TCanvasCall::FillRect);
  ASSERT_EQ(fills.size(), 4u);
  for (const TCanvasCall& fill : fills) EXPECT_EQ(fill.Background, (platform::TRGB{0, 0, 168}));
}

TEST_F(ViewPaint, NothingIsPaintedWithoutAnUpdateRegion) {
  EXPECT_TRUE(Paint().empty());
  EXPECT_TRUE(rig.Window.Calls.empty());
}

TEST_F(ViewPaint, AGivenCanvasIsUsedWithTheWindowsUpdateRectangle) {
  std::vector<TCanvasCall> own;
  recording::TRecordingCanvas dc(own, rig.Window.Metrics);
  rig.Window.Pending = rig.Window.Client;
  view().PaintRequest(&dc);
  EXPECT_TRUE(rig.Window.Calls.empty());  // no paint bracket
  EXPECT_EQ(own.size(), 10u);             // as a full paint of blank rows
}

TEST_F(ViewPaint, UpdateThenPaintRedrawsTheChangedCells) {
  PaintAll();
  view().Screen().SetCursor(1, 4);
  view().WriteText("\x1b[44mxy");
  ASSERT_FALSE(rig.Window.Pending.Empty());
  Paint();
  bool found = false;
  for (const TCanvasCall& call : Painted(TCanvasCall::TextRun)) {
    if (call.Text == "xy") {
      found = true;
      EXPECT_EQ(call.X, 38);
      EXPECT_EQ(call.Y, 20);
      EXPECT_EQ(call.Background, (platform::TRGB{0, 0, 168}));
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(ViewPaint, ArbitraryStreamsPaintEveryColumnOfEveryRowExactlyOnce) {
  std::mt19937 random(7);
  rig.Window.Client = {0, 0, 400, 900};
  view().SetRows(50);
  view().SetCols(37);
  // Colour changes, cursor moves and controls between text, with raw bytes mixed in.
  auto token = [&]() -> std::string {
    switch (random() % 6) {
      case 0:
        return "\x1b[" + std::to_string(30 + random() % 8) + ";" + std::to_string(40 + random() % 8) + "m";
      case 1:
        return "\x1b[" + std::to_string(random() % 60) + ";" + std::to_string(random() % 45) + "H";
      case 2:
        return std::string(1, "\r\n\b\t\x0e\x0f"[random() % 6]);
      case 3:
        return std::string(1, static_cast<char>(random() % 256));
      default:
        return std::string(1 + random() % 9, static_cast<char>('a' + random() % 26));
    }
  };
  for (int round = 0; round < 40; ++round) {
    std::string chunk;
    while (chunk.size() < 400) chunk += token();
    view().WriteText(chunk);
    rig.Window.Pending = rig.Window.Client;
    Paint();
    std::map<int, int> columnsPerRow;
    const TCanvasCall* previous = nullptr;
    for (const TCanvasCall& text : Painted(TCanvasCall::TextRun)) {
      ASSERT_EQ(text.X, 6 + columnsPerRow[text.Y] * 8);    // runs follow each other
      if (previous != nullptr && previous->Y == text.Y) {  // a run is as long as it can be
        ASSERT_FALSE(previous->Foreground == text.Foreground && previous->Background == text.Background);
      }
      columnsPerRow[text.Y] += static_cast<int>(text.Text.size());
      previous = &text;
    }
    ASSERT_EQ(columnsPerRow.size(), 50u);
    for (const auto& [y, columns] : columnsPerRow) ASSERT_EQ(columns, 37) << "row at y " << y;
  }
}

class TSelectingView : public TZuzeRI {
 public:
  using TZuzeRI::TZuzeRI;
  void Select(const platform::TRect& r) { FSelectRect = r; }
};

TEST_F(ViewPaint, TheSelectionFrameIsDrawnDoubleAfterTheText) {
  rig.View.reset();
  TSelectingView selecting(rig.Ports());
  selecting.Select({-1, -1, -1, -1});
  rig.Window.Pending = rig.Window.Client;
  rig.Window.Painted.clear();
  selecting.PaintRequest();
  EXPECT_TRUE(Painted(TCanvasCall::Frame).empty());

  selecting.Select({14, 20, 45, 52});
  rig.Window.Pending = rig.Window.Client;
  rig.Window.Painted.clear();
  selecting.PaintRequest();
  const auto& painted = rig.Window.Painted;
  ASSERT_GE(painted.size(), 3u);
  EXPECT_EQ(ToString(painted[painted.size() - 3]), "Frame (14,20,46,51) #000000");
  EXPECT_EQ(ToString(painted[painted.size() - 2]), "Frame (13,19,47,52) #FFFFFF");
  EXPECT_EQ(ToString(painted.back()), "RestoreFont");
}

}  // namespace

namespace {

// The Xterm emulation on the same window: 2 rows of 10 columns.
class XtermViewPaint : public ViewPaint {
 protected:
  XtermViewPaint() {
    view().SetEmulation(TEmulation::Xterm);
    rig.ClearRecords();
  }
};

TEST_F(XtermViewPaint, RunsOfOneLookAreCellRunsAndTheMarginBelowTheRowsIsFilled) {
  view().WriteText("\x1b[1;31mab\x1b[0;4m\xE4\xB8\xAD\x1b[24;7m \x1b[m");
  EXPECT_EQ(PaintAll(), (Calls{
                            "RealizePalette",
                            "Fill (0,0,120,6) #000000",
                            "Fill (0,0,120,6) #000000",
                            "SelectFont Terminal",
                            "Cells 6,4 (0,6,22,22) 'ab' #FF5454 on #000000",  // bold red is colour 9, bright red
                            "Underlined cells 22,4 (22,6,38,22) '\xE4\xB8\xAD_' #C8C8C8 on #000000",
                            "Cells 38,4 (38,6,46,22) ' ' #000000 on #C8C8C8",
                            "Cells 46,4 (46,6,92,22) '     ' #C8C8C8 on #000000",
                            "Cells 6,20 (0,22,92,38) '          ' #C8C8C8 on #000000",
                            "Fill (0,38,118,58) #000000",  // below the last row
                            "Fill (86,4,118,58) #000000",
                            "RestoreFont",
                        }));
}

// A double-width row's cells are two columns each, its last run reaching the
// margin; a double-height half says which; cells with marks go over their run.
TEST_F(XtermViewPaint, SizedRowsAreScaledRunsAndMarkedCellsAreDrawnComposed) {
  view().WriteText("\x1b#6ab\x1b[1mc\r\n\x1b#4e\xCC\x81");
  EXPECT_EQ(PaintAll(), (Calls{
                            "RealizePalette",
                            "Fill (0,0,120,6) #000000",
                            "Fill (0,0,120,6) #000000",
                            "SelectFont Terminal",
                            "Wide Cells 6,4 (0,6,38,22) 'ab' #C8C8C8 on #000000",
                            "Wide Cells 38,4 (38,6,54,22) 'c' #FFFFFF on #000000",
                            "Wide Cells 54,4 (54,6,92,22) '  ' #C8C8C8 on #000000",
                            "Bottom half Cells 6,20 (0,22,22,38) ' ' #FFFFFF on #000000",
                            "Cluster 6,20 'e\xCC\x81' #FFFFFF",
                            "Bottom half Cells 22,20 (22,22,92,38) '    ' #C8C8C8 on #000000",
                            "Fill (0,38,118,58) #000000",
                            "Fill (86,4,118,58) #000000",
                            "RestoreFont",
                        }));
}

TEST_F(XtermViewPaint, OnADoubleWidthRowTheCaretAndTheChangedAreaAreDoubled) {
  view().FocusGained();
  rig.Window.Calls.clear();
  view().WriteText("\x1b#6ab");
  const auto& calls = rig.Window.Calls;
  EXPECT_NE(std::find(calls.begin(), calls.end(), "Invalidate (0,6,120,22)"), calls.end());
  EXPECT_EQ(calls.back(), "MoveCaret 38,4");
}

TEST_F(XtermViewPaint, RowsAndColumnsResizeTheXtermScreenBeyondTheClassicLimits) {
  view().SetRows(100);
  view().SetCols(300);
  EXPECT_EQ(view().Rows(), 100);
  EXPECT_EQ(view().Cols(), 300);
  view().SetEmulation(TEmulation::Classic);
  EXPECT_EQ(view().Rows(), 2);
  EXPECT_EQ(view().Xterm(), nullptr);
}

TEST_F(XtermViewPaint, TheCaretFollowsTheXtermCursorAndItsVisibility) {
  view().FocusGained();
  rig.Window.Calls.clear();
  view().WriteText("abc\x1b[?25l");
  EXPECT_EQ(rig.Window.Calls.back(), "MoveCaret 30,4");
  EXPECT_FALSE(view().CaretShown());
  view().WriteText("\x1b[2;2H\x1b[?25h");
  EXPECT_EQ(rig.Window.Calls.back(), "MoveCaret 14,20");
  EXPECT_TRUE(view().CaretShown());
}

}  // namespace
