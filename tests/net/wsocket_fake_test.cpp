// TWSocket against a scripted sockets library: resolution, Connect's checks
// and options, the send queue, the close retry and the notification handler.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fake_sockets.h"
#include "loopback_peer.h"
#include "net/wsocket.h"
#include "platform/diagnostics.h"

namespace corvane {
namespace {

using test::FakeSockets;
using test::PumpFor;
using test::PumpUntil;

std::string StateName(TSocketState s) {
  static const char* const kNames[] = {"Invalid",   "Opened",    "Bound",     "Connecting",
                                       "Connected", "Accepting", "Listening", "Closed"};
  return kNames[static_cast<int>(s)];
}

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 23 + i / 1000);
  return s;
}

class FakeSocketTest : public ::testing::Test {
 protected:
  FakeSocketTest() {
    sock.OnChangeState = [this](TWSocket&, TSocketState, TSocketState to) { log.push_back(StateName(to)); };
    sock.OnSessionConnected = [this](TWSocket&, std::uint16_t e) { log.push_back("connected " + std::to_string(e)); };
    sock.OnSessionClosed = [this](TWSocket&, std::uint16_t e) { log.push_back("closed " + std::to_string(e)); };
    sock.OnDataSent = [this](TWSocket&, std::uint16_t e) { log.push_back("sent " + std::to_string(e)); };
  }

  void Assign() {
    sock.SetPort("23");
    sock.SetAddr("127.0.0.1");
  }

  void Deliver(std::uint32_t bits, std::uint32_t error = 0,
               platform::MessageWord handle = static_cast<platform::MessageWord>(FakeSockets::kHandle)) {
    ASSERT_TRUE(
        platform::PostToWindow(sock.NotificationWindow(), TWSocket::kNotifyMessage, handle, bits | (error << 16)));
    platform::ProcessMessages();
  }

  void ConnectUp() {
    Assign();
    sock.Connect();
    Deliver(platform::kFdConnect);
    log.clear();
  }

  // The error a message handler raised into the loop, once it has.
  std::string LoopFailure() {
    std::string failure;
    const auto before = platform::SetHandlerExceptionSink([&](const std::string& m) { failure = m; });
    PumpUntil([&] { return !failure.empty(); });
    platform::SetHandlerExceptionSink(before);
    return failure;
  }

  std::string Raised(const std::function<void()>& action) {
    try {
      action();
    } catch (const ESocketException& e) {
      return e.what();
    }
    return "(nothing raised)";
  }

  // Declared before the socket: its destructor still raises state events.
  std::vector<std::string> log;
  FakeSockets fake;
  TWSocket sock{fake};
};

using Log = std::vector<std::string>;

TEST_F(FakeSocketTest, PortNamesAreTrimmedAndLookedUpUnderTheCurrentProtocol) {
  sock.SetPort("  telnet  ");
  EXPECT_EQ(fake.service_name, "telnet");
  EXPECT_EQ(fake.service_protocol, "tcp");  // "tcp" is what the reset leaves
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  EXPECT_EQ(fake.connected_to.port, platform::HostToNet16(23));
  EXPECT_EQ(fake.connected_to.Ipv4(), platform::HostToNet32(0x7f000001));
  EXPECT_EQ(fake.connected_to.family, 2);
}

TEST_F(FakeSocketTest, NumericPortsTakeTheLeadingDigits) {
  sock.SetPort(" 8080xyz");
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  EXPECT_EQ(fake.connected_to.port, platform::HostToNet16(8080));
  EXPECT_TRUE(fake.service_name.empty());
}

TEST_F(FakeSocketTest, PortsBeyond65535AreRejectedNotWrapped) {
  EXPECT_EQ(Raised([&] { sock.SetPort("65536"); }),
            "Error 10022 in function SetPort: Cannot convert port '65536'\r\nInvalid argument");
  EXPECT_EQ(Raised([&] { sock.SetPort("123456789012345678901234567890"); }).substr(0, 60),
            "Error 10022 in function SetPort: Cannot convert port '123456");
  sock.SetAddr("127.0.0.1");
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: No Port Specified");
  sock.SetPort("65535");
  sock.Connect();
  EXPECT_EQ(fake.connected_to.port, platform::HostToNet16(65535));
}

TEST_F(FakeSocketTest, OverlongServiceNamesAreRejectedNeverCut) {
  const std::string longest(31, 's');
  EXPECT_EQ(Raised([&] { sock.SetPort(longest); }),
            "Error 11004 in function SetPort: Cannot convert port '" + longest + "'\r\nNo Data");
  EXPECT_EQ(fake.service_name, longest);
  fake.service_name.clear();
  const std::string too_long(32, 's');
  EXPECT_NE(Raised([&] { sock.SetPort(too_long); }).find("SetPort: Cannot convert port '" + too_long + "'"),
            std::string::npos);
  EXPECT_TRUE(fake.service_name.empty());
  EXPECT_NE(Raised([&] { sock.SetPort(std::string("tel\0net", 7)); }), "(nothing raised)");
  EXPECT_TRUE(fake.service_name.empty());
}

TEST_F(FakeSocketTest, ProtocolNumbersOverflowingAreRejected) {
  EXPECT_EQ(Raised([&] { sock.SetProto("4294967296"); }),
            "Error 10022 in function SetProto: Cannot convert protocol '4294967296'\r\nInvalid argument");
  Assign();
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: No Protocol Specified");
}

TEST_F(FakeSocketTest, ProtocolLookupFailureAndTheNotFoundText) {
  fake.protocol_lookup_fails = true;
  EXPECT_EQ(Raised([&] { sock.SetProto(" bogus "); }),
            "Error 11004 in function SetProto: Cannot convert protocol 'bogus'\r\nNo Data");
  sock.SetProto(" not found ");  // leaves the flag as it was: still unassigned
  Assign();
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: No Protocol Specified");
  EXPECT_EQ(sock.Proto(), " not found ");
}

TEST_F(FakeSocketTest, UdpBroadcastIsSetUpWithoutNotifications) {
  sock.SetProto("udp");
  sock.SetPort("23");
  sock.SetAddr("255.255.255.255");
  EXPECT_EQ(fake.host_calls, 0);
  sock.Connect();
  EXPECT_EQ(log, (Log{"Opened", "Connecting", "Connected"}));
  EXPECT_EQ(fake.async_selects, 0);
  ASSERT_EQ(fake.options.size(), 1u);
  EXPECT_EQ(fake.options[0].option, platform::kSoBroadcast);
  EXPECT_EQ(fake.options[0].value, (std::vector<unsigned char>{1, 0, 0, 0}));
  EXPECT_EQ(fake.connected_to.Ipv4(), 0u);  // a datagram socket is not connected
  sock.Send("dgram");
  EXPECT_EQ(fake.sent, (std::vector<std::string>{"dgram"}));
}

// Bounds are checked at once; a name that is not found is reported from
// the loop, once its lookup has answered, and ends the attempt quietly.
TEST_F(FakeSocketTest, HostNamesAreBoundedAndQuotedAsGiven) {
  const std::string too_long(257, 'h');
  EXPECT_EQ(Raised([&] { sock.SetAddr(too_long); }), "SetAddr: Cannot convert host address '" + too_long + "'");
  EXPECT_EQ(Raised([&] { sock.SetAddr("   "); }), "SetAddr: Cannot convert host address '   '");
  sock.SetPort("23");
  sock.SetAddr("  nowhere  ");
  sock.Connect();
  EXPECT_EQ(LoopFailure(), "SetAddr: Cannot convert host address '  nowhere  '");
  EXPECT_EQ(log, (Log{"Connecting", "Closed"}));
  EXPECT_EQ(fake.host_calls, 1);
  sock.SetAddr("known.example");
  sock.SetPort("23");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return !fake.connects.empty(); }));
  EXPECT_EQ(fake.connected_to.Ipv4(), platform::HostToNet32(0x0a000001));
}

// The window's thread goes on while the resolver is silent; Close ends the
// attempt at once, and the late answer is ignored.
TEST_F(FakeSocketTest, ALookupThatNeverAnswersHoldsNothingUp) {
  fake.lookup_gate = std::make_shared<test::LookupGate>();
  sock.SetPort("23");
  sock.SetAddr("known.example");
  sock.Connect();
  EXPECT_EQ(sock.State(), TSocketState::Connecting);
  bool handled = false;
  platform::MessageWindow other([&](std::uint32_t, platform::MessageWord, platform::MessageLong) { handled = true; });
  other.Post(platform::kUserMessage, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return handled && fake.host_calls == 1; }));
  sock.Close();
  EXPECT_EQ(sock.State(), TSocketState::Closed);
  fake.lookup_gate->Open();
  PumpFor(50);
  EXPECT_TRUE(fake.families.empty());
  EXPECT_EQ(log, (Log{"Connecting", "Closed"}));
}

// A new Connect while a lookup waits: only the new name's answer counts.
TEST_F(FakeSocketTest, ANewConnectAbandonsThePendingLookup) {
  fake.lookup_gate = std::make_shared<test::LookupGate>();
  fake.hosts["second.example"] = {test::Ipv4(10, 0, 0, 2)};
  sock.SetPort("23");
  sock.SetAddr("known.example");
  sock.Connect();
  sock.Close();
  sock.SetPort("23");
  sock.SetAddr("second.example");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return fake.host_calls == 2; }));
  fake.lookup_gate->Open();
  ASSERT_TRUE(PumpUntil([&] { return !fake.connects.empty(); }));
  PumpFor(50);
  ASSERT_EQ(fake.connects.size(), 1u);
  EXPECT_EQ(fake.connects[0].Ipv4(), test::Ipv4(10, 0, 0, 2).Ipv4());
}

TEST(FakeSocketLookup, DestroyingTheSocketAbandonsItsLookup) {
  FakeSockets fake;
  fake.lookup_gate = std::make_shared<test::LookupGate>();
  auto sock = std::make_unique<TWSocket>(fake);
  sock->SetPort("23");
  sock->SetAddr("known.example");
  sock->Connect();
  ASSERT_TRUE(PumpUntil([&] { return fake.host_calls == 1; }));
  sock.reset();
  fake.lookup_gate->Open();
  PumpFor(50);
  EXPECT_TRUE(fake.families.empty());
}

// A refusal moves on to the next address; the first to connect is kept.
TEST_F(FakeSocketTest, EveryAddressOfANameIsTriedInTurn) {
  fake.hosts["multi.example"] = {test::Ipv6Loopback(), test::Ipv4(10, 0, 0, 1), test::Ipv4(10, 0, 0, 2)};
  sock.SetPort("23");
  sock.SetAddr("multi.example");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return fake.connects.size() == 1; }));
  EXPECT_EQ(fake.connects[0].family, platform::kAfInet6);
  EXPECT_EQ(platform::NetToHost16(fake.connects[0].port), 23);
  Deliver(platform::kFdConnect, platform::kWsaEConnRefused);
  ASSERT_EQ(fake.connects.size(), 2u);
  EXPECT_EQ(fake.connects[1].Ipv4(), test::Ipv4(10, 0, 0, 1).Ipv4());
  Deliver(platform::kFdConnect);
  EXPECT_EQ(fake.families, (std::vector<int>{platform::kAfInet6, platform::kAfInet}));
  EXPECT_EQ(log, (Log{"Connecting", "Opened", "Connecting", "Opened", "Connecting", "Connected", "connected 0"}));
  EXPECT_EQ(fake.close_calls, 1);
}

// A socket the system cannot make is skipped like a refusal; the last
// address's error, early or late, ends the session as a refusal does.
TEST_F(FakeSocketTest, WhenEveryAddressFailsTheLastErrorIsReported) {
  fake.hosts["pair.example"] = {test::Ipv6Loopback(), test::Ipv4(10, 0, 0, 1)};
  fake.socket_failures = 1;
  sock.SetPort("23");
  sock.SetAddr("pair.example");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return fake.connects.size() == 1; }));
  Deliver(platform::kFdConnect, platform::kWsaETimedOut);
  EXPECT_EQ(log, (Log{"Connecting", "Opened", "Connecting", "Connected", "connected 10060", "Closed", "closed 0"}));

  log.clear();
  fake.socket_failures = 2;
  sock.SetPort("23");
  sock.SetAddr("pair.example");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return log.size() >= 4; }));
  EXPECT_EQ(log, (Log{"Connecting", "Connected", "connected 10047", "Closed", "closed 0"}));
}

TEST_F(FakeSocketTest, Ipv6LiteralsNeedNoLookup) {
  sock.SetPort("23");
  sock.SetAddr(" ::1 ");
  sock.Connect();
  EXPECT_EQ(fake.host_calls, 0);
  EXPECT_EQ(fake.connected_to.family, platform::kAfInet6);
  EXPECT_EQ(fake.connected_to.bytes, test::Ipv6Loopback().bytes);
  EXPECT_EQ(log, (Log{"Opened", "Connecting"}));
}

TEST_F(FakeSocketTest, KeepAliveTimeGoesToEachSocketAndZeroTurnsItOff) {
  Assign();
  sock.Connect();
  EXPECT_EQ(fake.keep_alives, (std::vector<int>{60}));
  sock.Close();
  sock.SetKeepAlive(0);
  Assign();
  sock.Connect();
  EXPECT_EQ(fake.keep_alives, (std::vector<int>{60}));
  ASSERT_EQ(fake.options.size(), 6u);
  EXPECT_EQ(fake.options[4].option, platform::kSoKeepAlive);
  EXPECT_EQ(fake.options[4].value, (std::vector<unsigned char>{0, 0, 0, 0}));
}

TEST_F(FakeSocketTest, TheSameAddressResolvesOnceUntilAClose) {
  sock.SetAddr("127.0.0.1");
  sock.SetAddr("127.0.0.1");
  EXPECT_EQ(fake.inet_calls, 1);
  sock.SetPort("23");
  sock.Connect();
  sock.Close();
  sock.SetAddr("127.0.0.1");
  EXPECT_EQ(fake.inet_calls, 2);
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: No Port Specified");
}

TEST_F(FakeSocketTest, ConnectChecksComeInOrder) {
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: No Port Specified");
  sock.SetPort("23");
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: No IP Address Specified");
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  EXPECT_EQ(Raised([&] { sock.Connect(); }), "Connect: Socket already in use");
}

TEST_F(FakeSocketTest, ConnectSetsOptionsAsksForNotificationsAndStarts) {
  Assign();
  sock.Connect();
  ASSERT_EQ(fake.options.size(), 3u);
  EXPECT_EQ(fake.options[0].option, platform::kSoLinger);
  EXPECT_EQ(fake.options[0].value, (std::vector<unsigned char>{1, 0, 0, 0}));
  EXPECT_EQ(fake.options[1].option, platform::kSoKeepAlive);
  EXPECT_EQ(fake.options[1].value, (std::vector<unsigned char>{0xff, 0xff, 0xff, 0xff}));
  EXPECT_EQ(fake.options[2].option, platform::kSoReuseAddr);
  EXPECT_EQ(fake.async_message, 1025u);
  EXPECT_EQ(fake.async_mask, 51u);
  EXPECT_EQ(log, (Log{"Opened", "Connecting"}));
  EXPECT_EQ(sock.HSocket(), FakeSockets::kHandle);
}

TEST_F(FakeSocketTest, AFailingOptionNamesItself) {
  fake.fail_option = platform::kSoKeepAlive;
  Assign();
  EXPECT_EQ(Raised([&] { sock.Connect(); }),
            "Error 10042 in function setsockopt(SO_KEEPALIVE)\r\nProtocol not available");
}

TEST_F(FakeSocketTest, SendOnAClosedSocketRaises10057) {
  const std::string expected = "Error 10057 in function Send\r\nSocket is not connected";
  EXPECT_EQ(Raised([&] { sock.Send("abc"); }), expected);
  EXPECT_EQ(Raised([&] { sock.Send("", 0); }), expected);  // the state check comes first
  EXPECT_EQ(sock.State(), TSocketState::Closed);
  EXPECT_TRUE(fake.offered.empty());
}

TEST_F(FakeSocketTest, ZeroLengthSendOnAConnectedSocketDoesNothing) {
  ConnectUp();
  EXPECT_EQ(sock.Send("", 0), 0);
  platform::ProcessMessages();
  EXPECT_TRUE(fake.offered.empty());
  EXPECT_TRUE(log.empty());
}

TEST_F(FakeSocketTest, DataIsQueuedInBlocksBeforeTheFirstSend) {
  ConnectUp();
  const std::string data = Pattern(1514 * 2 + 72);
  fake.send_script = {-platform::kWsaEWouldBlock};
  EXPECT_EQ(sock.Send(data), static_cast<std::int32_t>(data.size()));
  EXPECT_EQ(fake.offered, (std::vector<int>{1514}));
  ASSERT_EQ(sock.SendQueue().BlockCount(), 3u);
  EXPECT_EQ(sock.SendQueue().Block(2).WriteCount(), 72);
  Deliver(platform::kFdWrite);
  EXPECT_EQ(fake.offered, (std::vector<int>{1514, 1514, 1514, 72}));
  EXPECT_EQ(fake.sent[0] + fake.sent[1] + fake.sent[2], data);
  EXPECT_EQ(log, (Log{"sent 0"}));
  EXPECT_EQ(sock.SendQueue().BlockCount(), 1u);  // the last block stays, rewound
  EXPECT_EQ(sock.SendQueue().PendingBytes(), 0);
}

TEST_F(FakeSocketTest, APartialSendResumesAtTheReadPosition) {
  ConnectUp();
  const std::string data = Pattern(1514);
  fake.send_script = {1000, -platform::kWsaEWouldBlock, -platform::kWsaEWouldBlock};
  sock.Send(data);
  EXPECT_EQ(fake.sent, (std::vector<std::string>{data.substr(0, 1000)}));
  sock.Send("tail");  // queued behind; the socket still would block
  EXPECT_TRUE(log.empty());
  Deliver(platform::kFdWrite);
  EXPECT_EQ(fake.offered, (std::vector<int>{1514, 514, 514, 514, 4}));
  ASSERT_EQ(fake.sent.size(), 3u);
  EXPECT_EQ(fake.sent[1], data.substr(1000));
  EXPECT_EQ(fake.sent[2], "tail");
  EXPECT_EQ(log, (Log{"sent 0"}));
}

TEST_F(FakeSocketTest, OnDataSentFollowsAfterSendReturned) {
  ConnectUp();
  sock.Send("x");
  EXPECT_TRUE(log.empty());
  platform::ProcessMessages();
  EXPECT_EQ(log, (Log{"sent 0"}));
}

TEST_F(FakeSocketTest, ConnectionLossWhileSendingClosesQuietlyAndDropsTheData) {
  ConnectUp();
  fake.send_script = {-platform::kWsaEConnReset};
  EXPECT_NO_THROW(sock.Send("lost?"));
  EXPECT_EQ(log, (Log{"Closed", "closed 0"}));
  EXPECT_EQ(sock.SendQueue().PendingBytes(), 0);
  platform::ProcessMessages();
  EXPECT_EQ(log.size(), 2u);
}

// Keystrokes typed for one host never reach the next one.
TEST_F(FakeSocketTest, UnsentBytesEndWithTheirSession) {
  for (const bool peer_closed : {false, true}) {
    ConnectUp();
    fake.sent.clear();
    fake.send_script = {-platform::kWsaEWouldBlock};
    sock.Send("secret");
    peer_closed ? Deliver(platform::kFdClose) : sock.Close();
    ConnectUp();
    sock.Send("two");
    Deliver(platform::kFdWrite);
    EXPECT_EQ(fake.sent, (std::vector<std::string>{"two"}));
    sock.Close();
  }
}

// A key typed while connecting belongs to the session being set up.
TEST_F(FakeSocketTest, BytesSentWhileConnectingWaitForTheConnection) {
  for (const std::uint32_t error : {0u, static_cast<std::uint32_t>(platform::kWsaEConnRefused)}) {
    Assign();
    sock.Connect();
    log.clear();
    EXPECT_EQ(sock.Send("early"), 5);
    EXPECT_TRUE(fake.offered.empty());
    Deliver(platform::kFdConnect, error);
    if (error == 0) Deliver(platform::kFdWrite);
    const std::string connected = "connected " + std::to_string(error);
    const Log expected =
        error == 0 ? Log{"Connected", connected, "sent 0"} : Log{"Connected", connected, "Closed", "closed 0"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(fake.sent, std::vector<std::string>(error == 0 ? 1 : 0, "early"));
    sock.Close();
    fake.sent.clear();
    fake.offered.clear();
  }
}

// One closed event per session: after a reconnect from the closed handler,
// and when the data handler closes while a peer close drains pending data.
TEST_F(FakeSocketTest, EachSessionReportsItsCloseExactlyOnce) {
  ConnectUp();
  sock.OnSessionClosed = [&](TWSocket& s, std::uint16_t e) {
    log.push_back("closed " + std::to_string(e));
    if (log.size() < 3) s.Connect();
  };
  sock.Close();
  Deliver(platform::kFdConnect);
  sock.Close();
  EXPECT_EQ(log, (Log{"Closed", "closed 0", "Opened", "Connecting", "Connected", "connected 0", "Closed", "closed 0"}));

  int closes = 0;
  sock.OnSessionClosed = [&](TWSocket&, std::uint16_t) { ++closes; };
  ConnectUp();
  fake.pending = 10;
  fake.recv_result = 10;
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    char buffer[16];
    s.Receive(buffer, sizeof buffer);
    fake.pending = 0;
    s.Close();
  };
  Deliver(platform::kFdClose);
  EXPECT_EQ(closes, 1);
  ConnectUp();
  sock.Close();
  EXPECT_EQ(closes, 2);
}

// A host that never reads cannot grow the client without bound.
TEST_F(FakeSocketTest, ASendBeyondTheQueueLimitEndsTheSession) {
  ConnectUp();
  fake.send_script.assign(4, -platform::kWsaEWouldBlock);
  const std::string mebibyte(1 << 20, 'q');
  for (int i = 0; i < 4; ++i) sock.Send(mebibyte);
  EXPECT_EQ(Raised([&] { sock.Send("x"); }), "Error 10055 in function Send (queue full)\r\nNo buffer space available");
  EXPECT_EQ(log, (Log{"Closed", "closed 10055"}));
  EXPECT_EQ(sock.SendQueue().PendingBytes(), 0);
}

TEST_F(FakeSocketTest, UnexpectedSendErrorsRaise) {
  ConnectUp();
  fake.send_script = {-platform::kWsaENoBufs};
  EXPECT_EQ(Raised([&] { sock.Send("x"); }), "Error 10055 in function TryToSend failed\r\nNo buffer space available");
}

TEST_F(FakeSocketTest, CloseRetriesAWouldBlockCloseAndThenSucceeds) {
  ConnectUp();
  fake.close_failures = 3;
  sock.Close();
  EXPECT_EQ(fake.close_calls, 4);
  EXPECT_EQ(log, (Log{"Closed", "closed 0"}));
  EXPECT_EQ(sock.HSocket(), platform::kInvalidSocket);
}

TEST_F(FakeSocketTest, CloseRetryGivesUpAfterABoundedNumberOfTries) {
  ConnectUp();
  fake.close_failures = 1'000'000;
  EXPECT_EQ(Raised([&] { sock.Close(); }), "Error 10035 in function Disconnect (closesocket)\r\nOperation would block");
  EXPECT_EQ(fake.close_calls, TWSocket::kCloseRetries + 1);
  EXPECT_EQ(sock.State(), TSocketState::Connected);
  fake.close_failures = 0;
  sock.Close();
  EXPECT_EQ(log, (Log{"Closed", "closed 0"}));
}

TEST_F(FakeSocketTest, CloseOnAClosedSocketRaisesNothing) {
  sock.Close();
  Assign();
  sock.Connect();
  sock.Close();
  log.clear();
  sock.Close();
  EXPECT_TRUE(log.empty());
}

TEST_F(FakeSocketTest, AFailedConnectClosesAfterReportingIt) {
  Assign();
  sock.Connect();
  Deliver(platform::kFdConnect, platform::kWsaEConnRefused);
  EXPECT_EQ(log, (Log{"Opened", "Connecting", "Connected", "connected 10061", "Closed", "closed 0"}));
}

TEST_F(FakeSocketTest, NotificationsForAnotherHandleAreDropped) {
  Assign();
  sock.Connect();
  log.clear();
  Deliver(platform::kFdConnect, 0, static_cast<platform::MessageWord>(FakeSockets::kHandle + 1));
  EXPECT_TRUE(log.empty());
  Deliver(platform::kFdClose);  // ignored while connecting
  EXPECT_TRUE(log.empty());
}

TEST_F(FakeSocketTest, TheReadLoopRepeatsWhileBytesArePending) {
  ConnectUp();
  int calls = 0;
  fake.pending = 100;
  fake.recv_result = 10;
  char buffer[16];
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    s.Receive(buffer, sizeof buffer);
    if (++calls == 3) fake.pending = 0;
  };
  Deliver(platform::kFdRead);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(sock.ReadCount(), 30);
}

TEST_F(FakeSocketTest, AHandlerThatDoesNotReadIsNotCalledForever) {
  ConnectUp();
  int calls = 0;
  fake.pending = 100;
  sock.OnDataAvailable = [&](TWSocket&, std::uint16_t) { ++calls; };
  Deliver(platform::kFdRead);
  EXPECT_EQ(calls, 1);
}

TEST_F(FakeSocketTest, AFailedReceiveEndsTheReadLoop) {
  ConnectUp();
  int calls = 0;
  fake.pending = 100;
  fake.recv_result = -1;
  fake.SetLastError(platform::kWsaEWouldBlock);
  char buffer[16];
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    ++calls;
    s.Receive(buffer, sizeof buffer);
  };
  Deliver(platform::kFdRead);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(sock.LastError(), platform::kWsaEWouldBlock);
}

TEST_F(FakeSocketTest, ExceptionsFromTheDataHandlerAreReportedOnce) {
  ConnectUp();
  std::vector<std::string> escaped;
  auto previous = platform::SetHandlerExceptionSink([&](const std::string& m) { escaped.push_back(m); });
  int calls = 0;
  fake.pending = 100;
  fake.recv_result = 1;
  char buffer[1];
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    ++calls;
    s.Receive(buffer, 1);
    throw std::runtime_error("handler failed");
  };
  Deliver(platform::kFdRead | platform::kFdClose);
  platform::SetHandlerExceptionSink(previous);
  EXPECT_EQ(calls, 2);  // once for the read, once for the data pending at the close
  EXPECT_EQ(escaped, (std::vector<std::string>{"handler failed"}));
  EXPECT_EQ(log, (Log{"closed 0", "Closed"}));
}

TEST_F(FakeSocketTest, APeerCloseDeliversEverythingPendingBeforeClosing) {
  ConnectUp();
  fake.pending = 5000;
  std::vector<int> reads;
  char buffer[2048];
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    const int n = static_cast<int>(std::min<std::uint32_t>(fake.pending, sizeof buffer));
    fake.recv_result = n;
    s.Receive(buffer, sizeof buffer);
    fake.pending -= static_cast<std::uint32_t>(n);
    reads.push_back(n);
    log.push_back("data");
  };
  Deliver(platform::kFdClose);
  EXPECT_EQ(reads, (std::vector<int>{2048, 2048, 904}));
  EXPECT_EQ(log, (Log{"data", "data", "data", "closed 0", "Closed"}));
}

// A flooding host cannot hold the thread: one notification reads a bounded
// amount, and a close waits behind the rest of the data.
TEST_F(FakeSocketTest, ANotificationReadsABoundedAmount) {
  ConnectUp();
  fake.pending = 1 << 20;
  fake.recv_result = 2048;
  int reads = 0;
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    char buffer[2048];
    s.Receive(buffer, sizeof buffer);
    fake.pending -= 2048;
    ++reads;
  };
  Deliver(platform::kFdRead);
  EXPECT_EQ(reads, 32);
  Deliver(platform::kFdClose);
  EXPECT_EQ(reads, 64);
  EXPECT_TRUE(log.empty());
  for (int turn = 0; turn < 1000 && log.empty(); ++turn) platform::ProcessMessages();
  EXPECT_EQ(reads, 512);
  EXPECT_EQ(log, (Log{"closed 0", "Closed"}));
}

TEST_F(FakeSocketTest, ReadCountStopsAtTheLargest32BitValue) {
  ConnectUp();
  fake.recv_result = 1 << 30;
  char buffer[1];
  for (int i = 0; i < 3; ++i) sock.Receive(buffer, 1);
  EXPECT_EQ(sock.ReadCount(), INT32_MAX);
}

TEST_F(FakeSocketTest, ClosingFromAStateHandlerDuringConnectStopsIt) {
  Assign();
  sock.OnChangeState = [this](TWSocket& s, TSocketState, TSocketState to) {
    log.push_back(StateName(to));
    if (to == TSocketState::Opened) s.Close();
  };
  EXPECT_NO_THROW(sock.Connect());
  EXPECT_EQ(log, (Log{"Opened", "Closed", "closed 0"}));
  EXPECT_EQ(fake.async_selects, 0);
  EXPECT_EQ(sock.State(), TSocketState::Closed);
}

TEST_F(FakeSocketTest, DestroyingAnOpenSocketIsSilent) {
  auto owned = std::make_unique<TWSocket>(fake);
  int closed = 0;
  owned->OnSessionClosed = [&](TWSocket&, std::uint16_t) { ++closed; };
  owned->SetPort("23");
  owned->SetAddr("127.0.0.1");
  owned->Connect();
  owned.reset();
  EXPECT_EQ(closed, 0);
  EXPECT_EQ(fake.close_calls, 1);
}

TEST_F(FakeSocketTest, ACloseFailingDuringDestructionIsReportedNotThrown) {
  std::string diagnostics;
  auto previous = platform::SetDiagnosticSink([&](std::string_view piece) { diagnostics += piece; });
  {
    auto owned = std::make_unique<TWSocket>(fake);
    owned->SetPort("23");
    owned->SetAddr("127.0.0.1");
    owned->Connect();
    fake.close_failures = 1'000'000;
  }
  platform::SetDiagnosticSink(previous);
  EXPECT_NE(diagnostics.find("Error 10035 in function Disconnect (closesocket)"), std::string::npos) << diagnostics;
}

// Window code destroys a socket from inside its own events: whatever raised
// the event must not touch it afterwards (checked under AddressSanitizer).
TEST(FakeSocketLifetime, DestroyedInsideEachOfItsEvents) {
  for (const std::string event :
       {"Opened", "Connecting", "Connected", "Closed", "connected", "data", "sent", "closed"}) {
    for (const std::uint32_t error : {0u, 10061u}) {
      for (const bool peer_closes : {false, true}) {
        SCOPED_TRACE(event + " " + std::to_string(error) + (peer_closes ? " peer close" : " close"));
        FakeSockets fake;
        fake.recv_result = 4;
        auto owned = std::make_unique<TWSocket>(fake);
        const platform::WindowId window = owned->NotificationWindow();
        const auto at = [&](const std::string& here) {
          if (here == event) owned.reset();
        };
        owned->OnChangeState = [&](TWSocket&, TSocketState, TSocketState to) { at(StateName(to)); };
        owned->OnSessionConnected = [&](TWSocket&, std::uint16_t) { at("connected"); };
        owned->OnDataSent = [&](TWSocket&, std::uint16_t) { at("sent"); };
        owned->OnSessionClosed = [&](TWSocket&, std::uint16_t) { at("closed"); };
        owned->OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
          char buffer[4];
          s.Receive(buffer, sizeof buffer);
          fake.pending = 0;
          at("data");
        };
        const auto deliver = [&](std::uint32_t bits) {
          if (owned) platform::PostToWindow(window, TWSocket::kNotifyMessage, FakeSockets::kHandle, bits);
          platform::ProcessMessages();
        };
        owned->SetPort("23");
        owned->SetAddr("127.0.0.1");
        owned->Connect();
        deliver(platform::kFdConnect | (error << 16));
        fake.pending = 4;
        if (owned && owned->State() == TSocketState::Connected) deliver(platform::kFdRead);
        if (owned && owned->State() == TSocketState::Connected) owned->Send("x");
        deliver(peer_closes ? platform::kFdClose : 0);
        if (owned) owned->Close();
        EXPECT_TRUE(!owned || (error != 0 && (event == "data" || event == "sent")));
      }
    }
  }
}

}  // namespace
}  // namespace corvane
