#include <gtest/gtest.h>

#include <string>

#include "platform/diagnostics.h"

using namespace corvane::platform;

TEST(Diagnostics, InstalledSinksReceiveEveryPieceAndCanBeRemoved) {
  std::string seen;
  int alerts = 0;
  SetDiagnosticSink([&](std::string_view piece) { seen += std::string(piece) + "|"; });
  SetAlertSink([&] { ++alerts; });

  WriteDiagnostic("0001 ");
  WriteDiagnostic("message\r\n");
  AlertSound();

  auto previous = SetDiagnosticSink({});
  SetAlertSink({});
  EXPECT_TRUE(previous);
  EXPECT_EQ(seen, "0001 |message\r\n|");
  EXPECT_EQ(alerts, 1);

  WriteDiagnostic("after removal");  // goes to the platform's channel, not to the old sink
  EXPECT_EQ(seen, "0001 |message\r\n|");
}

TEST(Diagnostics, ZeroBytesAreSpelledOutSoThatNothingAfterThemIsLost) {
  using namespace std::string_literals;
  EXPECT_EQ(WithoutZeroBytes("IAC SB \0\x01 end"s), "IAC SB \\x00\x01 end");
  EXPECT_EQ(WithoutZeroBytes("\0"s), "\\x00");
  EXPECT_EQ(WithoutZeroBytes("plain"), "plain");
}
