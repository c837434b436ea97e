#pragma once
// The terminal's model: 51 rows of 133 cells with one attribute byte each, the
// cursor, the scrolling region, the modes and the changed-cell rectangle.
// Every received byte enters through FeedChar, which also runs the escape
// sequence interpreter (interpreter.cpp).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>
#include <utility>

#include "emulator/scrollback.h"
#include "emulator/translation_tables.h"

namespace corvane {

constexpr int kLineCells = 133;  // columns 0..132 exist in every row
constexpr int kLineCount = 51;   // rows 0..50; row Rows always exists
constexpr int kMaxRows = 50;
constexpr int kMaxCols = 132;
constexpr int kSeqCapacity = 80;  // a sequence this long is dropped
// Parameters saturate at the largest count RawCount holds.
constexpr int kParamLimit = std::numeric_limits<int>::max();
constexpr std::uint8_t kDefaultAttr = 7;
constexpr int kDirtyNone = 9999;

// A cell position. Every pair of cell coordinates in the emulator is given
// row first.
struct TCellPos {
  int Row = 0;
  int Col = 0;
};

// The scrolling region: rows Top..Bottom inclusive.
struct TRowSpan {
  int Top = 0;
  int Bottom = 24;
};

// The cells changed since the last repaint, inclusive. Empty is Left and Top
// at kDirtyNone, Right and Bottom at -1, so that any cell added widens it.
struct TDirtyRect {
  int Left = kDirtyNone;
  int Top = kDirtyNone;
  int Right = -1;
  int Bottom = -1;

  bool Empty() const { return Left > Right || Top > Bottom; }
  void Add(int ARow, int ACol) {
    if (ARow < Top) Top = ARow;
    if (ACol < Left) Left = ACol;
    if (ARow > Bottom) Bottom = ARow;
    if (ACol > Right) Right = ACol;
  }
  // The rows moved up by N: changes go up with them, those that left are gone.
  void MoveUp(int N) {
    if (Empty()) return;
    Top = Top - N < 0 ? 0 : Top - N;
    Bottom -= N;
    if (Bottom < 0) *this = {};
  }
};

class TLine {
 public:
  TLine() { Blank(kDefaultAttr); }
  void Blank(std::uint8_t A);

  std::array<std::uint8_t, kLineCells> Chars;
  std::array<std::uint8_t, kLineCells> Attrs;
};

// Where a screen reports: the alert sound and the numbered diagnostic
// messages. Unset hooks use the platform's channels, and the counter is by
// default the one every screen shares; a test or a second terminal in the
// same process can give a screen its own.
struct TScreenHooks {
  std::function<void()> Alert;
  std::function<void(std::string_view piece)> Diagnostic;
  std::uint32_t* Counter = nullptr;
};

class TScreen {
 public:
  TScreen();
  virtual ~TScreen();
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  // The write entry: applies one received byte. Every received byte passes
  // here, so a printable character inside the margin is stored inline.
  void FeedChar(std::uint8_t Ch) {
    if (RawCount > 0 || FInSeq) {
      // Parameter characters of a CSI sequence are the commonest case here.
      if (RawCount == 0 && FSeqLen > 0 && FSeqBuf[0] == '[' && FSeqLen < kSeqCapacity - 1 && IsParamChar(Ch)) {
        FSeqBuf[FSeqLen++] = Ch;
        return;
      }
      return FeedUninterpreted(Ch);
    }
    // Only a received control code acts: a code that the translation turns
    // into one below 0x20 is a character, stored as its picture.
    if (Ch < 0x20) return ActOn(Ch);
    if (XlatIn) Ch = (*XlatTable)[Ch];
    // The fields are read before the cell stores, which the compiler must
    // assume could change them.
    const int row = Cursor.Row;
    const int col = Cursor.Col;
    if (Ch < 0x20 || col >= FCols) return PutChar(Ch);
    const bool markDirty = FMarking;
    const std::uint8_t attr = Attr;
    if (AltFont) Ch |= 0x80;
    TLine& line = *Lines[row];
    Cursor.Col = col + 1;
    line.Chars[col] = Ch;
    line.Attrs[col] = attr;
    if (markDirty) MarkDirty(row, col);
  }
  void FeedText(std::string_view S);

  // Rows 1..50 and Cols 1..132 (values outside are clamped). A change keeps
  // the cursor on the screen, and a change of Rows makes the scrolling region
  // the whole new screen. The owner clears the screen afterwards if it wants.
  int Rows() const { return FRows; }
  int Cols() const { return FCols; }
  void SetRows(int Value);
  void SetCols(int Value);

  void SetCursor(int ARow, int ACol);
  void ClearScreen();
  void ResetDirty();
  void MarkDirty(int ARow, int ACol) {
    if (FMarking) Dirty.Add(ARow, ACol);
  }
  void PutChar(std::uint8_t Ch);
  void LineFeed();
  void ReverseIndex();
  void ScrollUp();
  void ScrollDown();
  void EraseToEndOfLine();
  void EraseBelow();
  void SaveCursor();
  void RestoreCursor();
  // Starts a new session afresh: what the last host set is undone (sequence,
  // pass-through count, region, rendition, character set, saved cursor, the
  // cursor shown) and the modes go back to their defaults. Cells stay.
  void Reset();
  // Ends an unfinished sequence or pass-through count and selects the ASCII
  // table, so that the terminal's own texts are written as they stand.
  void EndSequence();

  // The escape sequence interpreter (interpreter.cpp).
  void CollectSeq(std::uint8_t Ch);
  void ExecSequence(std::uint8_t Final);
  void ReportUnimplemented(std::uint8_t Final);
  void ReportInvalid(std::uint8_t Final);
  // An ESC was received and its sequence is not finished.
  bool InSeq() const { return FInSeq; }
  // The sequence collected so far, without its ESC.
  std::string_view SeqBuf() const {
    return {reinterpret_cast<const char*>(FSeqBuf.data()), static_cast<std::size_t>(FSeqLen)};
  }

  // Row r is *Lines[r]; scrolling reorders these pointers into FLineStore.
  std::array<TLine*, kLineCount> Lines;
  TCellPos Cursor;
  TCellPos Saved{-1, -1};  // -1 while nothing is saved
  TRowSpan Region;
  std::uint8_t Attr = kDefaultAttr;
  bool AltFont = false;
  bool Reverse = false;
  bool HasFocus = false;
  bool AutoLF = false;
  bool AutoCR = false;
  bool AutoWrap = false;
  bool CursorHidden = false;
  bool XlatIn = false;
  bool XlatDefault = false;
  bool AutoWrapDefault = false;  // the value AutoWrap takes at Reset
  int RawCount = 0;
  const TXlatTable* XlatTable = &AsciiTable;
  bool RepaintAll = false;
  TDirtyRect Dirty;
  // While only whole-screen scrolls up asked for the full repaint: the rows
  // they moved, and the dirty rectangle goes on collecting what changed
  // after them, for a view that moves the pixels and paints only that. 0
  // once anything else asks for a full repaint.
  int ScrolledUp = 0;
  // Rows scrolled off the top of a region that spans the whole screen.
  TScrollback<TLine> History;
  std::function<void(TScreen&)> OnCursorVisibility;

  void SetHooks(TScreenHooks Hooks) { FHooks = std::move(Hooks); }

 private:
  // Whether changed cells are marked: not while a full repaint that no
  // scroll count can spare is due (the one test on the text path).
  bool FMarking = true;
  void Alert();
  void Report(std::string_view Message);
  void FeedUninterpreted(std::uint8_t Ch);
  // Space, the digits, semicolon and question mark: the bytes a sequence
  // collects. A bit mask over 0x20..0x3F keeps the test cheap.
  static bool IsParamChar(std::uint8_t Ch) {
    constexpr std::uint32_t kParamChars = 1u << 0 | 0x3FFu << 16 | 1u << 27 | 1u << 31;
    const unsigned bit = Ch - 0x20u;
    return bit < 32 && (kParamChars >> bit & 1) != 0;
  }
  void ActOn(std::uint8_t Ch);
  void BlankRows(int First, int Last, std::uint8_t A);
  void RepaintEverything();
  void EraseInDisplay(std::uint8_t Final);
  void InsertLines(int N);
  void DeleteLines(int N);
  void InsertChars(int N);
  void DeleteChars(int N);
  void CursorForward(int N);
  void CursorPosition();
  void SetRegion();
  void SetMode(std::uint8_t Final);
  void SelectGraphicRendition(std::uint8_t Final);
  bool ApplyRendition(int P);  // false for a parameter not listed
  void PrivateCommand(std::uint8_t Final);
  void ExecEscape(std::uint8_t Final);
  void ExecIntermediate(std::uint8_t Final);
  void ExecCsi(std::uint8_t Final);
  // Reads one decimal parameter at Pos (0-based in SeqBuf); Pos ends after it.
  int ParseParam(int& Pos) const;
  int SkipSpaces(int Pos) const;  // the first position at or after Pos that is not a space
  bool SemicolonAt(int Pos) const;

  // The sequence collector.
  std::array<std::uint8_t, kSeqCapacity> FSeqBuf{};
  int FSeqLen = 0;
  bool FInSeq = false;
  int FRows = 25;
  int FCols = 80;
  std::array<TLine, kLineCount> FLineStore;
  TScreenHooks FHooks;
};

}  // namespace corvane
