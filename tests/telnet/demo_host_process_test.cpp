// The demo host program as a user meets it: started on a port, reached by the
// telnet connection, stopped by a signal.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/posix/child_process.h"
#include "tests/telnet/loopback_peer.h"

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
    return PumpUntil([&] { return rec.data.find(text) != std::string::npos; });
  }
};

std::string FreePort() {
  ScriptedServer probe;
  return probe.Port();
}

TEST(DemoHostProgram, GreetsEachClientAndNamesTheKeysItReceives) {
  std::string port = FreePort();
  platform::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port});
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
  platform::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port, "--max-clients", "1"});
  DemoClient first, second;
  ASSERT_TRUE(first.ConnectTo(port));
  ASSERT_TRUE(first.WaitFor("Hello!"));
  ASSERT_TRUE(second.ConnectTo(port));
  EXPECT_TRUE(second.WaitFor("The demo host is busy; please try again later.\r\n"));
  EXPECT_TRUE(PumpUntil([&] { return second.rec.closed_count > 0; }));
  EXPECT_EQ(first.rec.closed_count, 0);
}

TEST(DemoHostProgram, RejectsBadArguments) {
  for (auto args : {std::vector<std::string>{CV_DEMO_HOST_PATH, "--port", "70000"},
                    std::vector<std::string>{CV_DEMO_HOST_PATH, "--port"},
                    std::vector<std::string>{CV_DEMO_HOST_PATH, "--colour"}}) {
    platform::ChildProcess host(args);
    ASSERT_TRUE(host.Wait(3000));
    EXPECT_EQ(host.ExitCode(), 2);
  }
}

}  // namespace
}  // namespace corvane::tntest
