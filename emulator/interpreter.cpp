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
  const bool final = FSeqLen == 0 ? EndsAtOnce(Ch) || !(IsParamChar(Ch) || IsDesignator(Ch) || Ch == '[')
                                  : (FSeqLen == 1 && IsDesignator(FSeqBuf[0])) || !IsParamChar(Ch);
  if (final) {
    ExecSequence(Ch);
    FSeqLen = 0;
    FInSeq = false;
    return;
  }
  FSeqBuf[FSeqLen++] = Ch;
  if (FSeqLen == kSeqCapacity) {
    Alert();
    FSeqLen = 0;
    FInSeq = false;
  }
}

void TScreen::ExecSequence(std::uint8_t Final) {
  if (FSeqLen == 0)
    ExecEscape(Final);
  else if (FSeqBuf[0] != '[')
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
  switch (FSeqBuf[0]) {
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
      Cursor.Row = std::max(Cursor.Row - Count(n), 0);
      break;
    case 'B':  // CUD cursor down
      Cursor.Row = std::min(Cursor.Row + Count(n), FRows - 1);
      break;
    case 'C':  // CUF cursor forward
      CursorForward(Count(n));
      break;
    case 'D':  // CUB cursor back
      Cursor.Col = std::max(Cursor.Col - Count(n), 0);
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

int TScreen::SkipSpaces(int Pos) const {
  while (Pos < FSeqLen && FSeqBuf[Pos] == ' ') ++Pos;
  return Pos;
}

int TScreen::ParseParam(int& Pos) const {
  Pos = SkipSpaces(Pos);
  int value = 0;
  while (Pos < FSeqLen && FSeqBuf[Pos] >= '0' && FSeqBuf[Pos] <= '9') {
    const int digit = FSeqBuf[Pos] - '0';
    value = value > (kParamLimit - digit) / 10 ? kParamLimit : value * 10 + digit;
    ++Pos;
  }
  return value;
}

bool TScreen::SemicolonAt(int Pos) const { return Pos < FSeqLen && FSeqBuf[Pos] == ';'; }

void TScreen::CursorForward(int N) {
  Cursor.Col += N;
  if (Cursor.Col >= FCols) {
    if (AutoWrap) {
      Cursor.Col -= FCols;
      Cursor.Row = std::min(Cursor.Row + 1, FRows - 1);
    } else {
      Cursor.Col = FCols - 1;
    }
  }
  Cursor.Col = std::min(Cursor.Col, kMaxCols);
}

// ESC [ r ; c H: the column exists only when a semicolon follows the row.
void TScreen::CursorPosition() {
  int pos = 1;
  const int row = ParseParam(pos);
  pos = SkipSpaces(pos);
  int col = 1;
  if (SemicolonAt(pos)) col = ParseParam(++pos);
  SetCursor(row - 1, col - 1);
}

void TScreen::EraseInDisplay(std::uint8_t Final) {
  int pos = 1;
  switch (ParseParam(pos)) {
    case 0:
      Attr = kDefaultAttr;
      EraseBelow();
      break;
    case 1:
      BlankRows(0, Cursor.Row, Attr);
      MarkDirty(0, 0);
      MarkDirty(Cursor.Row, FCols);
      break;
    case 2:
      ClearScreen();
      break;
    default:
      ReportInvalid(Final);
  }
}

void TScreen::InsertLines(int N) {
  Cursor.Col = 0;
  if (Cursor.Row + N > Region.Bottom) {
    BlankRows(Cursor.Row, Region.Bottom, Attr);
  } else {
    auto first = Lines.begin() + Cursor.Row;
    auto last = Lines.begin() + Region.Bottom + 1;
    std::rotate(first, last - N, last);
    BlankRows(Cursor.Row, Cursor.Row + N - 1, Attr);
  }
  RepaintEverything();
}

void TScreen::DeleteLines(int N) {
  RepaintEverything();
  Cursor.Col = 0;
  if (Cursor.Row + N > Region.Bottom) {
    BlankRows(Cursor.Row, Region.Bottom, Attr);
  } else {
    auto first = Lines.begin() + Cursor.Row;
    auto last = Lines.begin() + Region.Bottom + 1;
    std::rotate(first, first + N, last);
    BlankRows(Region.Bottom - N + 1, Region.Bottom, Attr);
  }
}

void TScreen::InsertChars(int N) {
  if (FCols - Cursor.Col - N <= 0) {
    EraseToEndOfLine();
    return;
  }
  TLine& line = *Lines[Cursor.Row];
  for (int c = FCols - 1; c >= Cursor.Col + N; --c) {
    line.Chars[c] = line.Chars[c - N];
    line.Attrs[c] = line.Attrs[c - N];
  }
  for (int c = Cursor.Col; c < Cursor.Col + N; ++c) {
    line.Chars[c] = 0x20;
    line.Attrs[c] = Attr;
  }
  MarkDirty(Cursor.Row, Cursor.Col);
  MarkDirty(Cursor.Row, FCols - 1);
}

void TScreen::DeleteChars(int N) {
  TLine& line = *Lines[Cursor.Row];
  for (int c = Cursor.Col + N; c < FCols; ++c) {
    line.Chars[c - N] = line.Chars[c];
    line.Attrs[c - N] = line.Attrs[c];
  }
  for (int c = std::max(Cursor.Col, FCols - N); c < FCols; ++c) {
    line.Chars[c] = 0x20;
    line.Attrs[c] = kDefaultAttr;
  }
  MarkDirty(Cursor.Row, Cursor.Col);
  MarkDirty(Cursor.Row, FCols);
}

// ESC [ t ; b r: a region has at least two rows within the screen, anything
// else (including a single parameter) means the whole screen.
void TScreen::SetRegion() {
  int pos = 1;
  const int top = ParseParam(pos) - 1;
  pos = SkipSpaces(pos);
  int bottom = 0;
  if (SemicolonAt(pos)) bottom = ParseParam(++pos) - 1;
  const bool valid = top >= 0 && top < bottom && bottom < FRows;
  Region = valid ? TRowSpan{top, bottom} : TRowSpan{0, FRows - 1};
}

void TScreen::SetMode(std::uint8_t Final) {
  if (FSeqLen < 2 || FSeqBuf[1] != '?') {
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
  if (FSeqLen == 1) {
    Attr = kDefaultAttr;
    Reverse = false;
    return;
  }
  const bool wasReverse = Reverse;
  bool sawReset = false;
  int pos = 1;
  while (pos < FSeqLen) {
    const std::uint8_t ch = FSeqBuf[pos];
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
  if (P >= 30 && P <= 37) {  // foreground colour
    Attr = static_cast<std::uint8_t>((Attr & 0xF8) | (P - 30));
    return true;
  }
  if (P >= 40 && P <= 47) {  // background colour
    Attr = static_cast<std::uint8_t>((Attr & 0x8F) | ((P - 40) << 4));
    return true;
  }
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
  Report("Unimplemented Escape Sequence: " + std::string(SeqBuf()) + static_cast<char>(Final) + "\r\n");
}

void TScreen::ReportInvalid(std::uint8_t Final) {
  Report("Invalid Escape Sequence: " + std::string(SeqBuf()) + static_cast<char>(Final) + "\r\n");
}

}  // namespace corvane
