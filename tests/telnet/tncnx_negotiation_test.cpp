// Byte-exact negotiation against a scripted server. Every stream is fed whole,
// one byte per read, and (when short) split in two at every offset: the data
// delivered, the replies sent and the events raised must not depend on how
// the network cut the stream.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/telnet/loopback_peer.h"

namespace corvane::tntest {
namespace {

struct NegotiationCase {
  const char* name;
  std::string stream;
  std::string data;
  std::string replies;
  std::vector<std::string> events;
};

const std::string kIacSe = B({255, 240});

const std::vector<NegotiationCase>& Cases() {
  static const std::vector<NegotiationCase> cases = {
      {"escaped IAC is data", B({65, 255, 255, 66}), "A\xff" "B", "", {}},
      {"WILL BINARY", B({255, 251, 0}), "", B({255, 253, 0}), {}},
      {"WONT BINARY after WILL", B({255, 251, 0, 255, 252, 0}), "", B({255, 253, 0}), {}},
      {"DO and DONT BINARY", B({255, 253, 0, 255, 254, 0}), "", "", {}},
      {"WILL ECHO", B({255, 251, 1}), "", B({255, 253, 1}), {}},
      {"WONT, DO, DONT ECHO", B({255, 252, 1, 255, 253, 1, 255, 254, 1}), "", "", {}},
      {"WILL SGA", B({255, 251, 3}), "", B({255, 253, 3}), {}},
      {"WONT, DO, DONT SGA", B({255, 252, 3, 255, 253, 3, 255, 254, 3}), "", "", {}},
      {"DO SEND-LOCATION", B({255, 253, 23}), "",
       B({255, 251, 23, 255, 250, 23}) + "TNCNX" + kIacSe, {"sendloc"}},
      {"WILL, WONT, DONT SEND-LOCATION", B({255, 251, 23, 255, 252, 23, 255, 254, 23}), "", "", {}},
      {"DO TERMINAL-TYPE, SB SEND", B({255, 253, 24, 255, 250, 24, 1, 255, 240}), "",
       B({255, 251, 24, 255, 250, 24, 0}) + "VT100" + kIacSe, {"termtype"}},
      {"WILL, WONT, DONT TERMINAL-TYPE", B({255, 251, 24, 255, 252, 24, 255, 254, 24}), "", "", {}},
      {"DO END-OF-RECORD", B({255, 253, 25}), "", B({255, 251, 25}), {}},
      {"WILL, WONT, DONT END-OF-RECORD", B({255, 251, 25, 255, 252, 25, 255, 254, 25}), "", "", {}},
      {"unlisted option refused", B({255, 251, 31, 255, 252, 31, 255, 253, 31, 255, 254, 31}), "",
       B({255, 254, 31, 255, 252, 31, 255, 252, 31, 255, 252, 31}), {}},
      {"WILL ENCRYPT is refused with DONT", B({255, 251, 38}), "", B({255, 254, 38}), {}},
      {"replies every time", B({255, 251, 1, 255, 251, 1}), "", B({255, 253, 1, 255, 253, 1}), {}},
      {"EOR", B({'a', 'b', 255, 239, 'c'}), "abc", "", {"eor"}},
      {"commands without effect", B({'a', 255, 246, 255, 241, 'b', 255, 249, 255, 242, 255, 240}), "ab", "", {}},
      {"empty sub-negotiation", B({255, 250, 240, 'x'}), "x", "", {}},
      {"other sub-negotiation ignored", B({255, 250, 24, 0, 'x', 255, 240, 'y'}), "y", "", {}},
      {"IAC inside a sub-negotiation", B({255, 250, 24, 1, 255, 255, 240, 'z'}), "z",
       B({255, 250, 24, 0}) + "VT100" + kIacSe, {"termtype"}},
      {"two sub-negotiations in a row", B({255, 250, 31, 0, 80, 255, 240, 255, 250, 24, 1, 255, 240}), "",
       B({255, 250, 24, 0}) + "VT100" + kIacSe, {"termtype"}},
      {"commands only", B({255, 251, 1, 255, 251, 3}), "", B({255, 253, 1, 255, 253, 3}), {}},
      {"long runs around an escaped IAC", "abcdefghijklmnopq" + B({255, 255}) + "rstuvwxyz0123456789",
       "abcdefghijklmnopq\xff" "rstuvwxyz0123456789", "", {}},
      {"a traced data byte inside a run", "xxxxxxxxxxx\xf6" "yyyyyyyy\xfa" "z", "xxxxxxxxxxx\xf6" "yyyyyyyy\xfa" "z", "", {}},
      {"CR LF NUL and high bytes are data", B({13, 10, 0, 244, 248, 128}), B({13, 10, 0, 244, 248, 128}), "", {}},
  };
  return cases;
}

struct Outcome {
  std::string data;
  std::string replies;
  std::vector<std::string> events;
  bool terminated = true;
};

// One fresh connection fed with the given chunks.
Outcome RunSession(ScriptedServer& server, const std::vector<std::string>& chunks, size_t expected_replies) {
  TTnCnx cnx;
  TnRecorder rec(cnx);
  Outcome out;
  EXPECT_TRUE(server.Connect(cnx, rec));
  for (const auto& chunk : chunks) EXPECT_TRUE(server.Feed(cnx, chunk));
  out.replies = server.TakeReplies(expected_replies);
  out.data = rec.data;
  out.terminated = rec.block_terminated;
  for (auto& e : rec.Events())
    if (e.rfind("connected", 0) != 0) out.events.push_back(e);
  return out;
}

std::vector<std::vector<std::string>> Feedings(const std::string& stream) {
  std::vector<std::vector<std::string>> feedings{{stream}, {}};
  for (char c : stream) feedings[1].push_back(std::string(1, c));
  if (stream.size() <= 24)
    for (size_t k = 1; k < stream.size(); ++k) feedings.push_back({stream.substr(0, k), stream.substr(k)});
  return feedings;
}

TEST(TnNegotiation, EveryTableRowAndEdgeCaseHowEverTheStreamIsCut) {
  ScriptedServer server;
  for (const auto& c : Cases()) {
    for (const auto& chunks : Feedings(c.stream)) {
      Outcome out = RunSession(server, chunks, c.replies.size());
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(chunks.size()) + " chunks, first " +
                   std::to_string(chunks[0].size()) + " bytes");
      EXPECT_EQ(out.data, c.data);
      EXPECT_EQ(out.replies, c.replies);
      EXPECT_EQ(out.events, c.events);
      EXPECT_TRUE(out.terminated);
    }
  }
}

// A sub-negotiation longer than the bound keeps its first two bytes, drops
// the rest and still ends at SE; the data after it is intact.
TEST(TnNegotiation, OverlongSubNegotiationIsBoundedAndStillAnswered) {
  ScriptedServer server;
  std::string stream = B({255, 253, 24, 255, 250, 24, 1}) + std::string(1500, 'x') + kIacSe + "after";
  std::string replies = B({255, 251, 24, 255, 250, 24, 0}) + "VT100" + kIacSe;
  std::vector<std::string> per_byte;
  for (char ch : stream) per_byte.push_back(std::string(1, ch));
  for (const auto& chunks : {std::vector<std::string>{stream}, per_byte}) {
    Outcome out = RunSession(server, chunks, replies.size());
    EXPECT_EQ(out.data, "after");
    EXPECT_EQ(out.replies, replies);
    EXPECT_EQ(out.events, std::vector<std::string>{"termtype"});
  }
}

// Streams of random bytes rich in telnet codes, cut at random places, must
// give the same result as the stream read in one piece.
TEST(TnNegotiation, RandomStreamsGiveTheSameResultHoweverCut) {
  ScriptedServer server;
  std::mt19937 random(20261207);
  const int codes[] = {255, 255, 255, 250, 240, 251, 252, 253, 254, 239, 246, 24, 1, 0, 3, 23, 31, 'a', 'b', 13};
  for (int round = 0; round < 40; ++round) {
    std::string stream;
    for (int i = 0; i < 300; ++i)
      stream += static_cast<char>(random() % 3 == 0 ? random() % 256 : codes[random() % std::size(codes)]);
    // End outside any command so that every reply is complete.
    stream += B({255, 240, 'e', 'n', 'd'});
    Outcome whole = RunSession(server, {stream}, 0);
    std::vector<std::string> chunks;
    for (size_t at = 0; at < stream.size();) {
      size_t n = 1 + random() % 40;
      chunks.push_back(stream.substr(at, n));
      at += n;
    }
    Outcome cut = RunSession(server, chunks, whole.replies.size());
    SCOPED_TRACE("round " + std::to_string(round));
    EXPECT_EQ(cut.data, whole.data);
    EXPECT_EQ(cut.replies, whole.replies);
    EXPECT_EQ(cut.events, whole.events);
  }
}

}  // namespace
}  // namespace corvane::tntest
