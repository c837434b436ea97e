#include "emulator/xterm_screen.h"

#include <algorithm>

namespace corvane {

TXtermScreen::TXtermScreen(int ARows, int ACols)
    : FRows(std::clamp(ARows, 1, kXtermMaxRows)), FCols(std::clamp(ACols, 1, kXtermMaxCols)) {
  FMain.assign(static_cast<std::size_t>(FRows), TXtermRow(static_cast<std::size_t>(FCols)));
  FAlternate = FMain;
  FSizes[0].assign(static_cast<std::size_t>(FRows), TXtermLineSize::Single);
  FSizes[1] = FSizes[0];
  FRegion = {0, FRows - 1};
  ResetTabs();
}

void TXtermScreen::Resize(int ARows, int ACols) {
  ARows = std::clamp(ARows, 1, kXtermMaxRows);
  ACols = std::clamp(ACols, 1, kXtermMaxCols);
  if (ARows == FRows && ACols == FCols) return;
  KeepCursorRowInView(ARows);
  for (auto* lines : {&FMain, &FAlternate}) {
    lines->resize(static_cast<std::size_t>(ARows), TXtermRow(static_cast<std::size_t>(ACols)));
    for (TXtermRow& row : *lines) row.resize(static_cast<std::size_t>(ACols));
  }
  for (auto& sizes : FSizes) sizes.resize(static_cast<std::size_t>(ARows), TXtermLineSize::Single);
  FRows = ARows;
  FCols = ACols;
  // A wide character cut in half at the new right edge leaves a blank.
  for (auto* lines : {&FMain, &FAlternate})
    for (TXtermRow& row : *lines)
      if ((row.back().Flags & kXWide) != 0) row.back() = TXtermCell{};
  FRegion = {0, FRows - 1};
  FCursor = {std::min(FCursor.Row, FRows - 1), std::min(FCursor.Col, FCols - 1)};
  FPendingWrap = false;
  ResetTabs();
  Dirty.Clear();  // every row is marked whole, and none wider than it is now
  MarkRows(0, FRows - 1);
}

// The cursor's row stays in view, as a shell's prompt at the bottom expects:
// shrinking below it moves the rows above off the top (the main screen's
// into the kept rows), and growing the main screen brings kept rows back.
void TXtermScreen::KeepCursorRowInView(int ARows) {
  const int off = std::max(0, FCursor.Row - (ARows - 1));
  const int back = FLines == &FMain ? std::clamp(ARows - FRows, 0, FHistory.Size()) : 0;
  for (int r = 0; r < off; ++r) FHistory.Push(FMain[static_cast<std::size_t>(r)]);
  for (auto* lines : {&FMain, &FAlternate}) lines->erase(lines->begin(), lines->begin() + off);
  for (auto& sizes : FSizes) sizes.erase(sizes.begin(), sizes.begin() + off);
  for (int r = 0; r < back; ++r) FMain.insert(FMain.begin(), FHistory.TakeNewest());
  FSizes[0].insert(FSizes[0].begin(), static_cast<std::size_t>(back), TXtermLineSize::Single);
  const int shift = back - off;
  FCursor.Row += shift;
  for (TSaved& saved : FSaved) saved.Cursor.Row = std::clamp(saved.Cursor.Row + shift, 0, ARows - 1);
}

void TXtermScreen::FullReset() {
  const TXtermHooks hooks = FHooks;
  const TCharset charset = FParser.Decoder().Charset();
  TXtermScreen fresh(FRows, FCols);
  FMain = std::move(fresh.FMain);
  FAlternate = std::move(fresh.FAlternate);
  FLines = &FMain;
  FSizes[0] = std::move(fresh.FSizes[0]);
  FSizes[1] = std::move(fresh.FSizes[1]);
  FAnySized = false;
  FTabs = std::move(fresh.FTabs);
  FCursor = {};
  FPendingWrap = false;
  FRegion = fresh.FRegion;
  FPen = {};
  FModes = {};
  FG[0] = FG[1] = TXtermCharset::Ascii;
  FShift = 0;
  FSaved[0] = FSaved[1] = {};
  FLastPrinted = 0;
  FParser.Reset();
  FParser.Decoder().SetCharset(charset);
  FHooks = hooks;
  MarkRows(0, FRows - 1);
}

// Erased cells take the current background colour, as xterm's do.
TXtermCell TXtermScreen::Blank() const { return {U' ', kXtermDefaultFg, FPen.Bg, 0}; }

// Cells First..First+Count-1 of Line blanked. They are copied from a row of
// blanks kept for the current background: one block copy costs a fraction
// of building each cell again, and scrolling does this for every line.
void TXtermScreen::BlankSpan(TXtermRow& Line, int First, int Count) {
  const TXtermCell blank = Blank();
  if (FBlankRow.size() != static_cast<std::size_t>(FCols) || FBlankRow.front() != blank)
    FBlankRow.assign(static_cast<std::size_t>(FCols), blank);
  std::copy_n(FBlankRow.begin(), Count, Line.begin() + First);
}

void TXtermScreen::MarkRows(int Top, int Bottom) { Dirty.AddRows(Top, Bottom, FCols); }

// Changes made before the move go up with their rows; those that left the
// screen are gone. The rows that came in are new.
void TXtermScreen::MarkScrolledUp(int N) {
  ScrolledUp = std::min(ScrolledUp + N, FRows);
  Dirty.MoveUp(N);
  MarkRows(FRows - N, FRows - 1);
}

// Writing into either half of a wide character blanks the other half.
void TXtermScreen::SplitWideAt(int R, int C) {
  TXtermRow& line = LineAt(R);
  const auto c = static_cast<std::size_t>(C);
  if ((line[c].Flags & kXWideTail) != 0 && C > 0) {
    line[c - 1] = Blank();
    Dirty.Add(R, C - 1);
  }
  if ((line[c].Flags & kXWide) != 0 && C + 1 < FCols) {
    line[c + 1] = Blank();
    Dirty.Add(R, C + 1);
  }
}

// A wide character whose second half is at C, cut there by an insertion or
// deletion, is erased whole.
void TXtermScreen::EraseTailAt(int R, int C) {
  if ((LineAt(R)[static_cast<std::size_t>(C)].Flags & kXWideTail) == 0 || C == 0) return;
  EraseCells(R, C - 1, C);
}

void TXtermScreen::PutCell(char32_t Ch, int Width) {
  if (FPendingWrap && FModes.AutoWrap) WrapNow();
  const int cols = RowCols(FCursor.Row);
  FCursor.Col = std::min(FCursor.Col, cols - 1);  // from a longer row above or below
  // A wide character in the last column wraps first; without automatic
  // margins, or on a one-column screen, it is not shown at all.
  if (Width == 2 && FCursor.Col == cols - 1) {
    if (!FModes.AutoWrap || cols < 2) return;
    EraseCells(FCursor.Row, FCursor.Col, FCursor.Col);
    WrapNow();
  }
  if (FModes.Insert) InsertBlanks(Width);
  const int r = FCursor.Row;
  const int c = FCursor.Col;
  SplitWideAt(r, c);
  TXtermRow& line = LineAt(r);
  TXtermCell cell = FPen;
  cell.Ch = Ch;
  if (Width == 2) {
    SplitWideAt(r, c + 1);
    cell.Flags |= kXWide;
    line[static_cast<std::size_t>(c + 1)] = {0, cell.Fg, cell.Bg, static_cast<std::uint8_t>(FPen.Flags | kXWideTail)};
    Dirty.Add(r, c + 1);
  }
  line[static_cast<std::size_t>(c)] = cell;
  Dirty.Add(r, c);
  const int next = c + Width;
  if (next < cols) {
    FCursor.Col = next;
  } else {
    FCursor.Col = cols - 1;
    FPendingWrap = FModes.AutoWrap;
  }
}

void TXtermScreen::WrapNow() {
  FPendingWrap = false;
  FCursor.Col = 0;
  LineFeed();
}

// Below the region the cursor moves down freely and never scrolls.
void TXtermScreen::LineFeed() {
  FPendingWrap = false;
  if (FCursor.Row == FRegion.Bottom) {
    KeepScrolledOff();
    ScrollUp(FRegion.Top, FRegion.Bottom, 1);
  } else if (FCursor.Row < FRows - 1) {
    ++FCursor.Row;
  }
}

// The alternate screen and a partial region keep nothing.
void TXtermScreen::KeepScrolledOff() {
  if (FLines == &FMain && FRegion.Top == 0 && FRegion.Bottom == FRows - 1) FHistory.Push(LineAt(0));
}

void TXtermScreen::ReverseIndex() {
  FPendingWrap = false;
  if (FCursor.Row == FRegion.Top) {
    ScrollDown(FRegion.Top, FRegion.Bottom, 1);
  } else if (FCursor.Row > 0) {
    --FCursor.Row;
  }
}

void TXtermScreen::ScrollUp(int Top, int Bottom, int N) {
  N = std::clamp(N, 0, Bottom - Top + 1);
  auto first = FLines->begin() + Top;
  auto last = FLines->begin() + Bottom + 1;
  std::rotate(first, first + N, last);
  if (FAnySized) ShiftLineSizes(Top, Bottom, N);
  for (int r = Bottom - N + 1; r <= Bottom; ++r) BlankSpan(LineAt(r), 0, FCols);
  if (Top == 0 && Bottom == FRows - 1 && N > 0 && N < FRows)
    MarkScrolledUp(N);
  else
    MarkRows(Top, Bottom);
}

void TXtermScreen::ScrollDown(int Top, int Bottom, int N) {
  N = std::clamp(N, 0, Bottom - Top + 1);
  auto first = FLines->begin() + Top;
  auto last = FLines->begin() + Bottom + 1;
  std::rotate(first, last - N, last);
  if (FAnySized) ShiftLineSizes(Top, Bottom, -N);
  for (int r = Top; r < Top + N; ++r) BlankSpan(LineAt(r), 0, FCols);
  MarkRows(Top, Bottom);
}

void TXtermScreen::EraseCells(int R, int First, int Last) {
  First = std::max(First, 0);
  Last = std::min(Last, FCols - 1);
  if (First > Last) return;
  SplitWideAt(R, First);
  SplitWideAt(R, Last);
  TXtermRow& line = LineAt(R);
  BlankSpan(line, First, Last - First + 1);
  Dirty.Add(R, First, Last);
}

// Rows erased whole become single-width again.
void TXtermScreen::EraseRows(int First, int Last) {
  for (int r = std::max(First, 0); r <= std::min(Last, FRows - 1); ++r) EraseCells(r, 0, FCols - 1);
  ResetLineSizes(First, Last);
}

void TXtermScreen::InsertBlanks(int N) {
  const int c = FCursor.Col;
  N = std::clamp(N, 0, FCols - c);
  EraseTailAt(FCursor.Row, c);  // a character starting here moves whole
  TXtermRow& line = LineAt(FCursor.Row);
  std::rotate(line.begin() + c, line.end() - N, line.end());
  std::fill(line.begin() + c, line.begin() + c + N, Blank());
  if ((line.back().Flags & kXWide) != 0) line.back() = Blank();  // pushed half off the edge
  Dirty.Add(FCursor.Row, c, FCols - 1);
}

void TXtermScreen::DeleteCells(int N) {
  const int c = FCursor.Col;
  N = std::clamp(N, 0, FCols - c);
  SplitWideAt(FCursor.Row, c);
  if (c + N < FCols) EraseTailAt(FCursor.Row, c + N);
  TXtermRow& line = LineAt(FCursor.Row);
  std::rotate(line.begin() + c, line.begin() + c + N, line.end());
  std::fill(line.end() - N, line.end(), Blank());
  Dirty.Add(FCursor.Row, c, FCols - 1);
}

// Lines are inserted and deleted only inside the scrolling region.
void TXtermScreen::InsertLines(int N) {
  if (FCursor.Row < FRegion.Top || FCursor.Row > FRegion.Bottom) return;
  ScrollDown(FCursor.Row, FRegion.Bottom, N);
  FCursor.Col = 0;
  FPendingWrap = false;
}

void TXtermScreen::DeleteLines(int N) {
  if (FCursor.Row < FRegion.Top || FCursor.Row > FRegion.Bottom) return;
  ScrollUp(FCursor.Row, FRegion.Bottom, N);
  FCursor.Col = 0;
  FPendingWrap = false;
}

void TXtermScreen::MoveTo(int R, int C) {
  R = std::clamp(R, 0, FRows - 1);
  FCursor = {R, std::clamp(C, 0, RowCols(R) - 1)};
  FPendingWrap = false;
}

// Absolute positions count from the region's top in origin mode, and the
// cursor then stays inside the region.
void TXtermScreen::MoveToOrigin(int R, int C) {
  if (!FModes.Origin) return MoveTo(R, C);
  MoveTo(std::clamp(R + FRegion.Top, FRegion.Top, FRegion.Bottom), C);
}

// A tab never leaves the last column, so a wrap pending there stays pending.
void TXtermScreen::Tab(int N) {
  const int last = RowCols(FCursor.Row) - 1;
  int c = FCursor.Col;
  for (; N > 0 && c < last; --N) do
      ++c;
    while (c < last && !FTabs[static_cast<std::size_t>(c)]);
  FCursor.Col = c;
}

void TXtermScreen::BackTab(int N) {
  FPendingWrap = false;
  int c = FCursor.Col;
  for (; N > 0 && c > 0; --N) do
      --c;
    while (c > 0 && !FTabs[static_cast<std::size_t>(c)]);
  FCursor.Col = c;
}

void TXtermScreen::ResetTabs() {
  FTabs.assign(static_cast<std::size_t>(FCols), false);
  for (int c = 8; c < FCols; c += 8) FTabs[static_cast<std::size_t>(c)] = true;
}

// Each screen, main and alternate, keeps its own saved cursor.
void TXtermScreen::SaveCursor() {
  FSaved[FModes.AltScreen ? 1 : 0] = {FCursor, FPen, FModes.Origin, FPendingWrap, {FG[0], FG[1]}, FShift};
}

void TXtermScreen::RestoreCursor() {
  const TSaved& saved = FSaved[FModes.AltScreen ? 1 : 0];
  FPen = saved.Pen;
  FModes.Origin = saved.Origin;
  FG[0] = saved.G[0];
  FG[1] = saved.G[1];
  FShift = saved.Shift;
  MoveTo(saved.Cursor.Row, saved.Cursor.Col);
  FPendingWrap = saved.PendingWrap;
}

void TXtermScreen::SwitchScreen(bool Alternate) {
  if (FModes.AltScreen == Alternate) return;
  FModes.AltScreen = Alternate;
  FLines = Alternate ? &FAlternate : &FMain;
  MarkRows(0, FRows - 1);
}

// DECALN: the screen full of E, the region the whole screen, the cursor home.
void TXtermScreen::AlignmentTest() {
  for (TXtermRow& line : *FLines) std::fill(line.begin(), line.end(), TXtermCell{U'E'});
  ResetLineSizes(0, FRows - 1);
  FRegion = {0, FRows - 1};
  FModes.Origin = false;
  MoveTo(0, 0);
  MarkRows(0, FRows - 1);
}

// DECCOLM, where mode 40 allows it: 132 or 80 columns, the screen cleared,
// the region the whole screen, the cursor home. The owner is told, so that
// the window shows the new width.
void TXtermScreen::ColumnMode(int Cols) {
  if (Cols != FCols) {
    Resize(FRows, Cols);
    if (FHooks.Resized) FHooks.Resized();
  }
  FRegion = {0, FRows - 1};
  EraseRows(0, FRows - 1);
  MoveToOrigin(0, 0);
}

// DECSTR: modes, pen, character sets and region back to their defaults; the
// text stays.
void TXtermScreen::SoftReset() {
  FModes.CursorVisible = true;
  FModes.Insert = false;
  FModes.Origin = false;
  FModes.AutoWrap = true;
  FModes.CursorKeysApp = false;
  FModes.KeypadApp = false;
  FRegion = {0, FRows - 1};
  FPen = {};
  FG[0] = FG[1] = TXtermCharset::Ascii;
  FShift = 0;
  FSaved[FModes.AltScreen ? 1 : 0] = {};
  FPendingWrap = false;
}

}  // namespace corvane
