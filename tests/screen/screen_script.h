#pragma once
// Screen test files: plain text cases that feed bytes to a fresh TScreen and
// check what it holds. A file is a list of cases:
//
//   # comment
//   case cursor up stops at the top row
//   feed ESC [ 5 ; 5 H ESC [ 99 A
//   cursor 0 4
//
// Byte notation (feed, row, cells, diag): "text" with \r \n \t \e \\ \" \xHH
// escapes; the names NUL BEL BS HT LF VT FF CR SO SI ESC; 0xHH; any other
// word stands for its own characters. A suffix *N repeats a token N times.
//
// Commands:
//   feed BYTES            FeedChar for each byte
//   set FIELD VALUE       rows cols row col autowrap autolf autocr xlatin
//                         xlatdefault autowrapdefault altfont reverse raw
//                         scrollback (decimal), attr (hex)
//   call NAME             a primitive without arguments (ScrollUp, ClearScreen ...)
//   cursor ROW COL        saved ROW COL        region TOP BOTTOM
//   attr HH               the current attribute
//   row R BYTES           visible row R without its trailing spaces
//   cells R C BYTES       cells of row R from column C
//   attrs R C HH...       attribute bytes of row R from column C (HH*N repeats)
//   modes KEY=VALUE...    autowrap xlat altfont reverse raw inseq (0/1 or a
//                         number), cursor=shown|hidden, table=ascii|graphics
//   dirty all | none | TOP LEFT BOTTOM RIGHT
//   diag BYTES            the next diagnostic message, without its number
//   alerts N              alert sounds since the case began
//   kept N                rows kept in the scrollback
//   kept I BYTES          kept row I (0 the oldest) without its trailing spaces
// Every diagnostic message a case produces must be checked with diag.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

struct TScriptLine {
  int Number = 0;
  std::vector<std::string> Words;  // quoted words keep their quotes
};

struct TScriptCase {
  std::string File;
  std::string Title;
  int Line = 0;
  std::vector<TScriptLine> Lines;
};

// For test names and failure reports.
void PrintTo(const TScriptCase& Case, std::ostream* Out);

// Reads every *.test file of Dir, in name order.
std::vector<TScriptCase> LoadScriptCases(const std::string& Dir);
// The same, with one failing case in place of an empty list, which would
// otherwise pass silently.
std::vector<TScriptCase> LoadCasesOrFailure(const std::string& Dir);

// A test name made of the case's file, line and title.
std::string CaseTestName(const ::testing::TestParamInfo<TScriptCase>& Info);

// One token of the byte notation (with its *N suffix) as bytes.
std::string TokenBytes(std::string_view Token);
// A number in the given base; nothing when the text is not one.
std::optional<long> ParseNumber(std::string_view Text, int Base);
// Bytes as a quoted text with \xHH for the unprintable ones.
std::string Visible(std::string_view Bytes);

// Runs one case; returns one text per failed check (empty when it passes).
std::vector<std::string> RunScriptCase(const TScriptCase& Case);

}  // namespace corvane::test
