// The protocol core on random streams rich in telnet codes: however the
// network cuts a stream, the events are the same.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace corvane::tntest
