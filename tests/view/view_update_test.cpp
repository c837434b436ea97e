#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/pixel_math.h"
#include "tests/view/support/view_rig.h"

using namespace corvane;
using corvane::recording::TViewRig;
using Calls = std::vector<std::string>;

namespace {

std::string RowText(const TScreen& s, int row, int count) {
  return std::string(reinterpret_cast<const char*>(s.Lines[row]->Chars.data()), static_cast<std::size_t>(count));
}

TEST(ViewConstruction, ANewViewShowsTheBannerWithTheCursorOnRowOne) {
  TViewRig rig;
  TZuzeRI& v = *rig.View;
  EXPECT_EQ(RowText(v.Screen(), 0, 7), "ZuzeRI ");
  EXPECT_EQ(v.Screen().Cursor.Row, 1);
  EXPECT_EQ(v.Screen().Cursor.Col, 0);
  EXPECT_EQ(v.Rows(), 25);
  EXPECT_EQ(v.Cols(), 80);
  EXPECT_EQ(v.FKeys, 1);
  EXPECT_TRUE(v.AutoRepaint);
  EXPECT_TRUE(v.Xlat());
  EXPECT_FALSE(v.Log());
  EXPECT_EQ(v.BorderStyle, TBorderStyle::bsSingle);
  EXPECT_EQ(v.Font().Name, "Terminal");
  EXPECT_EQ(v.Font().Size, 12);
  EXPECT_EQ(v.CharWidth(), 8);
  EXPECT_EQ(v.LineHeight(), 12);
  EXPECT_FALSE(v.VScrollBar().Visible);
  EXPECT_EQ(v.Screen().XlatTable, &AsciiTable);
  EXPECT_FALSE(v.CaretCreated());
  EXPECT_TRUE(rig.Window.CallsStartingWith("CreateCaret").empty());
}

TEST(ViewConstruction, ColourTableHoldsTheSixteenDisplayColours) {
  const std::vector<std::array<int, 3>> expected = {{0, 0, 0},     {168, 0, 0},    {0, 168, 0},    {168, 168, 0},
                                                    {0, 0, 168},   {168, 0, 168},  {0, 112, 216},  {200, 200, 200},
                                                    {84, 84, 84},  {84, 84, 212},  {84, 255, 84},  {255, 255, 84},
                                                    {84, 84, 255}, {255, 84, 255}, {84, 255, 255}, {255, 255, 255}};
  TViewRig rig;
  for (int n = 0; n < 16; ++n) {
    const platform::TRGB c = rig.View->ColorTable()[n];
    EXPECT_EQ((std::array<int, 3>{c.Red, c.Green, c.Blue}), expected[n]) << "colour " << n;
  }
}

class ViewUpdate : public ::testing::Test {
 protected:
  ViewUpdate() : rig({8, 16, 2}) {}
  TZuzeRI& view() { return *rig.View; }
  TViewRig rig;
};

TEST_F(ViewUpdate, InvalidatesTheChangedCellsAndTheCursorCellWithoutErase) {
  view().UpdateScreen();  // the banner: row 0, columns 0..5
  EXPECT_EQ(rig.Window.Calls, (Calls{"Invalidate (0,6,54,22)", "Invalidate (0,20,14,36)", "MoveCaret 6,20"}));
  rig.ClearRecords();
  view().Screen().SetCursor(3, 10);
  view().WriteText("ab");
  view().Screen().SetCursor(5, 2);
  view().WriteByte('c');  // one update per WriteByte
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"),
            (Calls{"Invalidate (86,54,102,70)", "Invalidate (102,52,110,68)", "Invalidate (22,86,30,102)",
                   "Invalidate (30,84,38,100)"}));
}

TEST_F(ViewUpdate, NothingChangedInvalidatesOnlyTheCursorCell) {
  view().UpdateScreen();
  rig.ClearRecords();
  view().WriteText("");
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"), (Calls{"Invalidate (0,20,14,36)"}));
}

TEST_F(ViewUpdate, RepaintAllInvalidatesTheWholeClientArea) {
  view().Clear();
  view().UpdateScreen();
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"), (Calls{"Invalidate (0,0,500,400)", "Invalidate (0,4,14,20)"}));
  EXPECT_FALSE(view().Screen().RepaintAll);
  EXPECT_EQ(view().Screen().Dirty.Right, -1);
}

TEST_F(ViewUpdate, WithoutAutoRepaintWritesWaitForOneUpdate) {
  view().UpdateScreen();
  rig.ClearRecords();
  view().AutoRepaint = false;
  view().WriteText("xy");
  view().WriteByte('z');
  EXPECT_TRUE(rig.Window.Calls.empty());
  view().UpdateScreen();
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"), (Calls{"Invalidate (0,22,30,38)", "Invalidate (30,20,38,36)"}));
}

TEST_F(ViewUpdate, RowsAndColsClearAndRepaintOnlyOnChange) {
  view().SetRows(25);
  view().SetCols(80);
  EXPECT_TRUE(rig.Window.Calls.empty());
  EXPECT_EQ(RowText(view().Screen(), 0, 6), "ZuzeRI");

  view().SetRows(30);
  EXPECT_EQ(view().Rows(), 30);
  EXPECT_EQ(RowText(view().Screen(), 0, 6), "      ");
  EXPECT_EQ(view().Screen().Cursor.Row, 0);
  EXPECT_EQ(view().Screen().Region.Bottom, 29);
  view().SetCols(132);
  EXPECT_EQ(rig.Window.Calls, (Calls{"RepaintNow", "RepaintNow"}));
}

// Column 0 paints the left margin with it and the last column the right
// margin, so a change there invalidates the margin too (client 500 wide).
TEST_F(ViewUpdate, ChangesAtTheFirstOrLastColumnInvalidateTheMarginBesideThem) {
  view().SetCols(10);
  view().UpdateScreen();
  struct Case {
    int col, row;
    const char* text;
    Calls invalidated;
  };
  const std::vector<Case> cases = {
      {3, 2, "ab", {"Invalidate (30,38,46,54)", "Invalidate (46,36,54,52)"}},
      {0, 2, "a", {"Invalidate (0,38,14,54)", "Invalidate (14,36,22,52)"}},
      {8, 2, "ab", {"Invalidate (70,38,500,54)", "Invalidate (86,36,500,52)"}},
      {9, 3, "\x1b[44m", {"Invalidate (78,52,500,68)"}},
  };
  for (const Case& c : cases) {
    view().Screen().SetCursor(c.row, c.col);
    rig.ClearRecords();
    view().WriteText(c.text);
    EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate"), c.invalidated) << c.col;
  }
}

TEST_F(ViewUpdate, RowsAndColsOutsideTheScreenLimitsAreClamped) {
  view().SetRows(0);
  view().SetCols(-5);
  EXPECT_EQ(view().Rows(), 1);
  EXPECT_EQ(view().Cols(), 1);
  view().SetRows(1000);
  view().SetCols(1000);
  EXPECT_EQ(view().Rows(), 50);
  EXPECT_EQ(view().Cols(), 132);
  rig.ClearRecords();
  view().SetRows(51);  // clamps to the current 50: no change
  EXPECT_TRUE(rig.Window.Calls.empty());
}

TEST_F(ViewUpdate, FontForcesFixedPitchAndRemeasures) {
  view().SetLineHeight(99);
  rig.Window.Metrics = {9, 18, 3};
  platform::TFont font;
  font.Name = "Proportional Sans";
  font.Pitch = platform::TFontPitch::Variable;
  view().SetFont(font);
  EXPECT_EQ(view().Font().Pitch, platform::TFontPitch::Fixed);
  EXPECT_EQ(view().Font().Name, "Proportional Sans");
  EXPECT_EQ(rig.Window.Measured.back().What, recording::TCanvasCall::RestoreFont);
  EXPECT_EQ(rig.Window.Measured[rig.Window.Measured.size() - 2].Font.Pitch, platform::TFontPitch::Fixed);
  EXPECT_EQ(view().CharWidth(), 9);
  EXPECT_EQ(view().LineHeight(), 18);
  EXPECT_EQ(view().InternalLeading(), 3);
  EXPECT_EQ(rig.Window.Calls, (Calls{"MoveCaret 6,22"}));  // no repaint
}

TEST_F(ViewUpdate, LineHeightIsStoredOnly) {
  view().SetLineHeight(20);
  EXPECT_TRUE(rig.Window.Calls.empty());
  view().MoveCaret();
  EXPECT_EQ(rig.Window.Calls, (Calls{"MoveCaret 6,24"}));
}

TEST_F(ViewUpdate, XlatWritesTheNegationIntoBothScreenFlags) {
  view().SetXlat(false);
  EXPECT_TRUE(view().Screen().XlatIn);
  EXPECT_TRUE(view().Screen().XlatDefault);
  EXPECT_FALSE(view().Xlat());
  view().SetXlat(true);
  EXPECT_FALSE(view().Screen().XlatIn);
  EXPECT_FALSE(view().Screen().XlatDefault);
  view().Screen().XlatDefault = true;  // a host designating a character set
  EXPECT_FALSE(view().Xlat());
}

TEST_F(ViewUpdate, AutoLFAndAutoCRLiveInTheScreen) {
  view().SetAutoLF(true);
  view().SetAutoCR(true);
  EXPECT_TRUE(view().Screen().AutoLF);
  EXPECT_TRUE(view().Screen().AutoCR);
  view().Screen().AutoLF = false;
  EXPECT_FALSE(view().AutoLF());
}

TEST_F(ViewUpdate, CellConversionsSnapToCellOrigins) {
  EXPECT_EQ(view().PixelToRow(0), 0);
  EXPECT_EQ(view().PixelToRow(3), 0);
  EXPECT_EQ(view().PixelToRow(19), 0);
  EXPECT_EQ(view().PixelToRow(20), 1);
  EXPECT_EQ(view().PixelToCol(-100), 0);
  EXPECT_EQ(view().PixelToCol(13), 0);
  EXPECT_EQ(view().PixelToCol(14), 1);
  EXPECT_EQ(view().SnapPixelY(35), 20);
  EXPECT_EQ(view().SnapPixelX(37), 30);
  EXPECT_EQ(view().SnapPixelX(2), 6);
}

// A cell of no size (a font of size 0, LineHeight=0 in the settings) would
// make every conversion divide by zero.
TEST_F(ViewUpdate, AbsurdMetricsKeepCellsOfOnePixelAndRaiseInsteadOfWrapping) {
  view().SetLineHeight(0);
  EXPECT_EQ(view().LineHeight(), 1);
  rig.Window.Metrics = {0, 0, 0};
  view().SetFont(view().Font());
  EXPECT_EQ(view().LineHeight(), 1);
  EXPECT_EQ(view().CharWidth(), 1);
  EXPECT_EQ(view().PixelToRow(50), 46);
  view().SetLineHeight(1 << 30);
  view().Screen().SetCursor(10, 0);
  EXPECT_THROW(view().UpdateScreen(), EIntOverflow);
}

class CaretAndFocus : public ViewUpdate {
 protected:
  void TearDown() override { rig.View.reset(); }
};

TEST_F(CaretAndFocus, FocusCreatesAndShowsTheCaretAndLossDestroysIt) {
  view().FocusGained();
  EXPECT_TRUE(view().Screen().HasFocus);
  EXPECT_EQ(rig.Window.Calls, (Calls{"CreateCaret 2x16", "MoveCaret 6,20", "ShowCaret"}));
  rig.ClearRecords();
  view().FocusLost();
  EXPECT_FALSE(view().Screen().HasFocus);
  EXPECT_EQ(rig.Window.Calls, (Calls{"HideCaret", "DestroyCaret"}));
  EXPECT_FALSE(view().CaretCreated());
}

TEST_F(CaretAndFocus, WritingHidesTheCaretAndTheUpdateShowsIt) {
  view().FocusGained();
  view().UpdateScreen();
  rig.ClearRecords();
  view().WriteByte('x');
  EXPECT_EQ(rig.Window.Calls, (Calls{"HideCaret", "Invalidate (0,22,14,38)", "Invalidate (14,20,22,36)", "ShowCaret",
                                     "MoveCaret 14,20"}));
}

TEST_F(CaretAndFocus, AViewWithoutFocusHasNoCaret) {
  view().WriteText("abc");
  EXPECT_TRUE(rig.Window.CallsStartingWith("ShowCaret").empty());
  EXPECT_TRUE(rig.Window.CallsStartingWith("HideCaret").empty());
  EXPECT_EQ(rig.Window.CallsStartingWith("Invalidate").size(), 2u);
  EXPECT_FALSE(view().CaretShown());
}

TEST_F(CaretAndFocus, AHostHidingTheCursorHidesTheCaretUntilTheNextUpdate) {
  view().FocusGained();
  view().AutoRepaint = false;
  rig.ClearRecords();
  view().WriteText("\x1b[?25l");
  EXPECT_TRUE(view().Screen().CursorHidden);
  EXPECT_FALSE(view().CaretShown());
  EXPECT_EQ(rig.Window.Calls, (Calls{"HideCaret"}));
  view().UpdateScreen();
  EXPECT_TRUE(view().CaretShown());
  view().WriteText("\x1b[?25h");  // shown again while the view has focus
  EXPECT_TRUE(view().CaretShown());
}

TEST_F(CaretAndFocus, ShowingTheCursorWithoutFocusCreatesNoCaret) {
  view().WriteText("\x1b[?25l\x1b[?25h");
  EXPECT_FALSE(view().CaretShown());
  EXPECT_TRUE(rig.Window.CallsStartingWith("ShowCaret").empty());
}

TEST_F(CaretAndFocus, GainingFocusWhileTheCursorIsHiddenLeavesTheCaretHidden) {
  view().WriteText("\x1b[?25l");
  view().FocusGained();
  EXPECT_TRUE(view().CaretCreated());
  EXPECT_FALSE(view().CaretShown());
  EXPECT_TRUE(rig.Window.CallsStartingWith("ShowCaret").empty());
}

TEST_F(CaretAndFocus, LeftButtonFiresMouseDownThenTakesFocusAndClicksOnRelease) {
  Calls events;
  view().OnMouseDown = [&](TCustomZuzeRI&, TMouseButton, TShiftState, int x, int y) {
    events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  };
  view().OnMouseUp = [&](TCustomZuzeRI&, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
  view().OnClick = [&](TCustomZuzeRI&) { events.push_back("click"); };
  view().LeftButtonDown(0, 30, 40);
  EXPECT_EQ(rig.Window.Calls, (Calls{"SetFocus"}));
  view().ButtonUp(TMouseButton::mbLeft, 0, 31, 41);
  view().ButtonUp(TMouseButton::mbLeft, 0, 31, 41);  // no press before it: no click
  EXPECT_EQ(events, (Calls{"down 30,40", "up", "click", "up"}));
}

TEST_F(CaretAndFocus, RowsAndColsMoveTheCaretHomeWithTheCursor) {
  view().FocusGained();
  view().Screen().SetCursor(3, 5);
  view().UpdateScreen();
  rig.ClearRecords();
  view().SetRows(30);
  view().Screen().SetCursor(3, 5);
  view().SetCols(100);
  EXPECT_EQ(rig.Window.Calls, (Calls{"RepaintNow", "MoveCaret 6,4", "RepaintNow", "MoveCaret 6,4"}));
}

TEST_F(CaretAndFocus, AReleaseOutsideTheClientAreaIsNoClick) {
  int clicks = 0;
  view().OnClick = [&](TCustomZuzeRI&) { ++clicks; };
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 10}, {10, 400}, {500, 0}, {499, 399}}) {
    view().LeftButtonDown(0, 30, 40);
    view().ButtonUp(TMouseButton::mbLeft, 0, x, y);
  }
  EXPECT_EQ(clicks, 1);
}

TEST_F(CaretAndFocus, ScrollStripMovesTheTopLineWithinItsRange) {
  view().VScrollBarScroll(TScrollCode::scLineUp);
  EXPECT_EQ(view().TopLine(), 0);
  view().VScrollBarScroll(TScrollCode::scLineDown);
  view().VScrollBarScroll(TScrollCode::scPageDown);
  EXPECT_EQ(view().TopLine(), 1);
  EXPECT_EQ(rig.Window.Calls, (Calls{"RepaintNow", "SetFocus", "RepaintNow", "SetFocus", "RepaintNow", "SetFocus"}));
  for (int i = 0; i < 60; ++i) view().VScrollBarScroll(TScrollCode::scLineDown);
  EXPECT_EQ(view().TopLine(), 49);
  rig.ClearRecords();
  view().MoveCaret();  // the caret row counts from the top line
  EXPECT_EQ(rig.Window.Calls, (Calls{"MoveCaret 6,-764"}));
}

}  // namespace
