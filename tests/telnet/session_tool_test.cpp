// The headless session tool: its escapes, and a session with the demo host
// whose final screen shows the greeting and a key that was sent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/posix/child_process.h"
#include "tests/telnet/loopback_peer.h"
#include "tools/session/text_escapes.h"

namespace corvane::tntest {
namespace {

TEST(SessionTool, UnescapesWhatAShellCannotPassEasily) {
  EXPECT_EQ(Unescape("a\\r\\n\\t\\e[A\\\\\\xff\\x00z"), std::string("a\r\n\t\x1b[A\\\xff\0z", 11));
  for (const char* bad : {"\\", "\\q", "\\x", "\\x4", "\\xg0", "end\\x1"}) EXPECT_FALSE(Unescape(bad)) << bad;
}

TEST(SessionTool, PrintsTheScreenASessionWithTheDemoHostLeaves) {
  std::string port;
  {
    ScriptedServer probe;
    port = probe.Port();
  }
  platform::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port});
  ASSERT_TRUE(host.Started());
  auto out = std::filesystem::temp_directory_path() / ("cvtelnet-session-" + port + ".txt");
  // The demo host may still be starting: one retry after a short pause.
  std::string command = std::string(CV_SESSION_PATH) + " 127.0.0.1 " + port +
                        " --seconds 2 --send '\\e[A' > " + out.string() + " 2>&1";
  if (std::system(command.c_str()) != 0) {
    platform::WaitAndProcessMessages(300);
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  std::stringstream screen;
  screen << std::ifstream(out).rdbuf();
  std::filesystem::remove(out);
  EXPECT_NE(screen.str().find("01|Hello! Terminal type: VT100, location: TNCNX."), std::string::npos) << screen.str();
  EXPECT_NE(screen.str().find("24|  ESC [ A                   1B 5B 41"), std::string::npos) << screen.str();
}

TEST(SessionTool, ReportsARefusedConnection) {
  std::string port;
  {
    ScriptedServer gone;
    port = gone.Port();
  }
  std::string command = std::string(CV_SESSION_PATH) + " 127.0.0.1 " + port + " > /dev/null 2>&1";
  int status = std::system(command.c_str());
  EXPECT_NE(status, 0);
}

}  // namespace
}  // namespace corvane::tntest
