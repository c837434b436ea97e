// The protocol core on random streams rich in telnet codes: however the
// network cuts a stream, the events are the same.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "telnet/tn_outflow.h"
#include "telnet/tn_protocol.h"

namespace corvane::tntest {
namespace {

// The events of a stream fed in pieces of the given sizes (the rest at the
// end); data runs are joined, requests answered.
std::vector<std::string> EventsOf(const std::string& stream, const std::vector<std::size_t>& pieces) {
  std::vector<std::string> events;
  TTnProtocol* self = nullptr;
  TTnProtocol protocol([&](const TnEvent& e) {
    const std::string kind = std::to_string(static_cast<int>(e.Type)) + ":";
    if (events.empty() || kind != "0:" || !events.back().starts_with(kind)) events.push_back(kind);
    events.back() += e.Bytes;
    if (e.Type == TnEventType::TermTypeWanted) self->SendTermType("VT100");
    if (e.Type == TnEventType::LocationWanted) self->SendLocation("TNCNX");
  });
  self = &protocol;
  std::size_t at = 0;
  for (std::size_t n : pieces) {
    protocol.Feed(stream.data() + at, std::min(n, stream.size() - at));
    at += std::min(n, stream.size() - at);
  }
  protocol.Feed(stream.data() + at, stream.size() - at);
  return events;
}

TEST(TnProtocol, RandomStreamsGiveTheSameEventsHoweverCut) {
  std::mt19937 random(20261207);
  const int codes[] = {255, 255, 255, 250, 240, 251, 252, 253, 254, 239, 246, 24, 1, 0, 3, 23, 31, 'a', 'b', 13};
  for (int round = 0; round < 200; ++round) {
    std::string stream;
    for (int i = 0; i < 300; ++i)
      stream += static_cast<char>(random() % 3 == 0 ? random() % 256 : codes[random() % std::size(codes)]);
    std::vector<std::size_t> pieces(60);
    for (auto& n : pieces) n = random() % 12;
    EXPECT_EQ(EventsOf(stream, pieces), EventsOf(stream, {})) << "round " << round;
  }
}

// In binary mode a CR goes out as it is; only the 255 is doubled.
TEST(TnEncode, BinaryModeKeepsALoneCr) {
  EXPECT_EQ(TnEncodeData("a\r\xff\r", true), "a\r\xff\xff\r");
  EXPECT_EQ(TnEncodeData("a\r\xff\r", false), std::string("a\r\0\xff\xff\r\0", 7));
}

// However small the pieces asked for, they join to the whole, and none ends
// inside a doubled 255 or right after a CR.
TEST(TnOutflow, PiecesJoinToTheWholeAndEndOnBoundaries) {
  std::mt19937 random(20260419);
  const char bytes[] = {'\r', '\n', '\0', '\xff', 'a'};
  for (int round = 0; round < 100; ++round) {
    TTnOutflow flow;
    std::string whole;
    for (int send = 0; send < 4; ++send) {
      std::string data;
      for (int i = 0; i < 40; ++i) data += bytes[random() % std::size(bytes)];
      whole += TnEncodeData(data, false);
      flow.Append(TnEncodeData(data, false));
    }
    std::string joined;
    while (!flow.Empty()) {
      const std::string piece(flow.Next(random() % 7));
      ASSERT_FALSE(piece.empty());
      const std::size_t last_other = piece.find_last_not_of('\xff');
      EXPECT_EQ((piece.size() - (last_other + 1)) % 2, 0u) << "round " << round;
      EXPECT_NE(piece.back(), '\r') << "round " << round;
      joined += piece;
      flow.Remove(piece.size());
    }
    EXPECT_EQ(joined, whole) << "round " << round;
  }
}

}  // namespace
}  // namespace corvane::tntest
