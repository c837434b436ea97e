#include <algorithm>
#include <cstdio>
#include <string>

#include "emulator/debug_out.h"
#include "emulator/screen.h"
#include "platform/diagnostics.h"

namespace corvane {
namespace {

bool IsDesignator(std::uint8_t Ch) { return Ch >= '(' && Ch <= '+'; }

bool EndsAtOnce(std::uint8_t Ch) {
  switch (Ch) {
    case '7':
    case '8':
    case '<':
    case '=':
    case '>':
    case 'D':
    case 'E':
    case 'H':
    case 'M':
      return true;
    default:
      return false;
  }
}

// No move or edit reaches further than this (forward with autowrap takes the
// columns off once), so larger counts act the same; capping them keeps the
// cursor sums far from overflow.
constexpr int kCountLimit = 2 * kLineCells;

// A count of 0 means 1 for the movement and editing commands.
int Count(int N) { return std::clamp(N, 1, kCountLimit); }

std::string Hex2(int Value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(Value));
  return text;
}

}  // namespace

// Raw bytes, and bytes of an escape sequence, are taken untranslated.
void TScreen::FeedUninterpreted(std::uint8_t Ch) {
  if (RawCount > 0) {
    if (RawCount % 2 == 1) PutChar(Ch);
    --RawCount;
  } else {
    CollectSeq(Ch);
  }
}

void TScreen::CollectSeq(std::uint8_t Ch) {
  const bool final = SeqLen == 0 ? EndsAtOnce(Ch) || !(IsParamChar(Ch) || IsDesignator(Ch) || Ch == '[')
                                 : (SeqLen == 1 && IsDesignator(SeqBuf[0])) || !IsParamChar(Ch);
  if (final) {
    ExecSequence(Ch);
    SeqLen = 0;
    InSeq = false;
    return;
  }
  SeqBuf[SeqLen++] = Ch;
  if (SeqLen == kSeqCapacity) {
    Alert();
    SeqLen = 0;
    InSeq = false;
  }
}

void TScreen::ExecSequence(std::uint8_t Final) {
  if (SeqLen == 0)
    ExecEscape(Final);
  else if (SeqBuf[0] != '[')
    ExecIntermediate(Final);
  else
    ExecCsi(Final);
}

void TScreen::ExecEscape(std::uint8_t Final) {
  switch (Final) {
    case '7':  // DECSC save cursor
      SaveCursor();
      break;
    case '8':  // DECRC restore cursor
      RestoreCursor();
      break;
    case 'M':  // RI reverse index
      ReverseIndex();
      break;
    case '<':
    case '=':
    case '>':
    case 'H':  // DECANM DECKPAM DECKPNM HTS
      break;
    case 'D':
    case 'E':  // IND NEL
      ReportUnimplemented(Final);
      break;
    default:
      ReportInvalid(Final);
      PutChar(Final);
  }
}

void TScreen::ExecIntermediate(std::uint8_t Final) {
  switch (SeqBuf[0]) {
    case ' ':  // S7C1T
      if (Final != 'F') ReportInvalid(Final);
      break;
    case '(':  // SCS G0: line drawing or ASCII
      if (Final == '0' || Final == 'B') {
        XlatTable = Final == '0' ? &GraphicsTable : &AsciiTable;
        XlatIn = XlatDefault;
      } else {
        ReportInvalid(Final);
      }
      break;
    case ')':
    case '*':
    case '+':  // SCS G1-G3
      break;
    default:
      ReportInvalid(Final);
  }
}

void TScreen::ExecCsi(std::uint8_t Final) {
  int pos = 1;
  const int n = ParseParam(pos);
  switch (Final) {
    case '@':  // ICH insert characters
      InsertChars(Count(n));
      break;
    case 'A':  // CUU cursor up
      Row = std::max(Row - Count(n), 0);
      break;
    case 'B':  // CUD cursor down
      Row = std::min(Row + Count(n), FRows - 1);
      break;
    case 'C':  // CUF cursor forward
      CursorForward(Count(n));
      break;
    case 'D':  // CUB cursor back
      Col = std::max(Col - Count(n), 0);
      break;
    case 'H':
    case 'f':  // CUP HVP cursor position
      CursorPosition();
      break;
    case 'I':  // private: translation, raw, key report
      PrivateCommand(Final);
      break;
    case 'J':  // ED erase in display
      EraseInDisplay(Final);
      break;
    case 'K':  // EL erase in line
      EraseToEndOfLine();
      break;
    case 'L':  // IL insert lines
      InsertLines(Count(n));
      break;
    case 'M':  // DL delete lines
      DeleteLines(Count(n));
      break;
    case 'P':  // DCH delete characters
      DeleteChars(Count(n));
      break;
    case 'S':  // SU scroll up
      ScrollUp();
      break;
    case 'T':
    case 'n':  // SD DSR
      ReportUnimplemented(Final);
      break;
    case 'g':
    case '>':  // TBC DA2
      break;
    case 'h':
    case 'l':  // SM RM, DECSET DECRST
      SetMode(Final);
      break;
    case 'm':  // SGR select graphic rendition
      SelectGraphicRendition(Final);
      break;
    case 'r':  // DECSTBM set scrolling region
      SetRegion();
      break;
    case 's':  // SCOSC save cursor
      SaveCursor();
      break;
    case 'u':  // SCORC restore cursor
      RestoreCursor();
      break;
    default:
      ReportInvalid(Final);
  }
}

int TScreen::ParseParam(int& Pos) const {
  while (Pos < SeqLen && SeqBuf[Pos] == ' ') ++Pos;
  int value = 0;
  while (Pos < SeqLen && SeqBuf[Pos] >= '0' && SeqBuf[Pos] <= '9') {
    const int digit = SeqBuf[Pos] - '0';
    value = value > (kParamLimit - digit) / 10 ? kParamLimit : value * 10 + digit;
    ++Pos;
  }
  return value;
}

bool TScreen::SemicolonAt(int Pos) const { return Pos < SeqLen && SeqBuf[Pos] == ';'; }

std::string_view TScreen::Sequence() const {
  return {reinterpret_cast<const char*>(SeqBuf.data()), static_cast<std::size_t>(SeqLen)};
}

void TScreen::CursorForward(int N) {
  Col += N;
  if (Col >= FCols) {
    if (AutoWrap) {
      Col -= FCols;
      Row = std::min(Row + 1, FRows - 1);
    } else {
      Col = FCols - 1;
    }
  }
  Col = std::min(Col, kMaxCols);
}

// ESC [ r ; c H: the column exists only when a semicolon follows the row.
void TScreen::CursorPosition() {
  int pos = 1;
  const int row = ParseParam(pos);
  while (pos < SeqLen && SeqBuf[pos] == ' ') ++pos;
  int col = 1;
  if (SemicolonAt(pos)) col = ParseParam(++pos);
  SetCursor(col - 1, row - 1);
}

void TScreen::EraseInDisplay(std::uint8_t Final) {
  int pos = 1;
  switch (ParseParam(pos)) {
    case 0:
      Attr = kDefaultAttr;
      EraseBelow();
      break;
    case 1:
      BlankRows(0, Row, Attr);
      MarkDirty(0, 0);
      MarkDirty(Row, FCols);
      break;
    case 2:
      ClearScreen();
      break;
    default:
      ReportInvalid(Final);
  }
}

void TScreen::InsertLines(int N) {
  Col = 0;
  if (Row + N > RegionBottom) {
    BlankRows(Row, RegionBottom, Attr);
  } else {
    auto first = Lines.begin() + Row;
    auto last = Lines.begin() + RegionBottom + 1;
    std::rotate(first, last - N, last);
    BlankRows(Row, Row + N - 1, Attr);
  }
  RepaintAll = true;
}

void TScreen::DeleteLines(int N) {
  RepaintAll = true;
  Col = 0;
  if (Row + N > RegionBottom) {
    BlankRows(Row, RegionBottom, Attr);
  } else {
    auto first = Lines.begin() + Row;
    auto last = Lines.begin() + RegionBottom + 1;
    std::rotate(first, first + N, last);
    BlankRows(RegionBottom - N + 1, RegionBottom, Attr);
  }
}

void TScreen::InsertChars(int N) {
  if (FCols - Col - N <= 0) {
    EraseToEndOfLine();
    return;
  }
  TLine& line = *Lines[Row];
  for (int c = FCols - 1; c >= Col + N; --c) {
    line.Chars[c] = line.Chars[c - N];
    line.Attrs[c] = line.Attrs[c - N];
  }
  for (int c = Col; c < Col + N; ++c) {
    line.Chars[c] = 0x20;
    line.Attrs[c] = Attr;
  }
  MarkDirty(Row, Col);
  MarkDirty(Row, FCols - 1);
}

void TScreen::DeleteChars(int N) {
  TLine& line = *Lines[Row];
  for (int c = Col + N; c < FCols; ++c) {
    line.Chars[c - N] = line.Chars[c];
    line.Attrs[c - N] = line.Attrs[c];
  }
  for (int c = std::max(Col, FCols - N); c < FCols; ++c) {
    line.Chars[c] = 0x20;
    line.Attrs[c] = kDefaultAttr;
  }
  MarkDirty(Row, Col);
  MarkDirty(Row, FCols);
}

// ESC [ t ; b r: a region has at least two rows within the screen, anything
// else (including a single parameter) means the whole screen.
void TScreen::SetRegion() {
  int pos = 1;
  const int top = ParseParam(pos) - 1;
  while (pos < SeqLen && SeqBuf[pos] == ' ') ++pos;
  int bottom = 0;
  if (SemicolonAt(pos)) bottom = ParseParam(++pos) - 1;
  if (top >= 0 && top < bottom && bottom < FRows) {
    RegionTop = top;
    RegionBottom = bottom;
  } else {
    RegionTop = 0;
    RegionBottom = FRows - 1;
  }
}

void TScreen::SetMode(std::uint8_t Final) {
  if (SeqLen < 2 || SeqBuf[1] != '?') {
    ReportUnimplemented(Final);
    return;
  }
  int pos = 2;
  const bool set = Final == 'h';
  switch (ParseParam(pos)) {
    case 1:
    case 4:  // DECCKM DECSCLM
      break;
    case 7:  // DECAWM autowrap
      AutoWrap = set;
      break;
    case 25:  // DECTCEM cursor visible
      CursorHidden = !set;
      if (OnCursorVisibility) OnCursorVisibility(*this);
      break;
    default:
      ReportUnimplemented(Final);
  }
}

void TScreen::SelectGraphicRendition(std::uint8_t Final) {
  if (SeqLen == 1) {
    Attr = kDefaultAttr;
    Reverse = false;
    return;
  }
  const bool wasReverse = Reverse;
  bool sawReset = false;
  int pos = 1;
  while (pos < SeqLen) {
    const std::uint8_t ch = SeqBuf[pos];
    if (ch < '0' || ch > '9') {  // space, semicolon or question mark
      ++pos;
      continue;
    }
    const int p = ParseParam(pos);
    sawReset |= p == 0 || p == 27;
    if (!ApplyRendition(p)) ReportInvalid(Final);
  }
  // Reverse video exchanges the colour fields; the bright bits stay put.
  if (Reverse && (!wasReverse || sawReset))
    Attr = static_cast<std::uint8_t>((Attr & 0x88) | ((Attr & 0x07) << 4) | ((Attr >> 4) & 0x07));
}

bool TScreen::ApplyRendition(int P) {
  switch (P) {
    case 0:
    case 27:
      Attr = kDefaultAttr;
      Reverse = false;
      return true;
    case 1:
      Attr |= 0x08;
      return true;
    case 4:
      return true;
    case 5:
      Attr |= 0x80;
      return true;
    case 7:
      Reverse = true;
      return true;
    case 8:
      Attr = 0;
      return true;
    case 10:
      AltFont = false;
      return true;
    case 12:
      AltFont = true;
      return true;
    case 22:
      Attr &= 0xF7;
      return true;
    case 30:
    case 31:
    case 32:
    case 33:
    case 34:
    case 35:
    case 36:
    case 37:
      Attr = static_cast<std::uint8_t>((Attr & 0xF8) | (P - 30));
      return true;
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
    case 45:
    case 46:
    case 47:
      Attr = static_cast<std::uint8_t>((Attr & 0x8F) | ((P - 40) << 4));
      return true;
    default:
      return false;
  }
}

// ESC [ p ; ... I controls translation, raw bytes and the special-key report.
void TScreen::PrivateCommand(std::uint8_t Final) {
  int pos = 1;
  const int p = ParseParam(pos);
  switch (p) {
    case 0:
      XlatIn = true;
      break;
    case 1:
      RawCount = SemicolonAt(pos) ? ParseParam(++pos) : 1;
      break;
    case 2:
      break;
    case 3: {
      int key[4] = {0, 0, 0, 0};
      for (int& value : key) {
        if (!SemicolonAt(pos)) break;
        value = ParseParam(++pos);
      }
      Report("Special key " + Hex2(key[1]) + Hex2(key[0]) + " " + Hex2(key[3]) + Hex2(key[2]));
      break;
    }
    case 4:
      XlatIn = false;
      break;
    default:
      ReportUnimplemented(Final);
  }
}

void TScreen::Alert() {
  if (FHooks.Alert)
    FHooks.Alert();
  else
    platform::AlertSound();
}

void TScreen::Report(std::string_view Message) {
  std::uint32_t& counter = FHooks.Counter != nullptr ? *FHooks.Counter : DebugCount;
  if (FHooks.Diagnostic)
    platform::WriteNumbered(counter, Message, FHooks.Diagnostic);
  else
    platform::WriteNumbered(counter, Message, platform::WriteDiagnostic);
}

void TScreen::ReportUnimplemented(std::uint8_t Final) {
  Report("Unimplemented Escape Sequence: " + std::string(Sequence()) + static_cast<char>(Final) + "\r\n");
}

void TScreen::ReportInvalid(std::uint8_t Final) {
  Report("Invalid Escape Sequence: " + std::string(Sequence()) + static_cast<char>(Final) + "\r\n");
}

}  // namespace corvane
