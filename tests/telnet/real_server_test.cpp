// The telnet connection against the telnet servers that Debian ships: busybox
// telnetd and inetutils telnetd, on 127.0.0.1, each with a login program that
// only runs a shell in an empty temporary folder for a bounded time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "tests/support/child_process.h"
#include "tests/telnet/command_names.h"
#include "tests/telnet/forwarding_sockets.h"
#include "tests/telnet/telnet_peer.h"

namespace corvane::tntest {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBusybox = "/bin/busybox";
constexpr const char* kInetutilsTelnetd = "/usr/sbin/telnetd";
constexpr const char* kPrompt = "cv$ ";

// An empty folder and a login program that starts a shell in it.
class LoginSandbox {
 public:
  LoginSandbox() {
    root_ = fs::temp_directory_path() /
            ("cvtelnet-login-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(root_ / "empty");
    std::ofstream(Login()) << "#!/bin/sh\ncd '" << (root_ / "empty").string() << "' || exit 1\nPS1='" << kPrompt
                           << "' exec timeout 30 /bin/sh -i\n";
    fs::permissions(Login(), fs::perms::owner_all);
  }
  ~LoginSandbox() { fs::remove_all(root_); }
  std::string Login() const { return (root_ / "login.sh").string(); }

 private:
  fs::path root_;
};

// A client session: connection, recorder and the raw bytes both ways.
struct Client {
  ForwardingSockets sockets;
  TTnCnx cnx{sockets};
  TnRecorder rec{cnx};

  bool WaitFor(const std::string& text, int timeout_ms = 10000) {
    return PumpUntil([&] { return rec.data.find(text) != std::string::npos; }, timeout_ms);
  }
  // Runs a command line and returns the output after the line that was sent,
  // once the marker and the next prompt have arrived.
  std::string Run(const std::string& line, const std::string& marker) {
    size_t from = rec.data.size();
    cnx.SendStr(line + "\r");
    EXPECT_TRUE(WaitFor(marker)) << "no " << marker << " in: " << rec.data.substr(from);
    size_t end = rec.data.find(marker, from);
    PumpUntil([&] { return rec.data.find(kPrompt, end) != std::string::npos; });
    return rec.data.substr(from);
  }
  void Report(const char* server) {
    std::cout << server << " sent: " << Join(DescribeCommands(sockets.received)) << "\n"
              << "client answered: " << Join(DescribeCommands(sockets.sent)) << "\n";
  }
};

// The shell computes a value the typed line does not contain, and shows the
// terminal type that the host ended up with.
void RunShellChecks(Client& c, const std::string& expected_term) {
  ASSERT_TRUE(c.WaitFor(kPrompt)) << c.rec.data;
  std::string out = c.Run("echo CV$((6*7))OK TERM=$TERM", "CV42OK");
  size_t at = out.find("CV42OK TERM=");
  ASSERT_NE(at, std::string::npos) << out;
  std::string term = out.substr(at + 12, out.find('\r', at) - at - 12);
  std::cout << "TERM on the host: " << term << "\n";
  EXPECT_EQ(term, expected_term);

  // 255 from the host arrives doubled and is delivered once; 255 sent by the
  // client must be doubled to reach the shell as one byte.
  out = c.Run("printf 'X\\377Y\\n'; echo E$((1+1))D", "E2D");
  EXPECT_NE(out.find("X\xffY\r\n"), std::string::npos) << ::testing::PrintToString(out);
  out = c.Run("printf %s '\xff' | od -An -tx1 | tr -d ' '; echo E$((2+2))D", "E4D");
  EXPECT_NE(out.find("ff\r\nE4D"), std::string::npos) << ::testing::PrintToString(out);

  c.cnx.SendStr("exit\r");
  EXPECT_TRUE(PumpUntil([&] { return c.rec.closed_count > 0; }, 5000));
}

TEST(RealServer, BusyboxTelnetd) {
  if (!fs::exists(kBusybox)) GTEST_SKIP() << "busybox-static is not installed";
  LoginSandbox sandbox;
  std::string port = FreePort();
  // busybox never asks for the terminal type: the shell keeps the server's.
  ::setenv("TERM", "server-own-term", 1);
  test::ChildProcess server({kBusybox, "telnetd", "-F", "-p", port, "-b", "127.0.0.1", "-l", sandbox.Login()});
  ASSERT_TRUE(server.Started());

  Client c;
  c.cnx.Host = "127.0.0.1";
  c.cnx.Port = port;
  // The server needs a moment before it listens; a refused attempt is retried.
  for (int attempt = 0; attempt < 50 && c.rec.connected != 0; ++attempt) {
    c.rec.connected = -1;
    c.cnx.Connect();
    PumpUntil([&] { return c.rec.connected >= 0; });
    if (c.rec.connected != 0) platform::WaitAndProcessMessages(50);
  }
  ASSERT_EQ(c.rec.connected, 0);
  c.rec.closed_count = 0;  // refused attempts do not count
  RunShellChecks(c, "server-own-term");
  c.Report("busybox telnetd");
  // Seen with busybox 1.35: DO ECHO, DO NAWS, WILL ECHO, WILL SGA; the client
  // refuses NAWS and accepts the host's echo and SGA.
  EXPECT_EQ(Join(DescribeCommands(c.sockets.sent)), "WONT NAWS, DO ECHO, DO SGA");
}

TEST(RealServer, InetutilsTelnetd) {
  if (!fs::exists(kInetutilsTelnetd)) GTEST_SKIP() << "inetutils-telnetd is not installed";
  LoginSandbox sandbox;
  ScriptedServer inetd;
  Client c;
  std::unique_ptr<test::ChildProcess> server;
  ASSERT_TRUE(inetd.Connect(c.cnx, c.rec));
  server = std::make_unique<test::ChildProcess>(
      std::vector<std::string>{kInetutilsTelnetd, "-h", "-E", sandbox.Login()}, inetd.StreamHandle());
  ASSERT_TRUE(server->Started());
  inetd.Hangup();  // the server owns the connection now
  RunShellChecks(c, "vt100");
  c.Report("inetutils telnetd");
  // Seen with inetutils 2.4: the server offers AUTHENTICATION and ENCRYPT and
  // waits for their refusal (DONT) before it asks for the terminal type.
  auto sent = DescribeCommands(c.sockets.sent);
  for (const char* answer :
       {"DONT AUTHENTICATION", "DONT ENCRYPT", "WILL TTYPE", "SB TTYPE IS VT100", "DO ECHO", "DO SGA"})
    EXPECT_NE(std::find(sent.begin(), sent.end(), answer), sent.end()) << answer;
}

}  // namespace
}  // namespace corvane::tntest
