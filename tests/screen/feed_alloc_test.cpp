// FeedChar must not allocate for text and control characters: every global
// allocation of this program is counted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "emulator/screen.h"
#include "platform/diagnostics.h"

namespace {
long Allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++Allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace corvane {
namespace {

using namespace std::string_literals;

long AllocationsWhileFeeding(TScreen& screen, const std::string& bytes) {
  const long before = Allocations;
  for (char ch : bytes) screen.FeedChar(static_cast<std::uint8_t>(ch));
  return Allocations - before;
}

TEST(FeedAllocations, TextAndControlCharactersAllocateNothing) {
  TScreen screen;
  platform::SetAlertSink([] {});
  screen.XlatIn = true;
  screen.AutoWrap = true;
  std::string text;
  for (int i = 0; i < 40; ++i)
    text +=
        "Plain text with accents \xE9\xE8 and controls\b\t\r\n\x0E"
        "lqk\x0F\a";
  text += std::string(3000, 'x');

  EXPECT_EQ(AllocationsWhileFeeding(screen, text), 0);
  platform::SetAlertSink({});
}

TEST(FeedAllocations, RecognisedSequencesAllocateNothing) {
  TScreen screen;
  const std::string sequences =
      "\x1b[1;31;44m\x1b[7m\x1b[0m\x1b[5;10H\x1b[2;20r\x1b[3L\x1b[2M\x1b[4@\x1b[3P\x1b[K\x1b[J\x1b[2J"
      "\x1b[?7h\x1b[?25l\x1b"
      "7\x1b"
      "8\x1bM\x1b(0\x1b(B\x1b[1;4I\x00"
      "A\x00"
      "B"s;
  EXPECT_EQ(AllocationsWhileFeeding(screen, sequences), 0);
  EXPECT_EQ(screen.Lines[screen.Cursor.Row]->Chars[screen.Cursor.Col - 1], 'B');  // the whole stream was fed
}

TEST(FeedAllocations, TheCounterSeesAllocations) {
  TScreen screen;
  platform::SetDiagnosticSink([](std::string_view) {});
  EXPECT_GT(AllocationsWhileFeeding(screen, "\x1b[3J"), 0);  // a diagnostic message is built
  platform::SetDiagnosticSink({});
}

}  // namespace
}  // namespace corvane
