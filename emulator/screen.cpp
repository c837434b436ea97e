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
      if (Col > 0) --Col;
      break;
    case 0x09:  // HT
      Col = std::min((Col / 8 + 1) * 8, kMaxCols);
      break;
    case 0x0A:  // LF
      LineFeed();
      if (AutoCR) Col = 0;
      break;
    case 0x0D:  // CR
      Col = 0;
      if (AutoLF) LineFeed();
      break;
    case 0x0E:  // SO: line drawing
      XlatTable = &GraphicsTable;
      break;
    case 0x0F:  // SI: ASCII
      XlatTable = &AsciiTable;
      break;
    case 0x1B:  // ESC
      SeqLen = 0;
      InSeq = true;
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
  RegionTop = 0;
  RegionBottom = FRows - 1;
  Row = std::min(Row, FRows - 1);
}

void TScreen::SetCols(int Value) {
  Value = std::clamp(Value, 1, kMaxCols);
  if (Value == FCols) return;
  FCols = Value;
  Col = std::min(Col, FCols - 1);
}

void TScreen::SetCursor(int ACol, int ARow) {
  Col = std::clamp(ACol, 0, FCols - 1);
  Row = std::clamp(ARow, 0, FRows - 1);
}

void TScreen::BlankRows(int First, int Last, std::uint8_t A) {
  for (int r = First; r <= Last; ++r) Lines[r]->Blank(A);
}

void TScreen::ClearScreen() {
  BlankRows(0, FRows, Attr);
  Row = 0;
  Col = 0;
  RepaintAll = true;
}

void TScreen::ResetDirty() {
  DirtyLeft = kDirtyNone;
  DirtyTop = kDirtyNone;
  DirtyRight = -1;
  DirtyBottom = -1;
  RepaintAll = false;
}

void TScreen::PutChar(std::uint8_t Ch) {
  if (Col >= FCols && AutoWrap) {
    Col = 0;
    if (++Row >= FRows) {
      Row = FRows - 1;
      ScrollUp();
    }
  }
  if (AltFont) Ch |= 0x80;
  TLine& line = *Lines[Row];
  line.Chars[Col] = Ch;
  line.Attrs[Col] = Attr;
  MarkDirty(Row, Col);
  if (Col < kMaxCols) ++Col;
}

void TScreen::LineFeed() {
  if (++Row > RegionBottom) {
    Row = RegionBottom;
    ScrollUp();
  }
}

void TScreen::ReverseIndex() {
  if (--Row < RegionTop) {
    Row = RegionTop;
    ScrollDown();
  }
}

void TScreen::ScrollUp() {
  auto first = Lines.begin() + RegionTop;
  auto last = Lines.begin() + RegionBottom + 1;
  std::rotate(first, first + 1, last);
  Lines[RegionBottom]->Blank(kDefaultAttr);
  RepaintAll = true;
}

void TScreen::ScrollDown() {
  auto first = Lines.begin() + RegionTop;
  auto last = Lines.begin() + RegionBottom + 1;
  std::rotate(first, last - 1, last);
  Lines[RegionTop]->Blank(kDefaultAttr);
  RepaintAll = true;
}

void TScreen::EraseToEndOfLine() {
  TLine& line = *Lines[Row];
  for (int c = Col; c < FCols; ++c) {
    line.Chars[c] = 0x20;
    line.Attrs[c] = Attr;
  }
  MarkDirty(Row, Col);
  MarkDirty(Row, FCols);
}

void TScreen::EraseBelow() {
  EraseToEndOfLine();
  BlankRows(Row + 1, FRows, Attr);
  if (Row == 0) {
    RepaintAll = true;
  } else {
    MarkDirty(Row, 0);
    MarkDirty(FRows, FCols);
  }
}

void TScreen::SaveCursor() {
  SavedRow = Row;
  SavedCol = Col;
}

void TScreen::RestoreCursor() {
  if (SavedRow == -1)
    SetCursor(0, 0);
  else
    SetCursor(SavedCol, SavedRow);
  SavedRow = -1;
  SavedCol = -1;
}

}  // namespace corvane
