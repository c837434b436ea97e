// The demo host program as a user meets it: started on a port, reached by the
// telnet connection, stopped by a signal.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/support/child_process.h"
#include "tests/telnet/telnet_peer.h"

namespace corvane::tntest {
namespace {

struct DemoClient {
  TTnCnx cnx;
  TnRecorder rec{cnx};

  bool ConnectTo(const std::string& port) {
    cnx.Host = "127.0.0.1";
    cnx.Port = port;
    // The host needs a moment before it listens; a refused attempt is retried.
    for (int attempt = 0; attempt < 50 && rec.connected != 0; ++attempt) {
      rec.connected = -1;
      cnx.Connect();
      PumpUntil([&] { return rec.connected >= 0; });
      if (rec.connected != 0) platform::WaitAndProcessMessages(50);
    }
    rec.closed_count = 0;  // refused attempts do not count
    return rec.connected == 0;
  }
  bool WaitFor(const std::string& text) {
    return PumpUntil([&] { return Heard(text); });
  }
  bool Heard(const std::string& text) const { return rec.data.find(text) != std::string::npos; }
};

// Everything a plain client receives until the host closes (or 5 s pass).
std::string ReadToEnd(platform::TcpStream& stream) {
  std::string received;
  char buffer[65536];
  for (int n; (n = stream.ReceiveWait(buffer, sizeof buffer, 5000)) > 0;) received.append(buffer, n);
  return received;
}

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(DemoHostProgram, GreetsEachClientAndNamesTheKeysItReceives) {
  std::string port = FreePort();
  test::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port});
  ASSERT_TRUE(host.Started());

  DemoClient first, second;
  first.cnx.Location = "Desk 7";
  ASSERT_TRUE(first.ConnectTo(port));
  ASSERT_TRUE(second.ConnectTo(port));
  ASSERT_TRUE(first.WaitFor("Hello! Terminal type: VT100, location: Desk 7."));
  ASSERT_TRUE(second.WaitFor("Hello! Terminal type: VT100, location: TNCNX."));

  first.cnx.SendStr("\x1b[A");
  EXPECT_TRUE(first.WaitFor("ESC [ A                   1B 5B 41"));
  first.cnx.SendStr("\x1bOP");
  EXPECT_TRUE(first.WaitFor("ESC O P                   1B 4F 50"));
  first.cnx.SendStr("\xff");
  EXPECT_TRUE(first.WaitFor("0xFF                      FF"));
  first.cnx.SendStr("q");
  EXPECT_TRUE(first.WaitFor("Goodbye."));
  EXPECT_TRUE(PumpUntil([&] { return first.rec.closed_count > 0; }));

  // The other session is untouched by the first one's end.
  second.cnx.SendStr("a");
  EXPECT_TRUE(second.WaitFor("\r\n  a                         61"));

  host.Signal(15);
  ASSERT_TRUE(host.Wait(3000));
  EXPECT_EQ(host.ExitCode(), 0);
}

TEST(DemoHostProgram, TurnsAwayClientsBeyondItsLimit) {
  std::string port = FreePort();
  test::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port, "--max-clients", "1"});
  DemoClient first, second;
  ASSERT_TRUE(first.ConnectTo(port));
  ASSERT_TRUE(first.WaitFor("Hello!"));
  ASSERT_TRUE(second.ConnectTo(port));
  EXPECT_TRUE(second.WaitFor("The demo host is busy; please try again later.\r\n"));
  EXPECT_TRUE(PumpUntil([&] { return second.rec.closed_count > 0; }));
  EXPECT_EQ(first.rec.closed_count, 0);
}

// The system queues the crowd; every client hears the host speak first.
TEST(DemoHostProgram, ServesACrowdArrivingAtOnceOrTellsItTheHostIsBusy) {
  std::string port = FreePort();
  test::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port, "--max-clients", "150"});
  DemoClient first;
  ASSERT_TRUE(first.ConnectTo(port));
  std::vector<std::unique_ptr<DemoClient>> crowd(199);
  for (auto& client : crowd) {
    client = std::make_unique<DemoClient>();
    client->cnx.Host = "127.0.0.1";
    client->cnx.Port = port;
    client->cnx.Connect();
  }
  auto heard = [&](const std::string& text) {
    return std::count_if(crowd.begin(), crowd.end(), [&](auto& c) { return c->Heard(text); });
  };
  PumpUntil([&] { return heard("Hello!") + heard("The demo host is busy") == 199; }, 20000);
  EXPECT_EQ(heard("Hello!"), 149);
  EXPECT_EQ(heard("The demo host is busy; please try again later.\r\n"), 50);
}

// A client that half-closes still reads: it is greeted without negotiating,
// and its keys' output arrives whole before the host closes.
TEST(DemoHostProgram, AClientThatStopsSendingGetsAllItsOutput) {
  std::string port = FreePort();
  test::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port});
  DemoClient probe;
  ASSERT_TRUE(probe.ConnectTo(port));

  auto silent = platform::TcpStream::Connect(static_cast<std::uint16_t>(std::stoi(port)));
  ASSERT_TRUE(silent);
  silent->ShutdownSend();
  EXPECT_NE(ReadToEnd(*silent).find("Hello! Terminal type: unknown, location: unknown."), std::string::npos);

  auto typist = platform::TcpStream::Connect(static_cast<std::uint16_t>(std::stoi(port)));
  ASSERT_TRUE(typist);
  const std::string refusals = B({255, 252, 24, 255, 252, 23});
  ASSERT_TRUE(typist->SendAll(refusals + std::string(20000, 'a') + "b", 5000));
  typist->ShutdownSend();
  const std::string output = ReadToEnd(*typist);
  EXPECT_EQ(Count(output, "\r\n  a                         61"), 20000u);
  EXPECT_TRUE(output.ends_with("\r\n  b                         62"));
}

TEST(DemoHostProgram, RejectsBadArguments) {
  for (auto args : {std::vector<std::string>{CV_DEMO_HOST_PATH, "--port", "70000"},
                    std::vector<std::string>{CV_DEMO_HOST_PATH, "--port"},
                    std::vector<std::string>{CV_DEMO_HOST_PATH, "--colour"}}) {
    test::ChildProcess host(args);
    ASSERT_TRUE(host.Wait(3000));
    EXPECT_EQ(host.ExitCode(), 2);
  }
}

}  // namespace
}  // namespace corvane::tntest
