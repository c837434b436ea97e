// The Xterm screen's line sizes (ESC # 3..6) and the combining marks its
// cells carry.
#include <cstdlib>

#include "emulator/xterm_screen.h"

namespace corvane {

// A row made wide loses what lies beyond its new last column, as on the
// terminals that had them, and a cursor there moves back onto the row.
void TXtermScreen::SetLineSize(TXtermLineSize Size) {
  const int r = FCursor.Row;
  Sizes()[static_cast<std::size_t>(r)] = Size;
  if (Size != TXtermLineSize::Single) FAnySized = true;
  const int cols = RowCols(r);
  if (cols < FCols) EraseCells(r, cols, FCols - 1);
  if (FCursor.Col >= cols) {
    FCursor.Col = cols - 1;
    FPendingWrap = false;
  }
  MarkRows(r, r);
}

// Sizes go with their rows when a region scrolls N rows up (N < 0: down);
// the rows that come in are single.
void TXtermScreen::ShiftLineSizes(int Top, int Bottom, int N) {
  if (!FAnySized) return;  // the common case costs a test
  std::vector<TXtermLineSize>& sizes = Sizes();
  const auto first = sizes.begin() + Top;
  const auto last = sizes.begin() + Bottom + 1;
  const int n = std::min(std::abs(N), Bottom - Top + 1);
  if (N > 0) {
    std::rotate(first, first + n, last);
    std::fill(last - n, last, TXtermLineSize::Single);
  } else {
    std::rotate(first, last - n, last);
    std::fill(first, first + n, TXtermLineSize::Single);
  }
}

void TXtermScreen::ResetLineSizes(int First, int Last) {
  First = std::max(First, 0);
  Last = std::min(Last, FRows - 1);
  if (First > Last || !FAnySized) return;
  std::fill(Sizes().begin() + First, Sizes().begin() + Last + 1, TXtermLineSize::Single);
  const auto single = [](const std::vector<TXtermLineSize>& Rows) {
    return std::all_of(Rows.begin(), Rows.end(), [](TXtermLineSize S) { return S == TXtermLineSize::Single; });
  };
  if (First == 0 && Last == FRows - 1) FAnySized = !single(FSizes[0]) || !single(FSizes[1]);
  MarkRows(First, Last);
}

std::u32string_view TXtermScreen::CellText(const TXtermCell& Cell) const {
  if (Cell.Ch < kXCluster) return {&Cell.Ch, Cell.Ch == 0 ? 0U : 1U};
  const std::size_t index = Cell.Ch - kXCluster;
  return index < FClusters.size() ? std::u32string_view(FClusters[index]) : std::u32string_view(U"\uFFFD");
}

// A mark joins the character left of the cursor, or the one under it when
// a wrap is pending there; at the start of a row it has nothing to join.
void TXtermScreen::AttachMark(char32_t Mark) {
  const int r = FCursor.Row;
  int c = FCursor.Col;
  if (!FPendingWrap && --c < 0) return;
  TXtermRow& line = LineAt(r);
  if ((line[static_cast<std::size_t>(c)].Flags & kXWideTail) != 0 && c > 0) --c;
  TXtermCell& cell = line[static_cast<std::size_t>(c)];
  const std::u32string_view text = CellText(cell);
  if (text.empty() || text.size() >= kXMaxClusterLength) return;
  std::u32string composed(text);
  composed += Mark;
  const char32_t ch = Cluster(std::move(composed));
  if (ch == 0) return;
  cell.Ch = ch;
  Dirty.Add(r, c);
}

// The same text always gets the same index; a full table takes no more.
char32_t TXtermScreen::Cluster(std::u32string Text) {
  if (const auto found = FClusterIndex.find(Text); found != FClusterIndex.end()) return found->second;
  if (FClusters.size() >= kXMaxClusters) return 0;
  const char32_t ch = kXCluster + static_cast<char32_t>(FClusters.size());
  FClusters.push_back(Text);
  FClusterIndex.emplace(std::move(Text), ch);
  return ch;
}

}  // namespace corvane
