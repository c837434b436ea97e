#include <deque>
#include <map>
#include <string_view>

#include "emulator/screen.h"
#include "platform/diagnostics.h"
#include "tests/screen/script_runner.h"

namespace corvane::test {
namespace {

class TCaseRun final : public TScriptRunner {
 public:
  explicit TCaseRun(const TScriptCase& Case) : TScriptRunner(Case) {
    platform::SetDiagnosticSink([this](std::string_view piece) {
      if (++FPieces % 2 == 0) FMessages.emplace_back(piece);
    });
    platform::SetAlertSink([this] { ++FAlerts; });
  }
  ~TCaseRun() override {
    platform::SetDiagnosticSink({});
    platform::SetAlertSink({});
  }

 private:
  void Finish() override {
    for (const auto& message : FMessages) Fail("unchecked diagnostic " + Visible(message));
  }

  void Execute(const std::string& Command) override {
    if (Command == "feed") return FScreen.FeedText(BytesFrom(1));
    if (Command == "set") return Set();
    if (Command == "call") return Call();
    if (Command == "cursor") return Expect("cursor", Numbers(1, 10), {FScreen.Cursor.Row, FScreen.Cursor.Col});
    if (Command == "saved") return Expect("saved", Numbers(1, 10), {FScreen.Saved.Row, FScreen.Saved.Col});
    if (Command == "region") return Expect("region", Numbers(1, 10), {FScreen.Region.Top, FScreen.Region.Bottom});
    if (Command == "attr") return Expect("attr", Numbers(1, 16), {FScreen.Attr}, true);
    if (Command == "alerts") return Expect("alerts", Numbers(1, 10), {FAlerts});
    if (Command == "row") return CheckRow();
    if (Command == "cells") return CheckCells();
    if (Command == "attrs") return CheckAttrs();
    if (Command == "modes") return CheckModes();
    if (Command == "dirty") return CheckDirty();
    if (Command == "diag") return CheckDiag();
    if (Command == "kept") return CheckKept();
    Fail("unknown command " + Command);
  }

  bool CheckedRow(long Row) {
    if (Row >= 0 && Row < kLineCount) return true;
    Fail("no row " + std::to_string(Row));
    return false;
  }

  std::string_view Cells(long Row, long From, long To) const {
    const auto& chars = FScreen.Lines[Row]->Chars;
    return {reinterpret_cast<const char*>(chars.data()) + From, static_cast<std::size_t>(To - From)};
  }

  void CheckRow() {
    const long row = Words().size() > 1 ? ParseNumber(Words()[1], 10).value_or(-1) : -1;
    if (!CheckedRow(row)) return;
    std::string_view text = Cells(row, 0, FScreen.Cols());
    text = text.substr(0, text.find_last_not_of(' ') + 1);
    const std::string wanted = BytesFrom(2);
    if (text != wanted) Fail("row " + std::to_string(row) + " is " + Visible(text) + ", expected " + Visible(wanted));
  }

  void CheckCells() {
    const long row = Words().size() > 2 ? ParseNumber(Words()[1], 10).value_or(-1) : -1;
    const long col = Words().size() > 2 ? ParseNumber(Words()[2], 10).value_or(-1) : -1;
    if (!CheckedRow(row)) return;
    const std::string wanted = BytesFrom(3);
    if (col < 0 || col + static_cast<long>(wanted.size()) > kLineCells) return Fail("cells beyond the row");
    const std::string_view actual = Cells(row, col, col + static_cast<long>(wanted.size()));
    if (actual != wanted) Fail("cells " + Visible(actual) + ", expected " + Visible(wanted));
  }

  void CheckAttrs() {
    std::vector<long> wanted;
    for (std::size_t i = 3; i < Words().size(); ++i) {
      std::string_view word = Words()[i];
      long repeat = 1;
      if (auto star = word.find('*'); star != std::string_view::npos) {
        repeat = ParseNumber(word.substr(star + 1), 10).value_or(0);
        word = word.substr(0, star);
      }
      wanted.insert(wanted.end(), static_cast<std::size_t>(repeat), ParseNumber(word, 16).value_or(-1));
    }
    const long row = Words().size() > 2 ? ParseNumber(Words()[1], 10).value_or(-1) : -1;
    const long col = Words().size() > 2 ? ParseNumber(Words()[2], 10).value_or(-1) : -1;
    if (!CheckedRow(row)) return;
    if (col < 0 || col + static_cast<long>(wanted.size()) > kLineCells) return Fail("attrs beyond the row");
    std::vector<long> actual;
    for (std::size_t i = 0; i < wanted.size(); ++i) actual.push_back(FScreen.Lines[row]->Attrs[col + i]);
    Expect("attrs", wanted, actual, true);
  }

  std::string ModeValue(std::string_view Key) const override {
    const TScreen& s = FScreen;
    if (Key == "autowrap") return std::to_string(s.AutoWrap);
    if (Key == "cursor") return s.CursorHidden ? "hidden" : "shown";
    if (Key == "xlat") return std::to_string(s.XlatIn);
    if (Key == "table") return s.XlatTable == &GraphicsTable ? "graphics" : "ascii";
    if (Key == "altfont") return std::to_string(s.AltFont);
    if (Key == "reverse") return std::to_string(s.Reverse);
    if (Key == "raw") return std::to_string(s.RawCount);
    if (Key == "inseq") return std::to_string(s.InSeq());
    return "(unknown mode)";
  }

  void CheckDirty() {
    const TScreen& s = FScreen;
    const std::string& what = Words().size() > 1 ? Words()[1] : "";
    if (what == "all") return Expect("repaint-all", {1}, {s.RepaintAll});
    const std::vector<long> actual = {s.RepaintAll, s.Dirty.Top, s.Dirty.Left, s.Dirty.Bottom, s.Dirty.Right};
    if (what == "none") return Expect("repaint-all top left bottom right", {0, kDirtyNone, kDirtyNone, -1, -1}, actual);
    auto wanted = Numbers(1, 10);
    wanted.insert(wanted.begin(), 0);
    Expect("repaint-all top left bottom right", wanted, actual);
  }

  void CheckDiag() {
    const std::string wanted = BytesFrom(1);
    if (FMessages.empty()) return Fail("no diagnostic, expected " + Visible(wanted));
    if (FMessages.front() != wanted) Fail("diagnostic " + Visible(FMessages.front()) + ", expected " + Visible(wanted));
    FMessages.pop_front();
  }

  // kept N: N rows are kept; kept I BYTES: kept row I (0 the oldest) without
  // its trailing spaces.
  void CheckKept() {
    const TScrollback<TLine>& kept = FScreen.History;
    if (Words().size() == 2) return Expect("kept", Numbers(1, 10), {kept.Size()});
    const long i = Words().size() > 2 ? ParseNumber(Words()[1], 10).value_or(-1) : -1;
    if (i < 0 || i >= kept.Size()) return Fail("no kept row " + std::to_string(i));
    const auto& chars = kept.At(static_cast<int>(i)).Chars;
    std::string_view text(reinterpret_cast<const char*>(chars.data()), static_cast<std::size_t>(FScreen.Cols()));
    text = text.substr(0, text.find_last_not_of(' ') + 1);
    const std::string wanted = BytesFrom(2);
    if (text != wanted)
      Fail("kept row " + std::to_string(i) + " is " + Visible(text) + ", expected " + Visible(wanted));
  }

  void Set() {
    const std::string field = Words().size() > 2 ? Words()[1] : "";
    const long value = Words().size() > 2 ? ParseNumber(Words()[2], field == "attr" ? 16 : 10).value_or(-1) : -1;
    TScreen& s = FScreen;
    if (value < 0) return Fail("set needs a field and a value");
    const std::map<std::string_view, bool*> flags = {
        {"autowrap", &s.AutoWrap},       {"autolf", &s.AutoLF},
        {"autocr", &s.AutoCR},           {"xlatin", &s.XlatIn},
        {"xlatdefault", &s.XlatDefault}, {"altfont", &s.AltFont},
        {"reverse", &s.Reverse},         {"autowrapdefault", &s.AutoWrapDefault},
    };
    if (auto flag = flags.find(field); flag != flags.end())
      *flag->second = value != 0;
    else if (field == "rows")
      s.SetRows(static_cast<int>(value));
    else if (field == "cols")
      s.SetCols(static_cast<int>(value));
    else if (field == "row")
      s.Cursor.Row = static_cast<int>(value);
    else if (field == "col")
      s.Cursor.Col = static_cast<int>(value);
    else if (field == "raw")
      s.RawCount = static_cast<int>(value);
    else if (field == "attr")
      s.Attr = static_cast<std::uint8_t>(value);
    else if (field == "scrollback")
      s.History.SetCapacity(static_cast<int>(value));
    else
      Fail("unknown field " + field);
  }

  void Call() {
    TScreen& s = FScreen;
    const std::map<std::string_view, void (TScreen::*)()> primitives = {
        {"ClearScreen", &TScreen::ClearScreen},
        {"ResetDirty", &TScreen::ResetDirty},
        {"LineFeed", &TScreen::LineFeed},
        {"ReverseIndex", &TScreen::ReverseIndex},
        {"ScrollUp", &TScreen::ScrollUp},
        {"ScrollDown", &TScreen::ScrollDown},
        {"EraseToEndOfLine", &TScreen::EraseToEndOfLine},
        {"EraseBelow", &TScreen::EraseBelow},
        {"SaveCursor", &TScreen::SaveCursor},
        {"RestoreCursor", &TScreen::RestoreCursor},
        {"Reset", &TScreen::Reset},
        {"EndSequence", &TScreen::EndSequence},
    };
    const std::string name = Words().size() > 1 ? Words()[1] : "";
    if (auto primitive = primitives.find(name); primitive != primitives.end())
      (s.*(primitive->second))();
    else
      Fail("unknown primitive " + name);
  }

  TScreen FScreen;
  std::deque<std::string> FMessages;
  long FPieces = 0;
  long FAlerts = 0;
};

}  // namespace

std::vector<std::string> RunScriptCase(const TScriptCase& Case) { return TCaseRun(Case).Run(); }

}  // namespace corvane::test
