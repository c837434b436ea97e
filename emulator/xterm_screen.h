#pragma once
// The Xterm emulation's screen: a grid of Unicode cells with colours and
// renditions, the cursor with its pending wrap, the scrolling region, tab
// stops, the modes a host sets, the alternate screen and the two character
// set slots. It is the meaning of the sequences TVtParser finds
// (xterm_dispatch.cpp); the grid operations are in xterm_screen.cpp.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "emulator/row_damage.h"
#include "emulator/screen.h"
#include "emulator/scrollback.h"
#include "emulator/vt_parser.h"

namespace corvane {

constexpr int kXtermMaxRows = 200;
constexpr int kXtermMaxCols = 500;
static_assert(kXtermMaxRows <= TRowDamage::kCapacity);
constexpr std::uint8_t kXtermDefaultFg = 7;
constexpr std::uint8_t kXtermDefaultBg = 0;

enum TXtermFlag : std::uint8_t {
  kXBold = 1,
  kXUnderline = 2,
  kXReverse = 4,
  kXInvisible = 8,
  kXWide = 16,      // the first cell of a character two cells wide
  kXWideTail = 32,  // the second cell of one; Ch is 0
};

// One cell: a character and how it is drawn (colour numbers 0..15 of the
// colour table; bold draws colours 0..7 bright).
struct TXtermCell {
  char32_t Ch = U' ';
  std::uint8_t Fg = kXtermDefaultFg;
  std::uint8_t Bg = kXtermDefaultBg;
  std::uint8_t Flags = 0;

  bool operator==(const TXtermCell&) const = default;
};

using TXtermRow = std::vector<TXtermCell>;

// How a row is shown (ESC # 3..6): single, or each character two cells wide,
// and for the two halves of a double-height line also twice as tall.
enum class TXtermLineSize : std::uint8_t { Single, Wide, TallTop, TallBottom };

// A cell whose character carries combining marks holds kXCluster plus the
// index of its text (base and marks) in the screen's table of such texts;
// the plain cells never pay for the few that have marks.
constexpr char32_t kXCluster = 0x40000000;
constexpr std::size_t kXMaxClusters = 65536;   // distinct texts; further marks are dropped
constexpr std::size_t kXMaxClusterLength = 8;  // code points in one cell

enum class TXtermCharset : std::uint8_t { Ascii, LineDrawing, British };

// Where a screen reports: answers to the host (device status and attribute
// reports), the window title and the bell.
struct TXtermHooks {
  std::function<void(std::string_view bytes)> Reply;
  std::function<void(std::string_view title)> Title;
  std::function<void()> Bell;
  // The screen changed its own size (DECCOLM): its owner shows the new grid.
  std::function<void()> Resized;
};

class TXtermScreen final : public TVtPerform {
 public:
  explicit TXtermScreen(int ARows = 24, int ACols = 80);

  void Feed(std::string_view Bytes) { FParser.Feed(Bytes); }
  void SetHooks(TXtermHooks Hooks) { FHooks = std::move(Hooks); }
  void SetCharset(TCharset Value) { FParser.Decoder().SetCharset(Value); }

  int Rows() const { return FRows; }
  int Cols() const { return FCols; }
  // A new size (clamped to 1..kXtermMaxRows, 1..kXtermMaxCols) keeps the
  // text that still fits, anchored at the top left.
  void Resize(int ARows, int ACols);
  // Everything back to how a new screen starts (RIS), the size kept.
  void FullReset();

  const TXtermRow& Row(int R) const { return (*FLines)[static_cast<std::size_t>(R)]; }
  const TXtermCell& Cell(int R, int C) const { return Row(R)[static_cast<std::size_t>(C)]; }
  TCellPos Cursor() const { return FCursor; }
  bool PendingWrap() const { return FPendingWrap; }
  TRowSpan Region() const { return FRegion; }
  const TXtermCell& Pen() const { return FPen; }
  // Row R's size (xterm_lines.cpp); the cursor's last column on a wide row
  // is half the screen's.
  TXtermLineSize LineSize(int R) const { return FSizes[FModes.AltScreen ? 1 : 0][static_cast<std::size_t>(R)]; }
  int RowCols(int R) const {
    return !FAnySized || LineSize(R) == TXtermLineSize::Single ? FCols : std::max(FCols / 2, 1);
  }
  // A cell's text as shown: its character with any combining marks.
  std::u32string_view CellText(const TXtermCell& Cell) const;

  struct TModes {
    bool AutoWrap = true;        // DECAWM
    bool Origin = false;         // DECOM
    bool Insert = false;         // IRM
    bool NewLine = false;        // LNM
    bool CursorKeysApp = false;  // DECCKM
    bool KeypadApp = false;      // DECKPAM
    bool CursorVisible = true;   // DECTCEM
    bool ReverseScreen = false;  // DECSCNM
    bool BracketedPaste = false;
    bool AltScreen = false;
    bool ColumnSwitch = false;  // mode 40: DECCOLM is honoured
  };
  const TModes& Modes() const { return FModes; }
  // Rows that line feeds scrolled off the top of the main screen while the
  // region spanned it; a FullReset keeps them.
  const TScrollback<TXtermRow>& History() const { return FHistory; }
  void SetScrollback(int Lines) { FHistory.SetCapacity(Lines); }
  bool InSequence() const { return FParser.InSequence(); }

  // The cells changed since the owner last cleared it.
  TRowDamage Dirty;
  // Rows the whole screen moved up since the owner last reset Dirty and this;
  // Dirty then holds the changed rows where they stand after the move, so the
  // owner may move the rows' pixels instead of repainting them.
  int ScrolledUp = 0;

  // TVtPerform: what the parser found (xterm_dispatch.cpp).
  void PrintAscii(std::string_view Text) override;
  void Print(char32_t Ch) override;
  void Execute(std::uint8_t Control) override;
  void EscDispatch(char Intermediate, std::uint8_t Final) override;
  void CsiDispatch(const TVtCsi& Csi) override;
  void OscDispatch(std::string_view Text) override;

 private:
  struct TSaved {
    TCellPos Cursor;
    TXtermCell Pen;
    bool Origin = false;
    bool PendingWrap = false;
    TXtermCharset G[2]{TXtermCharset::Ascii, TXtermCharset::Ascii};
    int Shift = 0;
  };

  // Grid operations (xterm_screen.cpp).
  TXtermRow& LineAt(int R) { return (*FLines)[static_cast<std::size_t>(R)]; }
  TXtermCell Blank() const;
  void BlankSpan(TXtermRow& Line, int First, int Count);
  void MarkRows(int Top, int Bottom);
  void MarkScrolledUp(int N);
  void KeepCursorRowInView(int ARows);
  void PutCell(char32_t Ch, int Width);
  void SplitWideAt(int R, int C);
  void EraseTailAt(int R, int C);
  void WrapNow();
  void LineFeed();
  void KeepScrolledOff();
  void ReverseIndex();
  void ScrollUp(int Top, int Bottom, int N);
  void ScrollDown(int Top, int Bottom, int N);
  void EraseCells(int R, int First, int Last);
  void EraseRows(int First, int Last);
  void InsertBlanks(int N);
  void DeleteCells(int N);
  void InsertLines(int N);
  void DeleteLines(int N);
  void MoveTo(int R, int C);
  void MoveToOrigin(int R, int C);
  void Tab(int N);
  void BackTab(int N);
  void ResetTabs();
  void SaveCursor();
  void RestoreCursor();
  void SwitchScreen(bool Alternate);
  void AlignmentTest();
  void ColumnMode(int Cols);
  void SoftReset();

  // Line sizes and combining marks (xterm_lines.cpp).
  std::vector<TXtermLineSize>& Sizes() { return FSizes[FModes.AltScreen ? 1 : 0]; }
  void SetLineSize(TXtermLineSize Size);
  void ShiftLineSizes(int Top, int Bottom, int N);
  void ResetLineSizes(int First, int Last);
  void AttachMark(char32_t Mark);
  char32_t Cluster(std::u32string Text);

  // Sequences (xterm_dispatch.cpp).
  void CsiPlain(const TVtCsi& Csi);
  void CsiPrivate(const TVtCsi& Csi);
  void SetModes(const TVtCsi& Csi, bool On);
  void SetPrivateModes(const TVtCsi& Csi, bool On);
  void SelectRendition(const TVtCsi& Csi, int First = 0);
  void ExtendedRendition(const TVtCsi& Csi, int I, std::uint8_t& Colour);
  int ExtendedColour(const TVtCsi& Csi, int& I) const;
  void EraseInDisplay(int Mode);
  void EraseInLine(int Mode);
  void Designate(char Slot, std::uint8_t Final);
  void LineSizeOrAlignment(std::uint8_t Final);
  void DeviceStatus(const TVtCsi& Csi);
  void ReportDefaultColour(bool Foreground);
  void Repeat(char32_t Ch, int N);
  void Reply(std::string_view Bytes) const;
  char32_t Mapped(char32_t Ch) const;

  TVtParser FParser{*this};
  TXtermHooks FHooks;
  int FRows;
  int FCols;
  std::vector<TXtermRow> FMain;
  std::vector<TXtermRow> FAlternate;
  std::vector<TXtermRow>* FLines = &FMain;
  std::vector<bool> FTabs;
  TCellPos FCursor;
  bool FPendingWrap = false;
  TRowSpan FRegion;
  TXtermCell FPen;
  TModes FModes;
  TXtermCharset FG[2]{TXtermCharset::Ascii, TXtermCharset::Ascii};
  int FShift = 0;  // 0: G0 is in use (SI), 1: G1 (SO)
  TSaved FSaved[2];
  char32_t FLastPrinted = 0;              // what REP repeats: 0 after anything but text
  std::vector<TXtermLineSize> FSizes[2];  // of the main and the alternate screen's rows
  bool FAnySized = false;                 // whether any row of either may be other than single
  std::vector<std::u32string> FClusters;  // texts of cells with marks, by index
  std::unordered_map<std::u32string, char32_t> FClusterIndex;
  TScrollback<TXtermRow> FHistory;
  TXtermRow FBlankRow;  // blanks in the current background, for BlankSpan
};

}  // namespace corvane
