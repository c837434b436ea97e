// cvtelnet-session: a headless telnet session. Connects with the telnet
// connection, feeds what arrives to a terminal screen, sends the given texts
// and prints the screen the session leaves, as the replay tool does.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "emulator/screen.h"
#include "net/socket_errors.h"
#include "platform/diagnostics.h"
#include "platform/message_loop.h"
#include "telnet/tncnx.h"
#include "tools/replay/screen_dump.h"
#include "tools/session/text_escapes.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUsage =
    "usage: cvtelnet-session HOST PORT [--seconds N] [--send TEXT]...\n"
    "  --seconds N  how long the session lasts at most (default 3)\n"
    "  --send TEXT  text to type once the host has been quiet for 300 ms;\n"
    "               escapes \\r \\n \\t \\e \\\\ \\xHH; may be repeated\n";
constexpr auto kQuiet = std::chrono::milliseconds(300);

struct SessionOptions {
  std::string host, port;
  int seconds = 3;
  std::vector<std::string> sends;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr, "cvtelnet-session: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

// Reads the command line into options; returns the problem, empty when none.
std::string Parse(int argc, char** argv, SessionOptions& options) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool has_value = i + 1 < argc;
    if (arg == "--seconds" && has_value) {
      char* end = nullptr;
      long value = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || value < 1 || value > 3600) return "--seconds wants 1 to 3600";
      options.seconds = static_cast<int>(value);
    } else if (arg == "--send" && has_value) {
      auto text = corvane::Unescape(argv[++i]);
      if (!text) return std::string("bad escape in '") + argv[i] + "'";
      options.sends.push_back(*text);
    } else if (arg.rfind("--", 0) == 0) {
      return "unknown or incomplete option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return "HOST and PORT are needed";
  options.host = positional[0];
  options.port = positional[1];
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  SessionOptions options;
  if (std::string problem = Parse(argc, argv, options); !problem.empty()) return Usage(problem);
  corvane::platform::SetAlertSink([] {});

  corvane::TScreen screen;
  screen.XlatIn = screen.XlatDefault = true;
  screen.ClearScreen();
  corvane::TTnCnx cnx;
  auto last_data = Clock::now();
  int connect_error = -1;
  bool closed = false;
  cnx.OnDataAvailable = [&](corvane::TTnCnx&, const char* buffer, int len) {
    for (int i = 0; i < len; ++i) screen.FeedChar(static_cast<std::uint8_t>(buffer[i]));
    last_data = Clock::now();
  };
  cnx.OnDisplay = [&](corvane::TTnCnx&, const std::string& text) { screen.FeedText(text); };
  cnx.OnSessionConnected = [&](corvane::TTnCnx&, std::uint16_t error) { connect_error = error; };
  cnx.OnSessionClosed = [&](corvane::TTnCnx&, std::uint16_t) { closed = true; };
  cnx.Host = options.host;
  cnx.Port = options.port;
  try {
    cnx.Connect();
  } catch (const corvane::ESocketException& e) {
    std::fprintf(stderr, "cvtelnet-session: %s\n", e.what());
    return 1;
  }

  const auto end = Clock::now() + std::chrono::seconds(options.seconds);
  size_t next_send = 0;
  while (!closed && Clock::now() < end) {
    corvane::platform::WaitAndProcessMessages(50);
    bool quiet = connect_error == 0 && Clock::now() - last_data >= kQuiet;
    if (quiet && next_send < options.sends.size()) {
      cnx.SendStr(options.sends[next_send++]);
      last_data = Clock::now();
    }
  }
  if (connect_error > 0) {
    std::fprintf(stderr, "cvtelnet-session: connection failed: %s\n",
                 corvane::SocketErrorDesc(connect_error).c_str());
    return 1;
  }
  if (connect_error < 0) {
    std::fprintf(stderr, "cvtelnet-session: no connection within %d s\n", options.seconds);
    return 1;
  }
  const std::string picture = corvane::DumpScreen(screen, {});
  std::fwrite(picture.data(), 1, picture.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
