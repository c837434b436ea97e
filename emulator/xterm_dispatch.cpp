// What each sequence the parser finds does to the Xterm screen. Every
// sequence acted on is listed in docs/sequences.md; the rest are ignored.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "emulator/char_width.h"
#include "emulator/xterm_colours.h"
#include "emulator/xterm_screen.h"

namespace corvane {
namespace {

// The DEC special graphics set: 0x5F..0x7E as line drawing and symbols.
constexpr char32_t kLineDrawing[32] = {
    U'\u00A0', U'\u25C6', U'\u2592', U'\u2409', U'\u240C', U'\u240D', U'\u240A', U'\u00B0',
    U'\u00B1', U'\u2424', U'\u240B', U'\u2518', U'\u2510', U'\u250C', U'\u2514', U'\u253C',
    U'\u23BA', U'\u23BB', U'\u2500', U'\u23BC', U'\u23BD', U'\u251C', U'\u2524', U'\u2534',
    U'\u252C', U'\u2502', U'\u2264', U'\u2265', U'\u03C0', U'\u2260', U'\u00A3', U'\u00B7',
};

std::string Decimal(int Value) { return std::to_string(Value); }

// What one SGR parameter does to the pen. A table costs the same for every
// parameter, where a chain of range tests made reset (0), the commonest,
// the dearest.
enum class TSgrOp : std::uint8_t { None, Reset, SetFlags, ClearFlags, Fg, Bg, ExtendedFg, ExtendedBg };

struct TSgrAction {
  TSgrOp Op = TSgrOp::None;
  std::uint8_t Value = 0;  // the flags or the colour number
};

constexpr int kSgrCodes = 108;  // 0..107; the codes above mean nothing here

constexpr std::array<TSgrAction, kSgrCodes> SgrActions() {
  std::array<TSgrAction, kSgrCodes> table{};
  table[0] = {TSgrOp::Reset};
  table[1] = {TSgrOp::SetFlags, kXBold};
  table[4] = {TSgrOp::SetFlags, kXUnderline};
  table[7] = {TSgrOp::SetFlags, kXReverse};
  table[8] = {TSgrOp::SetFlags, kXInvisible};
  table[22] = {TSgrOp::ClearFlags, kXBold};
  table[24] = {TSgrOp::ClearFlags, kXUnderline};
  table[27] = {TSgrOp::ClearFlags, kXReverse};
  table[28] = {TSgrOp::ClearFlags, kXInvisible};
  for (std::uint8_t colour = 0; colour < 8; ++colour) {
    table[30 + colour] = {TSgrOp::Fg, colour};
    table[40 + colour] = {TSgrOp::Bg, colour};
    table[90 + colour] = {TSgrOp::Fg, static_cast<std::uint8_t>(colour + 8)};
    table[100 + colour] = {TSgrOp::Bg, static_cast<std::uint8_t>(colour + 8)};
  }
  table[38] = {TSgrOp::ExtendedFg};
  table[39] = {TSgrOp::Fg, kXtermDefaultFg};
  table[48] = {TSgrOp::ExtendedBg};
  table[49] = {TSgrOp::Bg, kXtermDefaultBg};
  return table;
}

constexpr std::array<TSgrAction, kSgrCodes> kSgrActions = SgrActions();

}  // namespace

char32_t TXtermScreen::Mapped(char32_t Ch) const {
  switch (FG[FShift]) {
    case TXtermCharset::LineDrawing:
      return Ch >= 0x5F && Ch <= 0x7E ? kLineDrawing[Ch - 0x5F] : Ch;
    case TXtermCharset::British:
      return Ch == U'#' ? U'\u00A3' : Ch;
    default:
      return Ch;
  }
}

// The fast path: ASCII text in the ASCII set, written a row at a time.
void TXtermScreen::PrintAscii(std::string_view Text) {
  if (FG[FShift] != TXtermCharset::Ascii || FModes.Insert) {
    for (char ch : Text) Print(static_cast<char32_t>(ch));
    return;
  }
  FLastPrinted = static_cast<char32_t>(Text.back());
  const TXtermCell pen = FPen;  // a local: the cell stores could otherwise alias it
  while (!Text.empty()) {
    if (FPendingWrap) {
      if (!FModes.AutoWrap) break;
      WrapNow();
    }
    const int r = FCursor.Row;
    int cols = FCols;
    int c = FCursor.Col;
    if (FAnySized) {  // a cursor come from a longer row stands on this one's last column
      cols = RowCols(r);
      c = std::min(c, cols - 1);
    }
    const auto n = static_cast<int>(std::min<std::size_t>(Text.size(), static_cast<std::size_t>(cols - c)));
    TXtermCell* cell = LineAt(r).data() + c;
    if (((cell->Flags | cell[n - 1].Flags) & (kXWide | kXWideTail)) != 0) {
      SplitWideAt(r, c);
      SplitWideAt(r, c + n - 1);
    }
    for (int k = 0; k < n; ++k)
      cell[k] = {static_cast<unsigned char>(Text[static_cast<std::size_t>(k)]), pen.Fg, pen.Bg, pen.Flags};
    Dirty.Add(r, c, c + n - 1);
    Text.remove_prefix(static_cast<std::size_t>(n));
    if (c + n < cols) {
      FCursor.Col = c + n;
    } else {
      FCursor.Col = cols - 1;
      FPendingWrap = true;
    }
  }
  // Without automatic margins the rest overwrites the last column.
  if (!FModes.AutoWrap) {
    FPendingWrap = false;
    if (!Text.empty()) PutCell(static_cast<unsigned char>(Text.back()), 1);
  }
}

void TXtermScreen::Print(char32_t Ch) {
  if (Ch >= 0x80 && Ch <= 0x9F) return;  // C1 controls are not acted on
  Ch = Mapped(Ch);
  const int width = CharWidth(Ch);
  if (width == 0) return AttachMark(Ch);
  FLastPrinted = Ch;
  PutCell(Ch, width);
}

void TXtermScreen::Execute(std::uint8_t Control) {
  FLastPrinted = 0;
  switch (Control) {
    case 0x07:  // BEL
      if (FHooks.Bell) FHooks.Bell();
      break;
    case 0x08:  // BS
      MoveTo(FCursor.Row, FCursor.Col - 1);
      break;
    case 0x09:  // HT
      Tab(1);
      break;
    case 0x0A:  // LF
    case 0x0B:  // VT
    case 0x0C:  // FF
      LineFeed();
      if (FModes.NewLine) FCursor.Col = 0;
      break;
    case 0x0D:  // CR
      MoveTo(FCursor.Row, 0);
      break;
    case 0x0E:  // SO: G1
      FShift = 1;
      break;
    case 0x0F:  // SI: G0
      FShift = 0;
      break;
    default:
      break;
  }
}

void TXtermScreen::EscDispatch(char Intermediate, std::uint8_t Final) {
  FLastPrinted = 0;
  if (Intermediate == '(' || Intermediate == ')') return Designate(Intermediate, Final);
  if (Intermediate == '#') return LineSizeOrAlignment(Final);
  if (Intermediate != 0) return;
  switch (Final) {
    case '7':  // DECSC
      return SaveCursor();
    case '8':  // DECRC
      return RestoreCursor();
    case 'D':  // IND
      return LineFeed();
    case 'E':  // NEL
      LineFeed();
      return MoveTo(FCursor.Row, 0);
    case 'H':  // HTS
      FTabs[static_cast<std::size_t>(FCursor.Col)] = true;
      return;
    case 'M':  // RI
      return ReverseIndex();
    case 'c':  // RIS
      return FullReset();
    case '=':  // DECKPAM
      FModes.KeypadApp = true;
      return;
    case '>':  // DECKPNM
      FModes.KeypadApp = false;
      return;
    default:
      return;
  }
}

void TXtermScreen::LineSizeOrAlignment(std::uint8_t Final) {
  switch (Final) {
    case '3':  // DECDHL, top half
      return SetLineSize(TXtermLineSize::TallTop);
    case '4':  // DECDHL, bottom half
      return SetLineSize(TXtermLineSize::TallBottom);
    case '5':  // DECSWL
      return SetLineSize(TXtermLineSize::Single);
    case '6':  // DECDWL
      return SetLineSize(TXtermLineSize::Wide);
    case '8':  // DECALN
      return AlignmentTest();
    default:
      return;
  }
}

void TXtermScreen::Designate(char Slot, std::uint8_t Final) {
  TXtermCharset& set = FG[Slot == '(' ? 0 : 1];
  if (Final == '0') set = TXtermCharset::LineDrawing;
  if (Final == 'B') set = TXtermCharset::Ascii;
  if (Final == 'A') set = TXtermCharset::British;
}

// REP repeats only a character printed right before it: any control or
// sequence in between, REP itself included, leaves it nothing to repeat.
void TXtermScreen::CsiDispatch(const TVtCsi& Csi) {
  const char32_t last = std::exchange(FLastPrinted, 0);
  const bool plain = Csi.Private == 0 && Csi.Intermediate == 0;
  if (plain && Csi.Final == 'm') return SelectRendition(Csi);           // SGR, the commonest by far
  if (plain && Csi.Final == 'b') return Repeat(last, Csi.Param(0, 1));  // REP
  if (Csi.Private == '?' || Csi.Private == '>') return CsiPrivate(Csi);
  if (Csi.Private == '=' && Csi.Final == 'c' && Csi.Param(0, 0) == 0) return Reply("\x1bP!|00000000\x1b\\");  // DA3
  if (Csi.Private != 0) return;
  if (Csi.Intermediate == '!' && Csi.Final == 'p') return SoftReset();  // DECSTR
  if (plain) CsiPlain(Csi);
}

void TXtermScreen::CsiPlain(const TVtCsi& Csi) {
  const int n = Csi.Param(0, 1);
  const TCellPos at = FCursor;
  const bool inRegion = at.Row >= FRegion.Top && at.Row <= FRegion.Bottom;
  switch (Csi.Final) {
    case '@':  // ICH
      return InsertBlanks(n);
    case 'A':  // CUU
      return MoveTo(std::max(at.Row - n, inRegion ? FRegion.Top : 0), at.Col);
    case 'B':  // CUD
    case 'e':  // VPR
      return MoveTo(std::min(at.Row + n, inRegion ? FRegion.Bottom : FRows - 1), at.Col);
    case 'C':  // CUF
    case 'a':  // HPR
      return MoveTo(at.Row, at.Col + n);
    case 'D':  // CUB
      return MoveTo(at.Row, at.Col - n);
    case 'E':  // CNL
      return MoveTo(std::min(at.Row + n, inRegion ? FRegion.Bottom : FRows - 1), 0);
    case 'F':  // CPL
      return MoveTo(std::max(at.Row - n, inRegion ? FRegion.Top : 0), 0);
    case 'G':  // CHA
    case '`':  // HPA
      return MoveTo(at.Row, n - 1);
    case 'H':  // CUP
    case 'f':  // HVP
      return MoveToOrigin(Csi.Param(0, 1) - 1, Csi.Param(1, 1) - 1);
    case 'I':  // CHT
      return Tab(n);
    case 'J':  // ED
      return EraseInDisplay(Csi.Param(0, 0));
    case 'K':  // EL
      return EraseInLine(Csi.Param(0, 0));
    case 'L':  // IL
      return InsertLines(n);
    case 'M':  // DL
      return DeleteLines(n);
    case 'P':  // DCH
      return DeleteCells(n);
    case 'S':  // SU
      return ScrollUp(FRegion.Top, FRegion.Bottom, n);
    case 'T':  // SD
      if (Csi.Count <= 1) ScrollDown(FRegion.Top, FRegion.Bottom, n);
      return;
    case 'X':  // ECH
      return EraseCells(at.Row, at.Col, at.Col + std::min(n, FCols) - 1);
    case 'Z':  // CBT
      return BackTab(n);
    case 'c':  // DA
      if (Csi.Param(0, 0) == 0) Reply("\x1b[?1;2c");
      return;
    case 'd':  // VPA
      return MoveToOrigin(n - 1, at.Col);
    case 'g':  // TBC
      if (Csi.Param(0, 0) == 0) FTabs[static_cast<std::size_t>(at.Col)] = false;
      if (Csi.Param(0, 0) == 3) std::fill(FTabs.begin(), FTabs.end(), false);
      return;
    case 'h':  // SM
      return SetModes(Csi, true);
    case 'l':  // RM
      return SetModes(Csi, false);
    case 'n':  // DSR
      return DeviceStatus(Csi);
    case 'r':  // DECSTBM
    {
      const int top = Csi.Param(0, 1) - 1;
      const int bottom = std::min(Csi.Param(1, FRows), FRows) - 1;
      if (top >= bottom) return;
      FRegion = {top, bottom};
      return MoveToOrigin(0, 0);
    }
    case 's':  // SCOSC
      return SaveCursor();
    case 'u':  // SCORC
      return RestoreCursor();
    case 't':  // window operations: only the text area's size is reported
      if (Csi.Param(0, 0) == 18) Reply("\x1b[8;" + Decimal(FRows) + ";" + Decimal(FCols) + "t");
      return;
    case 'x':  // DECREQTPARM
      if (Csi.Param(0, 0) <= 1) Reply("\x1b[" + Decimal(Csi.Param(0, 0) + 2) + ";1;1;128;128;1;0x");
      return;
    default:
      return;
  }
}

void TXtermScreen::CsiPrivate(const TVtCsi& Csi) {
  if (Csi.Intermediate != 0) return;
  if (Csi.Private == '>') {
    if (Csi.Final == 'c' && Csi.Param(0, 0) == 0) Reply("\x1b[>1;10;0c");  // DA2
    return;
  }
  switch (Csi.Final) {
    case 'h':  // DECSET
      return SetPrivateModes(Csi, true);
    case 'l':  // DECRST
      return SetPrivateModes(Csi, false);
    case 'J':  // DECSED
      return EraseInDisplay(Csi.Param(0, 0));
    case 'K':  // DECSEL
      return EraseInLine(Csi.Param(0, 0));
    case 'n':  // DSR, DEC form
      if (Csi.Param(0, 0) == 6) {
        const int row = FCursor.Row - (FModes.Origin ? FRegion.Top : 0);
        Reply("\x1b[?" + Decimal(row + 1) + ";" + Decimal(FCursor.Col + 1) + "R");
      }
      return;
    default:
      return;
  }
}

void TXtermScreen::SetModes(const TVtCsi& Csi, bool On) {
  for (int i = 0; i < std::max(Csi.Count, 1); ++i) {
    if (Csi.Params[static_cast<std::size_t>(i)] == 4) FModes.Insert = On;    // IRM
    if (Csi.Params[static_cast<std::size_t>(i)] == 20) FModes.NewLine = On;  // LNM
  }
}

// Mouse tracking (9, 1000-1006, 1015) and the rest are accepted and ignored.
void TXtermScreen::SetPrivateModes(const TVtCsi& Csi, bool On) {
  for (int i = 0; i < std::max(Csi.Count, 1); ++i) {
    switch (Csi.Params[static_cast<std::size_t>(i)]) {
      case 1:  // DECCKM
        FModes.CursorKeysApp = On;
        break;
      case 3:  // DECCOLM
        if (FModes.ColumnSwitch) ColumnMode(On ? 132 : 80);
        break;
      case 5:  // DECSCNM
        FModes.ReverseScreen = On;
        MarkRows(0, FRows - 1);
        break;
      case 6:  // DECOM
        FModes.Origin = On;
        MoveToOrigin(0, 0);
        break;
      case 7:  // DECAWM
        FModes.AutoWrap = On;
        if (!On) FPendingWrap = false;
        break;
      case 25:  // DECTCEM
        FModes.CursorVisible = On;
        break;
      case 40:
        FModes.ColumnSwitch = On;
        break;
      case 47:    // the alternate screen
      case 1047:  // the same, cleared on leaving
        if (!On && Csi.Params[static_cast<std::size_t>(i)] == 1047 && FModes.AltScreen) EraseRows(0, FRows - 1);
        SwitchScreen(On);
        break;
      case 1048:  // save or restore the cursor
        On ? SaveCursor() : RestoreCursor();
        break;
      case 1049:  // the cursor saved, the alternate screen cleared and shown
        if (On && !FModes.AltScreen) {
          SaveCursor();
          SwitchScreen(true);
          EraseRows(0, FRows - 1);
        } else if (!On && FModes.AltScreen) {
          SwitchScreen(false);
          RestoreCursor();
        }
        break;
      case 2004:  // bracketed paste
        FModes.BracketedPaste = On;
        break;
      default:
        break;
    }
  }
}

void TXtermScreen::EraseInDisplay(int Mode) {
  const TCellPos at = FCursor;
  if (Mode == 0) {
    EraseCells(at.Row, at.Col, FCols - 1);
    EraseRows(at.Row + 1, FRows - 1);
  } else if (Mode == 1) {
    EraseRows(0, at.Row - 1);
    EraseCells(at.Row, 0, at.Col);
  } else if (Mode == 2) {
    EraseRows(0, FRows - 1);
  } else if (Mode == 3) {  // the kept rows, as `clear` asks; the view's scroll bar goes with them
    FHistory.Clear();
    MarkRows(0, FRows - 1);
  }
}

void TXtermScreen::EraseInLine(int Mode) {
  const TCellPos at = FCursor;
  if (Mode == 0) EraseCells(at.Row, at.Col, FCols - 1);
  if (Mode == 1) EraseCells(at.Row, 0, at.Col);
  if (Mode == 2) EraseCells(at.Row, 0, FCols - 1);
}

// Parameters First on. An extended colour hands the rest over to
// ExtendedRendition, which keeps the call out of this loop.
void TXtermScreen::SelectRendition(const TVtCsi& Csi, int First) {
  const int count = std::max(Csi.Count, 1);  // a local: the pen's stores could otherwise alias it
  for (int i = First; i < count; ++i) {
    const int p = Csi.Params[static_cast<std::size_t>(i)];
    const TSgrAction action = p < kSgrCodes ? kSgrActions[static_cast<std::size_t>(p)] : TSgrAction{};
    switch (action.Op) {
      case TSgrOp::Reset:
        FPen = {};
        break;
      case TSgrOp::SetFlags:
        FPen.Flags |= action.Value;
        break;
      case TSgrOp::ClearFlags:
        FPen.Flags &= static_cast<std::uint8_t>(~action.Value);
        break;
      case TSgrOp::Fg:
        FPen.Fg = action.Value;
        break;
      case TSgrOp::Bg:
        FPen.Bg = action.Value;
        break;
      case TSgrOp::ExtendedFg:
        return ExtendedRendition(Csi, i, FPen.Fg);
      case TSgrOp::ExtendedBg:
        return ExtendedRendition(Csi, i, FPen.Bg);
      case TSgrOp::None:  // faint, italic, blink, strike-through: the cell cannot show them
        break;
    }
  }
}

// The extended colour at parameter I into Colour, then the parameters
// after those it used.
void TXtermScreen::ExtendedRendition(const TVtCsi& Csi, int I, std::uint8_t& Colour) {
  const int colour = ExtendedColour(Csi, I);
  if (colour >= 0) Colour = static_cast<std::uint8_t>(colour);
  SelectRendition(Csi, I + 1);
}

// 38/48 followed by 5;n or 2;r;g;b (or the colon forms, with or without a
// colour space): the nearest of the 16 colours, or -1. I is left on the
// last parameter used.
int TXtermScreen::ExtendedColour(const TVtCsi& Csi, int& I) const {
  const auto param = [&Csi](int k) { return k < Csi.Count ? Csi.Params[static_cast<std::size_t>(k)] : -1; };
  const int kind = param(I + 1);
  if (kind == 5) {
    const int index = param(I + 2);
    I += 2;
    return index >= 0 && index <= 255 ? NearestOfSixteen(IndexedColour(index)) : -1;
  }
  if (kind == 2) {
    // The colon form may carry a colour space id before the three values.
    const bool withSpace = Csi.AfterColon(I + 2) && I + 5 < Csi.Count && Csi.AfterColon(I + 5);
    const int first = I + (withSpace ? 3 : 2);
    const int r = param(first), g = param(first + 1), b = param(first + 2);
    I = first + 2;
    if (r < 0 || g < 0 || b < 0 || r > 255 || g > 255 || b > 255) return -1;
    return NearestOfSixteen({static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)});
  }
  I = Csi.Count;  // an unknown kind: the rest of the sequence means nothing
  return -1;
}

void TXtermScreen::DeviceStatus(const TVtCsi& Csi) {
  const int kind = Csi.Param(0, 0);
  if (kind == 5) Reply("\x1b[0n");
  if (kind == 6) {
    const int row = FCursor.Row - (FModes.Origin ? FRegion.Top : 0);
    Reply("\x1b[" + Decimal(row + 1) + ";" + Decimal(FCursor.Col + 1) + "R");
  }
}

void TXtermScreen::Repeat(char32_t Ch, int N) {
  if (Ch != 0)
    for (int k = std::min(N, FRows * FCols); k > 0; --k) PutCell(Ch, CharWidth(Ch));
}

void TXtermScreen::OscDispatch(std::string_view Text) {
  FLastPrinted = 0;
  const std::size_t semicolon = Text.find(';');
  if (semicolon == std::string_view::npos) return;
  const std::string_view kind = Text.substr(0, semicolon);
  if ((kind == "0" || kind == "1" || kind == "2") && FHooks.Title) FHooks.Title(Text.substr(semicolon + 1));
  if ((kind == "10" || kind == "11") && Text.substr(semicolon + 1) == "?") ReportDefaultColour(kind == "10");
}

// OSC 10 ; ? and OSC 11 ; ? ask for the default foreground and background:
// programs such as vim choose their colours for a dark or light background
// by the answer.
void TXtermScreen::ReportDefaultColour(bool Foreground) {
  const bool reversed = FModes.ReverseScreen;
  const platform::TRGB colour = XtermColorTable[Foreground != reversed ? kXtermDefaultFg : kXtermDefaultBg];
  char answer[40];
  std::snprintf(answer, sizeof answer, "\x1b]%d;rgb:%02x%02x/%02x%02x/%02x%02x\x07", Foreground ? 10 : 11, colour.Red,
                colour.Red, colour.Green, colour.Green, colour.Blue, colour.Blue);
  Reply(answer);
}

void TXtermScreen::Reply(std::string_view Bytes) const {
  if (FHooks.Reply) FHooks.Reply(Bytes);
}

}  // namespace corvane
