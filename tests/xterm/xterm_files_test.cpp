// The Xterm screen's case files (*.test in this folder). Beside the byte
// notation of the classic screen's files, the commands are:
//
//   size ROWS COLS        charset UTF-8|Latin-1|CP437
//   feed BYTES            the bytes through the parser
//   cursor ROW COL        region TOP BOTTOM
//   row R BYTES           row R as UTF-8, without trailing blanks (the
//                         second cell of a wide character is skipped,
//                         combining marks follow their character)
//   line R SIZE           row R's size: single, wide, top or bottom
//   style R C LOOK...     cells of row R from column C: FG/BG and the letters
//                         b(old) u(nderline) r(everse) i(nvisible) w(ide)
//                         t(ail) of its flags, e.g. 7/0 or 1/4bu; *N repeats
//   modes KEY=VALUE...    wrap origin insert newline ckm kpam paste alt
//                         reverse pending (0/1), cursor=shown|hidden
//   reply BYTES           the next answer to the host
//   title BYTES           the next window title
//   bells N               bells since the case began
//   dirty none | TOP LEFT BOTTOM RIGHT, then forgets it
//   bands none | TOP LEFT BOTTOM RIGHT..., the changed rows' bands in order,
//                         then forgets them
//   scrolled N            rows the whole screen moved up, then forgets it
//   scrollback N          keep up to N rows scrolled off the top
//   kept N                rows kept;  kept I BYTES: kept row I, 0 the oldest
// Every answer and title a case produces must be checked.
#include <gtest/gtest.h>

#include <deque>
#include <utility>

#include "emulator/text_decoder.h"
#include "emulator/xterm_screen.h"
#include "tests/screen/script_runner.h"

namespace corvane::test {
namespace {

class TXtermCaseRun final : public TScriptRunner {
 public:
  explicit TXtermCaseRun(const TScriptCase& Case) : TScriptRunner(Case) {
    FScreen.SetHooks({[this](std::string_view b) { FReplies.emplace_back(b); },
                      [this](std::string_view t) { FTitles.emplace_back(t); }, [this] { ++FBells; }, [] {}});
  }

 private:
  void Execute(const std::string& Command) override {
    if (Command == "size") return FScreen.Resize(static_cast<int>(NumberAt(1)), static_cast<int>(NumberAt(2)));
    if (Command == "charset") return SetCharset();
    if (Command == "feed") return FScreen.Feed(BytesFrom(1));
    if (Command == "cursor") return Expect("cursor", Numbers(1, 10), {FScreen.Cursor().Row, FScreen.Cursor().Col});
    if (Command == "region") return Expect("region", Numbers(1, 10), {FScreen.Region().Top, FScreen.Region().Bottom});
    if (Command == "row") return CheckRow();
    if (Command == "line") return CheckLineSize();
    if (Command == "style") return CheckStyle();
    if (Command == "modes") return CheckModes();
    if (Command == "reply") return CheckNext("reply", FReplies);
    if (Command == "title") return CheckNext("title", FTitles);
    if (Command == "bells") return Expect("bells", Numbers(1, 10), {FBells});
    if (Command == "dirty") return CheckDirty();
    if (Command == "bands") return CheckBands();
    if (Command == "scrolled") return Expect("scrolled", Numbers(1, 10), {std::exchange(FScreen.ScrolledUp, 0)});
    if (Command == "scrollback") return FScreen.SetScrollback(static_cast<int>(NumberAt(1)));
    if (Command == "kept") return CheckKept();
    Fail("unknown command " + Command);
  }

  void Finish() override {
    for (const auto& reply : FReplies) Fail("unchecked reply " + Visible(reply));
    for (const auto& title : FTitles) Fail("unchecked title " + Visible(title));
  }

  std::string ModeValue(std::string_view Key) const override {
    const TXtermScreen::TModes& m = FScreen.Modes();
    if (Key == "cursor") return m.CursorVisible ? "shown" : "hidden";
    const std::pair<std::string_view, bool> flags[] = {
        {"wrap", m.AutoWrap},         {"origin", m.Origin},
        {"insert", m.Insert},         {"newline", m.NewLine},
        {"ckm", m.CursorKeysApp},     {"kpam", m.KeypadApp},
        {"paste", m.BracketedPaste},  {"alt", m.AltScreen},
        {"reverse", m.ReverseScreen}, {"pending", FScreen.PendingWrap()},
    };
    for (const auto& [name, value] : flags)
      if (Key == name) return value ? "1" : "0";
    return "(unknown mode)";
  }

  void SetCharset() {
    const auto charset = Words().size() > 1 ? CharsetNamed(Words()[1]) : std::nullopt;
    if (!charset) return Fail("unknown charset");
    FScreen.SetCharset(*charset);
  }

  bool CheckedCell(long Row, long Col) {
    if (Row >= 0 && Row < FScreen.Rows() && Col >= 0 && Col <= FScreen.Cols()) return true;
    Fail("no cell " + std::to_string(Row) + " " + std::to_string(Col));
    return false;
  }

  static std::string RowText(const TXtermRow& Row) {
    std::string text;
    for (const TXtermCell& cell : Row)
      if ((cell.Flags & kXWideTail) == 0) AppendUtf8(text, cell.Ch);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }

  // kept N: N rows are kept; kept I TEXT: kept row I, 0 the oldest.
  void CheckKept() {
    const TScrollback<TXtermRow>& kept = FScreen.History();
    if (Words().size() == 2) return Expect("kept", Numbers(1, 10), {kept.Size()});
    const long i = NumberAt(1);
    if (i < 0 || i >= kept.Size()) return Fail("no kept row " + std::to_string(i));
    const std::string text = RowText(kept.At(static_cast<int>(i)));
    const std::string wanted = BytesFrom(2);
    if (text != wanted)
      Fail("kept row " + std::to_string(i) + " is " + Visible(text) + ", expected " + Visible(wanted));
  }

  void CheckRow() {
    const long row = NumberAt(1);
    if (!CheckedCell(row, 0)) return;
    std::string text;
    for (const TXtermCell& cell : FScreen.Row(static_cast<int>(row)))
      if ((cell.Flags & kXWideTail) == 0)
        for (const char32_t ch : FScreen.CellText(cell)) AppendUtf8(text, ch);
    text.erase(text.find_last_not_of(' ') + 1);
    const std::string wanted = BytesFrom(2);
    if (text != wanted) Fail("row " + std::to_string(row) + " is " + Visible(text) + ", expected " + Visible(wanted));
  }

  void CheckLineSize() {
    const long row = NumberAt(1);
    if (!CheckedCell(row, 0) || Words().size() < 3) return;
    constexpr const char* kNames[] = {"single", "wide", "top", "bottom"};
    const std::string actual = kNames[static_cast<int>(FScreen.LineSize(static_cast<int>(row)))];
    if (actual != Words()[2]) Fail("line " + std::to_string(row) + " is " + actual + ", expected " + Words()[2]);
  }

  static std::string StyleOf(const TXtermCell& Cell) {
    std::string text = std::to_string(Cell.Fg) + "/" + std::to_string(Cell.Bg);
    const char letters[] = "buriwt";
    for (int bit = 0; bit < 6; ++bit)
      if ((Cell.Flags >> bit & 1) != 0) text += letters[bit];
    return text;
  }

  void CheckStyle() {
    const long row = NumberAt(1), col = NumberAt(2);
    std::vector<std::string> wanted;
    for (std::size_t i = 3; i < Words().size(); ++i) {
      const std::string& word = Words()[i];
      const std::size_t star = word.find('*');
      const long repeat = star == std::string::npos ? 1 : ParseNumber(word.substr(star + 1), 10).value_or(0);
      wanted.insert(wanted.end(), static_cast<std::size_t>(repeat), word.substr(0, star));
    }
    if (!CheckedCell(row, col) || !CheckedCell(row, col + static_cast<long>(wanted.size()))) return;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      const std::string actual =
          StyleOf(FScreen.Cell(static_cast<int>(row), static_cast<int>(col + static_cast<long>(i))));
      if (actual != wanted[i])
        Fail("style of column " + std::to_string(col + static_cast<long>(i)) + " is " + actual + ", expected " +
             wanted[i]);
    }
  }

  void CheckNext(const std::string& What, std::deque<std::string>& Seen) {
    const std::string wanted = BytesFrom(1);
    if (Seen.empty()) return Fail("no " + What + ", expected " + Visible(wanted));
    if (Seen.front() != wanted) Fail(What + " " + Visible(Seen.front()) + ", expected " + Visible(wanted));
    Seen.pop_front();
  }

  void CheckDirty() {
    const TDirtyRect d = FScreen.Dirty.Bounds();
    const std::vector<long> actual = {d.Top, d.Left, d.Bottom, d.Right};
    if (Words().size() > 1 && Words()[1] == "none")
      Expect("dirty", {kDirtyNone, kDirtyNone, -1, -1}, actual);
    else
      Expect("dirty", Numbers(1, 10), actual);
    FScreen.Dirty.Clear();
  }

  void CheckBands() {
    std::vector<long> actual;
    FScreen.Dirty.ForEachBand(FScreen.Rows(), [&](const TDirtyRect& b) {
      actual.insert(actual.end(), {b.Top, b.Left, b.Bottom, b.Right});
    });
    const bool none = Words().size() > 1 && Words()[1] == "none";
    Expect("bands", none ? std::vector<long>{} : Numbers(1, 10), actual);
    FScreen.Dirty.Clear();
  }

  TXtermScreen FScreen{24, 80};
  std::deque<std::string> FReplies;
  std::deque<std::string> FTitles;
  long FBells = 0;
};

class XtermFile : public ::testing::TestWithParam<TScriptCase> {};

TEST_P(XtermFile, Case) {
  for (const auto& failure : TXtermCaseRun(GetParam()).Run()) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Files, XtermFile, ::testing::ValuesIn(LoadCasesOrFailure(CV_XTERM_TEST_DIR)), CaseTestName);

}  // namespace
}  // namespace corvane::test
