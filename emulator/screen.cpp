#include "emulator/screen.h"

#include <algorithm>

#include "platform/diagnostics.h"

namespace corvane {

void TLine::Blank(std::uint8_t A) {
  Chars.fill(0x20);
  Attrs.fill(A);
}

TScreen::TScreen() {
  for (int r = 0; r < kLineCount; ++r) Lines[r] = &FLineStore[r];
}

TScreen::~TScreen() = default;

// A received byte after translation that is not a character inside the margin.
void TScreen::ActOn(std::uint8_t Ch) {
  switch (Ch) {
    case 0x00:  // NUL
      break;
    case 0x07:  // BEL
      Alert();
      break;
    case 0x08:  // BS
      if (Cursor.Col > 0) --Cursor.Col;
      break;
    case 0x09:  // HT
      Cursor.Col = std::min((Cursor.Col / 8 + 1) * 8, kMaxCols);
      break;
    case 0x0A:  // LF
      LineFeed();
      if (AutoCR) Cursor.Col = 0;
      break;
    case 0x0D:  // CR
      Cursor.Col = 0;
      if (AutoLF) LineFeed();
      break;
    case 0x0E:  // SO: line drawing
      XlatTable = &GraphicsTable;
      break;
    case 0x0F:  // SI: ASCII
      XlatTable = &AsciiTable;
      break;
    case 0x1B:  // ESC
      FSeqLen = 0;
      FInSeq = true;
      break;
    default:
      PutChar(Ch);
  }
}

void TScreen::FeedText(std::string_view S) {
  for (char ch : S) FeedChar(static_cast<std::uint8_t>(ch));
}

void TScreen::SetRows(int Value) {
  Value = std::clamp(Value, 1, kMaxRows);
  if (Value == FRows) return;
  FRows = Value;
  Region = {0, FRows - 1};
  Cursor.Row = std::min(Cursor.Row, FRows - 1);
}

void TScreen::SetCols(int Value) {
  Value = std::clamp(Value, 1, kMaxCols);
  if (Value == FCols) return;
  FCols = Value;
  Cursor.Col = std::min(Cursor.Col, FCols - 1);
}

void TScreen::SetCursor(int ARow, int ACol) {
  Cursor.Col = std::clamp(ACol, 0, FCols - 1);
  Cursor.Row = std::clamp(ARow, 0, FRows - 1);
}

void TScreen::BlankRows(int First, int Last, std::uint8_t A) {
  for (int r = First; r <= Last; ++r) Lines[r]->Blank(A);
}

void TScreen::ClearScreen() {
  BlankRows(0, FRows, Attr);
  Cursor = {};
  RepaintEverything();
}

void TScreen::RepaintEverything() {
  RepaintAll = true;
  ScrolledUp = 0;
  FMarking = false;
}

void TScreen::ResetDirty() {
  Dirty = {};
  RepaintAll = false;
  ScrolledUp = 0;
  FMarking = true;
}

void TScreen::PutChar(std::uint8_t Ch) {
  if (Cursor.Col >= FCols && AutoWrap) {
    Cursor.Col = 0;
    if (++Cursor.Row >= FRows) {
      Cursor.Row = FRows - 1;
      ScrollUp();
    }
  }
  if (AltFont) Ch |= 0x80;
  TLine& line = *Lines[Cursor.Row];
  line.Chars[Cursor.Col] = Ch;
  line.Attrs[Cursor.Col] = Attr;
  MarkDirty(Cursor.Row, Cursor.Col);
  if (Cursor.Col < kMaxCols) ++Cursor.Col;
}

void TScreen::LineFeed() {
  if (++Cursor.Row > Region.Bottom) {
    Cursor.Row = Region.Bottom;
    ScrollUp();
  }
}

void TScreen::ReverseIndex() {
  if (--Cursor.Row < Region.Top) {
    Cursor.Row = Region.Top;
    ScrollDown();
  }
}

// A scroll of the whole screen is counted while it is the only reason for
// the full repaint; anything else makes it a plain full repaint.
void TScreen::ScrollUp() {
  const bool whole = Region.Top == 0 && Region.Bottom == FRows - 1;
  if (whole) History.Push(*Lines[0]);
  auto first = Lines.begin() + Region.Top;
  auto last = Lines.begin() + Region.Bottom + 1;
  std::rotate(first, first + 1, last);
  Lines[Region.Bottom]->Blank(kDefaultAttr);
  // Once every row has moved there are no pixels left to move, and text
  // need no longer mark its cells: a flood goes back to the plain repaint.
  if (!whole || (RepaintAll && ScrolledUp == 0) || ScrolledUp + 1 >= FRows) return RepaintEverything();
  RepaintAll = true;
  ++ScrolledUp;
  Dirty.MoveUp(1);
  MarkDirty(Region.Bottom, 0);
  MarkDirty(Region.Bottom, FCols);
}

void TScreen::ScrollDown() {
  auto first = Lines.begin() + Region.Top;
  auto last = Lines.begin() + Region.Bottom + 1;
  std::rotate(first, last - 1, last);
  Lines[Region.Top]->Blank(kDefaultAttr);
  RepaintEverything();
}

void TScreen::EraseToEndOfLine() {
  TLine& line = *Lines[Cursor.Row];
  for (int c = Cursor.Col; c < FCols; ++c) {
    line.Chars[c] = 0x20;
    line.Attrs[c] = Attr;
  }
  MarkDirty(Cursor.Row, Cursor.Col);
  MarkDirty(Cursor.Row, FCols);
}

void TScreen::EraseBelow() {
  EraseToEndOfLine();
  BlankRows(Cursor.Row + 1, FRows, Attr);
  if (Cursor.Row == 0) {
    RepaintEverything();
  } else {
    MarkDirty(Cursor.Row, 0);
    MarkDirty(FRows, FCols);
  }
}

void TScreen::SaveCursor() { Saved = Cursor; }

void TScreen::RestoreCursor() {
  if (Saved.Row == -1)
    SetCursor(0, 0);
  else
    SetCursor(Saved.Row, Saved.Col);
  Saved = {-1, -1};
}

void TScreen::EndSequence() {
  FInSeq = false;
  FSeqLen = 0;
  RawCount = 0;
  XlatTable = &AsciiTable;
}

void TScreen::Reset() {
  EndSequence();
  Region = {0, FRows - 1};
  Attr = kDefaultAttr;
  AltFont = false;
  Reverse = false;
  Saved = {-1, -1};
  XlatIn = XlatDefault;
  AutoWrap = AutoWrapDefault;
  if (CursorHidden) {
    CursorHidden = false;
    if (OnCursorVisibility) OnCursorVisibility(*this);
  }
}

}  // namespace corvane
