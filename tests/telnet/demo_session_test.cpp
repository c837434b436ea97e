#include <gtest/gtest.h>

#include <string>

#include "tools/demo_host/demo_session.h"
#include "tools/demo_host/key_names.h"

namespace corvane::demo {
namespace {

std::string B(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

const std::string kIacSe = B({255, 240});

// Answers the opening negotiation as the client does and returns the session's
// output after the greeting.
std::string Negotiate(DemoSession& s, const std::string& type, const std::string& location) {
  s.TakeOutput();
  s.Receive(B({255, 253, 1, 255, 253, 3, 255, 251, 24, 255, 251, 23}));
  EXPECT_EQ(s.TakeOutput(), B({255, 250, 24, 1, 255, 240}));
  s.Receive(B({255, 250, 23}) + location + kIacSe + B({255, 250, 24, 0}) + type + kIacSe);
  return s.TakeOutput();
}

TEST(DemoSession, NegotiatesAndGreetsWithWhatTheClientReported) {
  DemoSession s;
  EXPECT_EQ(s.TakeOutput(), B({255, 251, 1, 255, 251, 3, 255, 253, 24, 255, 253, 23}));
  std::string screen = Negotiate(s, "VT100", "TNCNX");
  EXPECT_TRUE(s.Greeted());
  EXPECT_NE(screen.find("Hello! Terminal type: VT100, location: TNCNX."), std::string::npos);
  EXPECT_NE(screen.find("Key tester"), std::string::npos);
}

TEST(DemoSession, RefusesWhatItDoesNotOfferOrWant) {
  DemoSession s;
  s.TakeOutput();
  s.Receive(B({255, 251, 31, 255, 253, 31, 255, 253, 1, 255, 254, 3, 255, 252, 0}));
  EXPECT_EQ(s.TakeOutput(), B({255, 254, 31, 255, 252, 31}));
  EXPECT_FALSE(s.Greeted());
}

TEST(DemoSession, RefusedOrSilentClientsAreGreetedAnyway) {
  DemoSession refused;
  refused.TakeOutput();
  refused.Receive(B({255, 252, 24, 255, 252, 23}));
  EXPECT_NE(refused.TakeOutput().find("Terminal type: unknown, location: unknown."), std::string::npos);

  DemoSession silent;
  silent.TakeOutput();
  silent.Receive("abc");  // keys before the greeting are not tested
  EXPECT_EQ(silent.TakeOutput(), "");
  silent.NegotiationTimedOut();
  EXPECT_TRUE(silent.Greeted());
}

TEST(DemoSession, ClientTextsReachTheScreenOnlyAsShortPrintableText) {
  DemoSession s;
  std::string hostile = "\x1b[2J\x1b]0;owned\a" + std::string(5000, 'X');
  std::string screen = Negotiate(s, hostile, B({0, 255, 255, 'L'}));
  EXPECT_NE(screen.find("Terminal type: ?[2J?]0;owned?XXXXXX, location: ??L."), std::string::npos);
  EXPECT_EQ(screen.find("\x1b]0"), std::string::npos);
}

TEST(DemoSession, KeyTesterNamesEachSequenceAndQEndsTheSession) {
  DemoSession s;
  Negotiate(s, "VT100", "TNCNX");
  s.Receive("\x1b[A\x1bOP");
  EXPECT_EQ(s.TakeOutput(),
            "\r\n  ESC [ A                   1B 5B 41  Up"
            "\r\n  ESC O P                   1B 4F 50  F1");
  s.Receive(B({255, 255, 13, 0}));
  EXPECT_EQ(s.TakeOutput(),
            "\r\n  0xFF                      FF"
            "\r\n  CR NUL                    0D 00");
  s.Receive("xqz");
  EXPECT_EQ(s.TakeOutput(), "\r\n  x                         78\r\nGoodbye.\r\n");
  EXPECT_TRUE(s.Finished());
  s.Receive("more");
  EXPECT_EQ(s.TakeOutput(), "");
}

TEST(DemoSession, CommandsSplitAcrossReadsAreStillCommands) {
  DemoSession s;
  Negotiate(s, "VT100", "TNCNX");
  s.Receive(B({255}));
  s.Receive(B({246, 'a', 255}));
  s.Receive(B({255}));
  EXPECT_EQ(s.TakeOutput(), "\r\n  a                         61\r\n  0xFF                      FF");
}

TEST(KeyNames, SplitsTheSequencesThatKeysSend) {
  auto seq = SplitKeySequences("\x1b[A\x1b[15~\x1bOPab\x1b[[A\x1bx\r\n\r\x1b");
  std::vector<std::string> names;
  for (const auto& s : seq) names.push_back(NameKeySequence(s));
  EXPECT_EQ(names, (std::vector<std::string>{"ESC [ A", "ESC [ 1 5 ~", "ESC O P", "a", "b", "ESC [ [ A", "ESC x",
                                             "CR LF", "CR", "ESC"}));
}

TEST(KeyNames, NamesTheKeysOfTheVt100AndXtermTables) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"\x1b[3~", "Delete"},
      {"\x1b[2~", "Insert"},
      {"\x1b[5;2~", "Shift+Page Up"},
      {"\x1b[1;5D", "Ctrl+Left"},
      {"\x1b[1;8A", "Ctrl+Alt+Shift+Up"},
      {"\x1bOA", "Up"},
      {"\x1b[H", "Home"},
      {"\x1bOF", "End"},
      {"\x1bOP", "F1"},
      {"\x1b[1;2S", "Shift+F4"},
      {"\x1b[15~", "F5"},
      {"\x1b[21~", "F10"},
      {"\x1b[24;5~", "Ctrl+F12"},
      {"\x1b[Z", "Shift+Tab"},
      {"\x1bOp", "Keypad 0"},
      {"\x1bOy", "Keypad 9"},
      {"\x1bOM", "Keypad Enter"},
      {"\x1bOk", "Keypad +"},
      {"\x1bOn", "Keypad ."},
      {"\x1bx", "Alt+x"},
      {"\x1b\x7f", "Alt+DEL"},
      {"\x1b[1;9D", ""},
      {"\x1b[7~", ""},
      {"\x1b[2D", ""},
      {"\x1b[1Z", ""},
      {"\x1b[999999~", ""},
      {"\x1b[M", ""},
      {"\x1b[[A", ""},
      {"\x1b\r", ""},
      {"a", ""},
      {"\x1b", ""},
      {"\x1bO", "Alt+O"},
  };
  for (const auto& [sequence, key] : cases) EXPECT_EQ(KeyOfSequence(sequence), key) << NameKeySequence(sequence);
}

TEST(KeyNames, NamesControlAndHighBytes) {
  EXPECT_EQ(NameKeySequence(B({0, 1, 8, 9, 27, 31, 32, 127, 128, 233})), "NUL ^A BS TAB ESC ^_ SP DEL 0x80 0xE9");
  EXPECT_EQ(HexBytes(B({0, 27, 255})), "00 1B FF");
}

TEST(KeyNames, AnEndlessEscapeSequenceIsCut) {
  std::string data = "\x1b[" + std::string(100, '1');
  auto seq = SplitKeySequences(data);
  ASSERT_GT(seq.size(), 1u);
  EXPECT_LE(seq[0].size(), 16u);
  std::string joined;
  for (const auto& s : seq) joined += s;
  EXPECT_EQ(joined, data);
}

}  // namespace
}  // namespace corvane::demo
