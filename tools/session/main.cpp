// cvtelnet-session: a headless telnet session on the telnet terminal, so that
// it shows what the window shows: the status lines, the received data and
// the keys' effects. Loads the host's settings, connects, types the given
// texts and keys and prints the screen the session leaves, as the replay
// tool does.
#include <chrono>
#include <cstdio>
#include <string>
#include <variant>

#include "net/socket_errors.h"
#include "platform/diagnostics.h"
#include "platform/headless.h"
#include "platform/message_loop.h"
#include "telnet/tnzuzeri.h"
#include "tools/replay/screen_dump.h"
#include "tools/session/session_options.h"

namespace {

using Clock = std::chrono::steady_clock;
using corvane::TSessionOptions;
using corvane::TTnZuzeRI;

constexpr auto kQuiet = std::chrono::milliseconds(300);

int Usage(const std::string& problem) {
  std::fprintf(stderr, "cvtelnet-session: %s\n%s", problem.c_str(), corvane::kSessionUsage);
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "cvtelnet-session: %s\n", message.c_str());
  return 1;
}

// A session from connecting to the end of the host's output.
class Session {
 public:
  explicit Session(const TSessionOptions& options) : options_(options), term_(Ports()) {
    term_.HostName = options.Host;
    term_.Port = options.Port;
    if (options.Ini) term_.IniFilename = *options.Ini;
    term_.OnDataAvailable = [this](TTnZuzeRI&, const char*, int&) { last_data_ = Clock::now(); };
    term_.OnSessionConnected = [this](TTnZuzeRI& t) { connect_error_ = t.Error; };
    term_.OnSessionClosed = [this](TTnZuzeRI&) { closed_ = true; };
  }

  // Runs until the host closes or the time is up, prints the screen and
  // returns the exit status. Raises when the address is rejected.
  int Run() {
    if (const std::string problem = term_.LoadSettings(options_.Emulation); !problem.empty())
      std::fprintf(stderr, "cvtelnet-session: %s\n", problem.c_str());
    term_.Connect();
    term_.FocusGained();  // the key mapping is active while the terminal has focus
    const auto end = Clock::now() + std::chrono::seconds(options_.Seconds);
    while (!closed_ && Clock::now() < end) {
      corvane::platform::WaitAndProcessMessages(50);
      const bool quiet = connect_error_ == 0 && Clock::now() - last_data_ >= kQuiet;
      if (quiet && next_input_ < options_.Inputs.size()) Type(options_.Inputs[next_input_++]);
    }
    const std::string picture =
        term_.Xterm() != nullptr ? corvane::DumpScreen(*term_.Xterm(), {}) : corvane::DumpScreen(term_.Screen(), {});
    std::fwrite(picture.data(), 1, picture.size(), stdout);
    if (std::fflush(stdout) != 0) return 1;
    if (connect_error_ > 0) return Fail("connection failed: " + corvane::SocketErrorDesc(connect_error_));
    if (connect_error_ < 0) return Fail("no connection within " + std::to_string(options_.Seconds) + " s");
    return 0;
  }

 private:
  corvane::TViewPorts Ports() {
    corvane::TViewPorts ports;
    ports.Window = &corvane::platform::HeadlessWindow();
    ports.Keyboard = &keyboard_;
    return ports;
  }

  void Type(const corvane::TSessionInput& input) {
    if (const auto* text = std::get_if<std::string>(&input))
      term_.SendStr(*text);
    else
      corvane::PressKey(term_, window_, keyboard_, std::get<corvane::TKeyPress>(input));
    last_data_ = Clock::now();
  }
  const TSessionOptions& options_;
  corvane::TPressKeyboard keyboard_;
  const void* window_ = corvane::platform::HeadlessWindow().Handle();
  TTnZuzeRI term_;
  Clock::time_point last_data_ = Clock::now();
  int connect_error_ = -1;
  bool closed_ = false;
  std::size_t next_input_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string problem;
  const auto options = corvane::ParseSessionOptions(argc, argv, problem);
  if (!options) return Usage(problem);
  if (options->Help) {
    std::fputs(corvane::kSessionUsage, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  corvane::platform::SetAlertSink([] {});
  try {
    Session session(*options);
    return session.Run();
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
