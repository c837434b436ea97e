// The headless session tool: its escapes and key names, a session with the
// demo host whose final screen shows the terminal's texts and the keys sent,
// a refused connection, and bad command lines.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "net/socket_errors.h"
#include "tests/support/child_process.h"
#include "tests/telnet/telnet_peer.h"
#include "tests/view/support/view_rig.h"
#include "tools/session/named_keys.h"
#include "tools/session/text_escapes.h"

namespace corvane::tntest {
namespace {

namespace fs = std::filesystem;

TEST(SessionTool, UnescapesWhatAShellCannotPassEasily) {
  EXPECT_EQ(Unescape("a\\r\\n\\t\\e[A\\\\\\xff\\x00z"), std::string("a\r\n\t\x1b[A\\\xff\0z", 11));
  for (const char* bad : {"\\", "\\q", "\\x", "\\x4", "\\xg0", "end\\x1"}) EXPECT_FALSE(Unescape(bad)) << bad;
}

// Named keys go through the view's own key mapping; unclaimed keypad
// operators become their characters.
TEST(SessionTool, NamedKeysSendWhatTheKeyTablesSay) {
  const std::vector<std::tuple<int, const char*, std::string>> cases = {
      {1, "Up", "\x1b[A"},      {1, "kp8", "\x1b[A"}, {1, "KPDot", ""},     {1, "F12", "\x1b[29~"},
      {1, "Enter", "\r"},       {1, "KPStar", "*"},   {0, "Tab", "\x1b[Z"}, {0, "shift+TAB", "\t"},
      {0, "Ctrl+F1", "\x1b[k"}, {2, "PgDn", "\x1b+"}};
  recording::TViewRig rig;
  TPressKeyboard keyboard;
  auto ports = rig.Ports();
  ports.Keyboard = &keyboard;
  TZuzeRI view(std::move(ports));
  std::string sent;
  view.OnKeyPress = [&](TCustomZuzeRI&, char& key) { sent += key; };
  view.FocusGained();
  for (const auto& [fkeys, name, bytes] : cases) {
    sent.clear();
    view.FKeys = fkeys;
    PressKey(view, rig.Window.Handle(), keyboard, ParseKeyName(name).value());
    EXPECT_EQ(sent, bytes) << name;
  }
  view.FocusLost();
  EXPECT_FALSE(ParseKeyName("Shift+") || ParseKeyName("F13"));
}

struct ToolRun {
  int status;
  std::string out;
};

ToolRun RunTool(const std::string& arguments) {
  const fs::path out = fs::temp_directory_path() / ("cvtelnet-session-" + std::to_string(::getpid()) + ".txt");
  const std::string command = std::string(CV_SESSION_PATH) + " " + arguments + " > " + out.string() + " 2>&1";
  const int status = std::system(command.c_str());
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  fs::remove(out);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

// A session with the demo host on a free port, its INI file holding
// `section` for 127.0.0.1; `options` follow the host, port and INI file.
ToolRun SessionWithDemoHost(const std::string& section, const std::string& options) {
  const std::string port = FreePort();
  const fs::path ini = fs::temp_directory_path() / ("cv-session-" + port + ".ini");
  std::ofstream(ini) << "[127.0.0.1]\n" << section;
  test::ChildProcess host({CV_DEMO_HOST_PATH, "--port", port});
  if (!host.Started()) return {-1, "the demo host did not start"};
  const std::string arguments = "127.0.0.1 " + port + " --seconds 5 --ini " + ini.string() + " " + options;
  // The demo host may still be starting: one retry after a short pause.
  ToolRun run = RunTool(arguments);
  if (run.status != 0) {
    platform::WaitAndProcessMessages(300);
    run = RunTool(arguments);
  }
  fs::remove(ini);
  return run;
}

TEST(SessionTool, ASessionWithTheDemoHostUsesTheHostsSettingsAndKeys) {
  const ToolRun run = SessionWithDemoHost("Cols=100\nFKeys=0\n", "--send '\\e[A' --key F1 --send q");
  EXPECT_EQ(run.status, 0) << run.out;
  for (const char* shown : {"size 25 100", "|  ESC [ A                   1B 5B 41",
                            "|  ESC [ M                   1B 5B 4D", "|*** Server has closed ***"})
    EXPECT_NE(run.out.find(shown), std::string::npos) << shown << "\n" << run.out;
}

// --emulation xterm replaces the section's Classic: the host is told
// "xterm", the grid passes 132 columns, Home comes from the XTERM table and
// the screen is printed as the Xterm screen.
TEST(SessionTool, TheEmulationOptionReplacesTheSectionsChoice) {
  const ToolRun run =
      SessionWithDemoHost("Emulation=Classic\nRows=40\nCols=150\n", "--emulation xterm --key Home --send q");
  EXPECT_EQ(run.status, 0) << run.out;
  for (const char* shown : {"size 40 150", "Terminal type: xterm,", "|  ESC [ H                   1B 5B 48",
                            "\xE2\x94\x8C\xE2\x94\x80", "cursor-keys=normal", "|*** Server has closed ***"})
    EXPECT_NE(run.out.find(shown), std::string::npos) << shown << "\n" << run.out;
}

TEST(SessionTool, ARefusedConnectionShowsTheFailureLineAndEndsWithStatusOne) {
  const ToolRun run = RunTool("127.0.0.1 " + FreePort());
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = {"00|Connecting to '127.0.0.1'",
                                          "01|Connection failed: " + SocketErrorDesc(10061),
                                          "03|*** Server has closed ***", "cvtelnet-session: connection failed: "};
  for (const std::string& shown : lines) EXPECT_NE(run.out.find(shown), std::string::npos) << shown << "\n" << run.out;
}

TEST(SessionTool, BadCommandLinesEndWithStatusTwo) {
  for (const char* arguments : {"127.0.0.1", "h 23 --key Nope", "h 23 --ini /no/such.ini", "h 23 --seconds 0",
                                "h 23 --send '\\q'", "h 23 --key", "h 23 --emulation vt52", "h 23 --emulation"}) {
    const ToolRun run = RunTool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.out.find("usage: cvtelnet-session"), std::string::npos) << arguments;
  }
  // The ports the window's command line refuses, refused with the same line.
  for (const char* port : {"23abc", " 23", "23.9", "0", "65536"}) {
    const ToolRun run = RunTool(std::string("h '") + port + "'");
    EXPECT_EQ(run.status, 2) << port;
    EXPECT_TRUE(run.out.starts_with("cvtelnet-session: bad port '" + std::string(port) + "'")) << run.out;
  }
}

TEST(SessionTool, HelpPrintsTheUsageAndSucceeds) {
  for (const char* arguments : {"--help", "h 23 --help", "-h"}) {
    const ToolRun run = RunTool(arguments);
    EXPECT_EQ(run.status, 0) << arguments;
    EXPECT_TRUE(run.out.starts_with("usage: cvtelnet-session")) << run.out;
  }
}

}  // namespace
}  // namespace corvane::tntest
