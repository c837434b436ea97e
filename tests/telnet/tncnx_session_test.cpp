#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "net/socket_errors.h"
#include "platform/diagnostics.h"
#include "tests/telnet/forwarding_sockets.h"
#include "tests/telnet/telnet_peer.h"

namespace corvane::tntest {
namespace {

const std::string kIacSe = B({255, 240});

struct Connected {
  ScriptedServer server;
  TTnCnx cnx;
  TnRecorder rec{cnx};
  Connected() { EXPECT_TRUE(server.Connect(cnx, rec)); }
};

TEST(TnDelivery, OneBlockPerChunkWithAZeroAfterItAndEventsBeforeTheData) {
  Connected c;
  ASSERT_TRUE(c.server.Feed(c.cnx, B({65, 255, 255, 66})));
  EXPECT_EQ(c.rec.blocks, std::vector<std::string>{"A\xff"
                                                   "B"});
  EXPECT_TRUE(c.rec.block_terminated);

  c.rec.log.clear();
  ASSERT_TRUE(c.server.Feed(c.cnx, B({'a', 'b', 255, 239, 'c'})));
  EXPECT_EQ(c.rec.log, (std::vector<std::string>{"eor", "data:abc"}));
}

// The data before an event is delivered even when the event's handler ends
// the session; the rest of the chunk, and its replies, belong to nobody.
TEST(TnDelivery, DataBeforeAnEventSurvivesAHandlerThatCloses) {
  Connected c;
  c.cnx.OnEndOfRecord = [&](TTnCnx& cnx) {
    c.rec.log.push_back("eor");
    cnx.Close();
  };
  ASSERT_TRUE(c.server.Send("ab" + B({255, 239}) + "cd" + B({255, 251, 1}) + "ef"));
  ASSERT_TRUE(PumpUntil([&] { return c.rec.closed_count > 0; }));
  platform::WaitAndProcessMessages(50);
  EXPECT_EQ(c.rec.data, "ab");
  EXPECT_EQ(c.rec.Events(), (std::vector<std::string>{"connected:0", "eor", "closed:0"}));
  EXPECT_EQ(c.server.TakeReplies(0, 50), "");
}

TEST(TnDelivery, WithoutADataHandlerDataIsDroppedButNegotiationWorks) {
  ScriptedServer server;
  TTnCnx cnx;
  TnRecorder rec(cnx, /*record_data=*/false);
  ASSERT_TRUE(server.Connect(cnx, rec));
  ASSERT_TRUE(server.Feed(cnx, "dropped" + B({255, 253, 24})));
  EXPECT_EQ(server.TakeReplies(3), B({255, 251, 24}));

  std::string data;
  cnx.OnDataAvailable = [&](TTnCnx&, const char* b, int n) { data.append(b, static_cast<size_t>(n)); };
  ASSERT_TRUE(server.Feed(cnx, "kept"));
  EXPECT_EQ(data, "kept");
}

TEST(TnSubNegotiation, HandlersRunFirstAndMayChangeTheTextsSent) {
  Connected c;
  c.cnx.OnTermType = [](TTnCnx& cnx) { cnx.TermType = "ANSI"; };
  c.cnx.OnSendLoc = [](TTnCnx& cnx) { cnx.Location = "Room 12"; };
  ASSERT_TRUE(c.server.Feed(c.cnx, B({255, 253, 24, 255, 250, 24, 1, 255, 240, 255, 253, 23})));
  std::string expected =
      B({255, 251, 24, 255, 250, 24, 0}) + "ANSI" + kIacSe + B({255, 251, 23, 255, 250, 23}) + "Room 12" + kIacSe;
  EXPECT_EQ(c.server.TakeReplies(expected.size()), expected);
}

TEST(TnSend, DoublesEveryByte255InData) {
  Connected c;
  EXPECT_EQ(c.cnx.SendStr(B({'a', 255, 'b', 255, 255})), 5);
  EXPECT_EQ(c.cnx.Send("\xff", 1), 1);
  EXPECT_EQ(c.cnx.Send(nullptr, 4), 0);
  EXPECT_EQ(c.server.TakeReplies(10), B({'a', 255, 255, 'b', 255, 255, 255, 255, 255, 255}));
}

// Outside binary mode a CR goes out with LF or NUL after it. A CR that ends
// one send gets its NUL at once: Enter cannot wait for the next key.
TEST(TnSend, ACrWithoutLfIsFollowedByNul) {
  Connected c;
  for (const std::string& text : {std::string("a\rb"), std::string("\r\n"), std::string("\r\r\n"), B({13, 0}),
                                  std::string("x\r"), std::string("\n")})
    c.cnx.SendStr(text);
  const std::string expected = B({'a', 13, 0, 'b', 13, 10, 13, 0, 13, 10, 13, 0, 'x', 13, 0, 10});
  EXPECT_EQ(c.server.TakeReplies(expected.size()), expected);
}

// A paste far beyond the send queue's bound flows to a host that reads
// slowly: the call returns at once, the rest follows as the queue drains, a
// reply to the host's request midway goes between two pieces of it, and a
// key typed meanwhile goes after the whole paste.
TEST(TnSend, ALargePasteFlowsToASlowReaderWithLaterKeysAfterIt) {
  Connected c;
  std::string paste;
  for (int i = 0; paste.size() < (20u << 20); ++i) paste += "line " + std::to_string(i) + (i % 7 ? "\r\n" : "\xff\r");
  const std::string reply = B({255, 251, 24});  // never inside the encoded paste
  const std::string expected = TnEncodeData(paste, false) + "k";
  EXPECT_EQ(c.cnx.SendStr(paste), static_cast<int>(paste.size()));
  EXPECT_TRUE(c.cnx.Flowing());
  c.cnx.SendStr("k");
  std::string received;
  char buffer[16384];
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (received.size() < expected.size() + reply.size() && std::chrono::steady_clock::now() < deadline) {
    platform::WaitAndProcessMessages(1);
    const int n = c.server.Receive(buffer, sizeof buffer);
    if (n <= 0) continue;
    if (received.size() < (5u << 20) && received.size() + static_cast<std::size_t>(n) >= (5u << 20)) {
      ASSERT_TRUE(c.server.Send(B({255, 253, 24})));
    }
    received.append(buffer, static_cast<std::size_t>(n));
  }
  const std::size_t at = received.find(reply);
  ASSERT_TRUE(at != std::string::npos && at > 0);
  const std::size_t trailing = at - (received.find_last_not_of('\xff', at - 1) + 1);
  EXPECT_EQ(trailing % 2, 0u) << "the reply splits a doubled 255";
  EXPECT_NE(received[at - 1], '\r') << "the reply parts a CR from its LF or NUL";
  received.erase(at, reply.size());
  EXPECT_EQ(received.size(), expected.size());
  EXPECT_TRUE(received == expected) << "first difference at "
                                    << std::mismatch(received.begin(), received.end(), expected.begin()).first -
                                           received.begin();
  EXPECT_EQ(c.rec.closed_count, 0);
  EXPECT_FALSE(c.cnx.Flowing());
}

// Ending the session drops what still waits: the next session starts empty.
TEST(TnSend, ClosingDropsTheRestOfAPaste) {
  Connected c;
  c.cnx.SendStr(std::string(12u << 20, 'p'));
  platform::WaitAndProcessMessages(50);
  EXPECT_TRUE(c.cnx.Flowing());
  EXPECT_EQ(c.rec.closed_count, 0);
  c.cnx.Close();
  EXPECT_FALSE(c.cnx.Flowing());
  ASSERT_TRUE(c.server.Connect(c.cnx, c.rec));
  c.cnx.SendStr("x");
  EXPECT_EQ(c.server.TakeReplies(1), "x");
}

// Break and Are You There go out as bare commands, in order with the data;
// outside a session they send nothing and raise nothing.
TEST(TnSend, BreakAndAreYouThereAreCommandsInOrderWithData) {
  TTnCnx idle;
  EXPECT_FALSE(idle.SendBreak());
  EXPECT_FALSE(idle.SendAreYouThere());
  Connected c;
  c.cnx.SendStr("a\xff");
  EXPECT_TRUE(c.cnx.SendBreak());
  c.cnx.SendStr("b");
  EXPECT_TRUE(c.cnx.SendAreYouThere());
  EXPECT_EQ(c.server.TakeReplies(8), B({'a', 255, 255, 255, 243, 'b', 255, 246}));
  c.cnx.Close();
  EXPECT_FALSE(c.cnx.SendBreak());
}

TEST(TnSend, OutsideASessionRaises) {
  TTnCnx cnx;
  EXPECT_THROW(cnx.SendStr("x"), ESocketException);
}

TEST(TnSession, RemoteCloseIsForwardedOnce) {
  Connected c;
  c.server.Hangup();
  ASSERT_TRUE(PumpUntil([&] { return c.rec.closed_count > 0; }));
  EXPECT_EQ(c.rec.closed, 0);
  EXPECT_EQ(c.cnx.CnxSocket()->State(), TSocketState::Closed);
  platform::WaitAndProcessMessages(50);
  EXPECT_EQ(c.rec.closed_count, 1);
}

// What a receive call can answer besides data: the peer's end of stream, a
// failure, and "would block", which is not one.
TEST(TnReceive, EndOfStreamAndFailuresAreDisplayed) {
  struct Answer {
    int result, error;
    std::string display;
  };
  const std::vector<Answer> answers = {
      {0, 0, "\r\n**** Remote has closed ****\r\n"}, {-1, 10054, "\r\n**** ERROR: 10054 ****\r\n"}, {-1, 10035, ""}};
  for (const auto& a : answers) {
    ForwardingSockets sockets;
    ScriptedServer server;
    TTnCnx cnx(sockets);
    TnRecorder rec(cnx);
    ASSERT_TRUE(server.Connect(cnx, rec));
    bool answered = false;
    sockets.recv_hook = [&](int) {
      answered = true;
      sockets.SetLastError(a.error);
      return a.result;
    };
    ASSERT_TRUE(server.Send("x"));
    ASSERT_TRUE(PumpUntil([&] { return answered; }));
    sockets.recv_hook = nullptr;
    EXPECT_EQ(rec.display, a.display);
    EXPECT_EQ(rec.data, "");
  }
}

TEST(TnSession, CloseReportsOnceAndDestructionIsSilent) {
  auto c = std::make_unique<Connected>();
  c->cnx.Close();
  EXPECT_EQ(c->rec.closed_count, 1);
  c->cnx.Close();
  EXPECT_EQ(c->rec.closed_count, 1);

  ScriptedServer server;
  int closed = 0;
  {
    TTnCnx cnx;
    TnRecorder rec(cnx);
    ASSERT_TRUE(server.Connect(cnx, rec));
    cnx.OnSessionClosed = [&](TTnCnx&, std::uint16_t) { ++closed; };
  }
  EXPECT_EQ(closed, 0);
}

TEST(TnSession, RefusedConnectionReportsTheErrorThenTheClose) {
  TTnCnx cnx;
  TnRecorder rec(cnx);
  cnx.Host = "127.0.0.1";
  cnx.Port = FreePort();
  cnx.Connect();
  ASSERT_TRUE(PumpUntil([&] { return rec.closed_count > 0; }));
  EXPECT_EQ(rec.Events(), (std::vector<std::string>{"connected:10061", "closed:0"}));
}

// The connection's keepalive time is the one its socket gets, as the
// system reports it (Windows reports only that it is on).
TEST(TnSession, KeepAliveReachesTheSocket) {
  ScriptedServer server;
  TTnCnx cnx;
  TnRecorder rec(cnx);
  cnx.KeepAlive = 20;
  ASSERT_TRUE(server.Connect(cnx, rec));
  int seconds = -2;
  ASSERT_EQ(platform::SystemSockets().KeepAliveOf(cnx.CnxSocket()->HSocket(), seconds), 0);
#ifdef _WIN32
  EXPECT_EQ(seconds, -1);
#else
  EXPECT_EQ(seconds, 20);
#endif
}

// A handler that reconnects owns the new attempt: a retry after a refused
// connection, and a new session after the host closed.
TEST(TnSession, AReconnectFromAHandlerIsKept) {
  ScriptedServer server;
  TTnCnx retrying;
  TnRecorder rec(retrying);
  retrying.Host = "127.0.0.1";
  retrying.Port = FreePort();
  retrying.OnSessionConnected = [&](TTnCnx& c, std::uint16_t e) {
    rec.log.push_back("connected:" + std::to_string(e));
    rec.connected = e;
    c.Port = server.Port();
    if (e != 0) c.Connect();
  };
  retrying.Connect();
  ASSERT_TRUE(PumpUntil([&] { return rec.connected == 0; }));

  Connected c;
  c.cnx.OnSessionClosed = [&](TTnCnx& cnx, std::uint16_t e) {
    c.rec.log.push_back("closed:" + std::to_string(e));
    cnx.Connect();
  };
  c.rec.connected = -1;
  c.server.Hangup();
  ASSERT_TRUE(PumpUntil([&] { return c.rec.connected == 0; }));
  platform::WaitAndProcessMessages(50);
  EXPECT_EQ(rec.Events(), (std::vector<std::string>{"connected:10061", "closed:0", "connected:0"}));
  EXPECT_EQ(c.rec.Events(), (std::vector<std::string>{"connected:0", "closed:0", "connected:0"}));
  EXPECT_EQ(retrying.CnxSocket()->State(), TSocketState::Connected);
  EXPECT_EQ(c.cnx.CnxSocket()->State(), TSocketState::Connected);
}

// Window code destroys a connection from inside its own events: nothing of it
// may be touched afterwards (checked under AddressSanitizer).
TEST(TnLifetime, DestroyedInsideEachOfItsEvents) {
  const std::vector<std::pair<std::string, std::string>> triggers = {
      {"connected", ""},      {"data", "x" + B({255, 239})},  {"display", "x"},
      {"eor", B({255, 239})}, {"sendloc", B({255, 253, 23})}, {"termtype", B({255, 250, 24, 1, 255, 240})},
      {"closed", ""}};
  for (const auto& [event, bytes] : triggers) {
    SCOPED_TRACE(event);
    ForwardingSockets sockets;
    ScriptedServer server;
    auto cnx = std::make_unique<TTnCnx>(sockets);
    TnRecorder rec(*cnx);
    const auto destroy = [&](TTnCnx&) { cnx.reset(); };
    if (event == "connected") {
      cnx->OnSessionConnected = [&](TTnCnx& c, std::uint16_t) { destroy(c); };
      cnx->Host = "127.0.0.1";
      cnx->Port = server.Port();
      cnx->Connect();
    } else {
      ASSERT_TRUE(server.Connect(*cnx, rec));
    }
    if (event == "data") cnx->OnDataAvailable = [&](TTnCnx& c, const char*, int) { destroy(c); };
    if (event == "display") cnx->OnDisplay = [&](TTnCnx& c, const std::string&) { destroy(c); };
    if (event == "display") sockets.recv_hook = [](int) { return 0; };
    if (event == "eor") cnx->OnEndOfRecord = destroy;
    if (event == "sendloc") cnx->OnSendLoc = destroy;
    if (event == "termtype") cnx->OnTermType = destroy;
    if (event == "closed") cnx->OnSessionClosed = [&](TTnCnx& c, std::uint16_t) { destroy(c); };
    if (event == "closed") server.Hangup();
    ASSERT_TRUE(bytes.empty() || server.Send(bytes));
    EXPECT_TRUE(PumpUntil([&] { return !cnx; }));
    platform::WaitAndProcessMessages(20);
  }
}

// A session that ends inside a command must not swallow the next session's
// bytes: Connect starts a fresh parser.
TEST(TnParserState, EachSessionStartsClean) {
  const std::vector<std::string> unfinished = {B({255}), B({255, 251}), B({255, 250, 24, 1})};
  for (const auto& tail : unfinished) {
    Connected c;
    ASSERT_TRUE(c.server.Feed(c.cnx, "one" + tail));
    c.server.Hangup();
    ASSERT_TRUE(PumpUntil([&] { return c.rec.closed_count > 0; }));
    ASSERT_TRUE(c.server.Connect(c.cnx, c.rec));
    ASSERT_TRUE(c.server.Feed(c.cnx, "two"));
    EXPECT_EQ(c.rec.data, "onetwo");
    EXPECT_EQ(c.server.TakeReplies(0, 50), "");
  }
}

TEST(TnParserState, TwoConnectionsDoNotInterfere) {
  Connected a, b;
  ASSERT_TRUE(a.server.Feed(a.cnx, B({'a', 255, 250, 24, 1})));
  ASSERT_TRUE(b.server.Feed(b.cnx, B({'b', 255})));
  ASSERT_TRUE(a.server.Feed(a.cnx, B({255, 240, 'A'})));
  ASSERT_TRUE(b.server.Feed(b.cnx, B({255, 'B'})));
  EXPECT_EQ(a.rec.data, "aA");
  EXPECT_EQ(b.rec.data, B({'b', 255, 'B'}));
  std::string reply = B({255, 250, 24, 0}) + "VT100" + kIacSe;
  EXPECT_EQ(a.server.TakeReplies(reply.size()), reply);
  EXPECT_EQ(b.server.TakeReplies(0, 50), "");
}

TEST(TnTrace, NumberedLinesNameTheCommands) {
  std::vector<std::string> pieces;
  auto previous = platform::SetDiagnosticSink([&](std::string_view p) { pieces.emplace_back(p); });
  Connected c;
  ASSERT_TRUE(c.server.Feed(c.cnx, B({244, 255, 241, 255, 239, 248, 255, 255})));
  platform::SetDiagnosticSink(previous);

  ASSERT_EQ(pieces.size(), 8u);
  EXPECT_EQ(pieces[1], "TNCH_IP\r\n");
  EXPECT_EQ(pieces[3], "Unknown F1 '\xf1'\r\n");
  EXPECT_EQ(pieces[5], "TNCH_EOR\r\n");
  EXPECT_EQ(pieces[7], "TNCH_EL\r\n");
  long first = std::strtol(pieces[0].c_str(), nullptr, 16);
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(pieces[2 * i].size(), 5u);
    EXPECT_EQ(pieces[2 * i].back(), ' ');
    EXPECT_EQ(std::strtol(pieces[2 * i].c_str(), nullptr, 16), first + i);
  }
  EXPECT_EQ(c.rec.data, B({244, 248, 255}));
}

}  // namespace
}  // namespace corvane::tntest
