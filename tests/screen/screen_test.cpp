// What the case files cannot say: events, message numbering and the identity
// of line objects.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "emulator/debug_out.h"
#include "emulator/screen.h"
#include "platform/diagnostics.h"

namespace corvane {
namespace {

TEST(CursorVisibility, EventSeesTheNewStateWithTheScreenAsSender) {
  TScreen screen;
  std::vector<std::pair<TScreen*, bool>> calls;
  screen.OnCursorVisibility = [&](TScreen& sender) { calls.emplace_back(&sender, sender.CursorHidden); };

  screen.FeedText("\x1b[?25l\x1b[?25h\x1b[?7h\x1b[?25l");

  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], std::make_pair(&screen, true));
  EXPECT_EQ(calls[1], std::make_pair(&screen, false));
  EXPECT_EQ(calls[2], std::make_pair(&screen, true));
}

TEST(CursorVisibility, WithoutAHandlerTheModeStillChanges) {
  TScreen screen;
  screen.FeedText("\x1b[?25l");
  EXPECT_TRUE(screen.CursorHidden);
}

class Diagnostics : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetDiagnosticSink([this](std::string_view piece) { Pieces.emplace_back(piece); });
  }
  void TearDown() override { platform::SetDiagnosticSink({}); }
  std::vector<std::string> Pieces;
};

TEST_F(Diagnostics, MessagesAreNumberedInOrderAcrossScreensAsTwoPieces) {
  DebugCount = 0x0009;
  TScreen first, second;
  first.FeedText("\x1b[6n");
  second.FeedText(
      "\x1b"
      "c");

  EXPECT_EQ(Pieces, (std::vector<std::string>{"000A ", "Unimplemented Escape Sequence: [6n\r\n", "000B ",
                                              "Invalid Escape Sequence: c\r\n"}));
  EXPECT_EQ(DebugCount, 0x000Bu);
}

TEST_F(Diagnostics, AScreenWithItsOwnHooksReportsOnlyThere) {
  std::uint32_t ownCount = 0;
  std::string own;
  int ownAlerts = 0;
  TScreen hooked, plain;
  hooked.SetHooks({[&] { ++ownAlerts; }, [&](std::string_view piece) { own += piece; }, &ownCount});
  const std::uint32_t sharedBefore = DebugCount;
  hooked.FeedText("\x1b[6n\x07");
  plain.FeedText(
      "\x1b"
      "c");

  EXPECT_EQ(own, "0001 Unimplemented Escape Sequence: [6n\r\n");
  EXPECT_EQ(ownAlerts, 1);
  EXPECT_EQ(ownCount, 1u);
  EXPECT_EQ(DebugCount, sharedBefore + 1);
  ASSERT_EQ(Pieces.size(), 2u);
  EXPECT_EQ(Pieces[1], "Invalid Escape Sequence: c\r\n");
}

TEST_F(Diagnostics, NumbersGrowPastFourDigitsAndWrapWithoutOverflow) {
  DebugCount = 0xFFFF;
  DebugOut("a");
  DebugCount = 0xFFFFFFFF;
  DebugOut("b");
  EXPECT_EQ(Pieces, (std::vector<std::string>{"10000 ", "a", "0000 ", "b"}));
}

TEST_F(Diagnostics, SequenceBytesAreReportedAsCollected) {
  TScreen screen;
  screen.FeedText(std::string("\x1b[1\x00", 4));
  ASSERT_EQ(Pieces.size(), 2u);
  EXPECT_EQ(Pieces[1], std::string("Invalid Escape Sequence: [1\x00\r\n", 30));
}

std::set<const TLine*> LineObjects(const TScreen& screen) {
  std::set<const TLine*> objects;
  for (const TLine* line : screen.Lines) objects.insert(line);
  return objects;
}

TEST(LineObjects, ScrollingAndLineEditingReorderTheSameObjects) {
  TScreen screen;
  const auto before = LineObjects(screen);
  const TLine* top = screen.Lines[0];

  screen.ScrollUp();
  EXPECT_EQ(screen.Lines[24], top);
  screen.FeedText("\x1b[3;20r\x1b[5;1H\x1b[4L\x1b[2M\x1bM\x1b[20;1H\n");
  screen.ScrollDown();

  EXPECT_EQ(LineObjects(screen), before);
  EXPECT_EQ(before.size(), static_cast<std::size_t>(kLineCount));
}

TEST(Resize, RowsAndColsAreClampedAndTheRegionFollowsRows) {
  TScreen screen;
  screen.SetRows(40);
  EXPECT_EQ(screen.Rows(), 40);
  EXPECT_EQ(screen.Region.Bottom, 39);
  screen.SetCols(0);
  EXPECT_EQ(screen.Cols(), 1);
  screen.SetRows(-5);
  EXPECT_EQ(screen.Rows(), 1);
  EXPECT_EQ(screen.Region.Bottom, 0);
}

// Random CSI sequences with ordinary and extreme parameters, mixed with
// other escapes, text and control characters.
std::string RandomSequences(std::mt19937& Random, std::size_t Count) {
  static const char* const kParams[] = {"",      "0",          "1",          "2",           "3",  "7",   "25", "65535",
                                        "65536", "2147483647", "2147483648", "99999999999", "?7", "?25", " 5"};
  static const char kFinals[] = "@ABCDHIJKLMPSTfghlmnrsu>c";
  static const char* const kOther[] = {
      "\x1b"
      "7",
      "\x1b"
      "8",
      "\x1bM",
      "\x1b(0",
      "\x1b(B",
      "\x1b"
      "c",
      "text",
      "\r",
      "\n",
      "\b",
      "\t",
      "\x0e",
      "\x0f",
      "\xe9",
      "\x07",
      "\x1b[1;3I"};
  const auto pick = [&Random](const auto& list) { return list[Random() % std::size(list)]; };
  std::string bytes;
  for (std::size_t i = 0; i < Count; ++i) {
    if (Random() % 2 == 0) {
      bytes += pick(kOther);
      continue;
    }
    bytes += "\x1b[";
    for (unsigned n = Random() % 4; n > 0; --n) bytes += std::string(pick(kParams)) + (n > 1 ? ";" : "");
    bytes += kFinals[Random() % (sizeof kFinals - 1)];
  }
  return bytes;
}

void ExpectInvariants(const TScreen& s) {
  ASSERT_GE(s.Cursor.Row, 0);
  ASSERT_LT(s.Cursor.Row, s.Rows());
  ASSERT_GE(s.Cursor.Col, 0);
  ASSERT_LE(s.Cursor.Col, kMaxCols);
  ASSERT_GE(s.Region.Top, 0);
  ASSERT_LE(s.Region.Top, s.Region.Bottom);
  ASSERT_LT(s.Region.Bottom, s.Rows());
  ASSERT_GE(s.RawCount, 0);
  ASSERT_LT(s.SeqBuf().size(), std::size_t{kSeqCapacity});
}

TEST(AnyInput, CursorRegionAndCountsStayInBoundsWhileTheSizeChanges) {
  platform::SetDiagnosticSink([](std::string_view) {});
  platform::SetAlertSink([] {});
  std::mt19937 random(7);
  TScreen screen;
  for (int round = 0; round < 300; ++round) {
    // A huge raw count would otherwise turn every later round into plain text.
    screen.RawCount = 0;
    screen.AutoWrap = round % 2 == 0;
    screen.XlatIn = round % 3 == 0;
    for (char ch : RandomSequences(random, 100)) {
      screen.FeedChar(static_cast<std::uint8_t>(ch));
      ExpectInvariants(screen);
    }
    screen.SetRows(1 + static_cast<int>(random() % kMaxRows));
    screen.SetCols(1 + static_cast<int>(random() % kMaxCols));
    ExpectInvariants(screen);
  }
  platform::SetDiagnosticSink({});
  platform::SetAlertSink({});
}

}  // namespace
}  // namespace corvane

namespace {
std::vector<int> KeptRows(const corvane::TScrollback<int>& ring) {
  std::vector<int> rows;
  for (int i = 0; i < ring.Size(); ++i) rows.push_back(ring.At(i));
  return rows;
}
}  // namespace

// The ring never holds, nor reserves room for, more rows than its capacity,
// and a change of capacity keeps the newest rows in order.
TEST(Scrollback, TheRingIsBoundedByItsCapacityAndKeepsTheNewestRows) {
  corvane::TScrollback<int> ring;
  ring.Push(1);
  EXPECT_EQ(ring.Size(), 0);
  ring.SetCapacity(100);
  for (int row = 0; row < 1000; ++row) ring.Push(row);
  EXPECT_EQ(ring.Size(), 100);
  EXPECT_LE(ring.Reserved(), 100u);
  EXPECT_EQ(ring.At(0), 900);
  EXPECT_EQ(ring.At(99), 999);
  ring.SetCapacity(3);
  EXPECT_EQ(KeptRows(ring), (std::vector<int>{997, 998, 999}));
  EXPECT_LE(ring.Reserved(), 3u);
  ring.SetCapacity(5);
  ring.Push(1000);
  EXPECT_EQ(KeptRows(ring), (std::vector<int>{997, 998, 999, 1000}));
  ring.SetCapacity(-1);
  EXPECT_EQ(ring.Size(), 0);
  ring.SetCapacity(1 << 30);
  EXPECT_EQ(ring.Capacity(), corvane::kMaxScrollback);
}
