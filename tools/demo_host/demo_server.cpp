#include "tools/demo_host/demo_server.h"

#include <chrono>
#include <cstdio>
#include <list>
#include <memory>
#include <vector>

#include "platform/posix/stop_signals.h"
#include "platform/tcp_listener.h"
#include "tools/demo_host/demo_session.h"

namespace corvane::demo {
namespace {

using Clock = std::chrono::steady_clock;
using platform::PollEntry;

constexpr auto kNegotiationTime = std::chrono::seconds(3);
// A client that does not read its output is not read from either, so the
// memory it holds stays bounded.
constexpr size_t kMaxPendingOutput = 64 * 1024;
constexpr int kReadSize = 4096;
constexpr int kPollMs = 200;
constexpr std::string_view kBusy = "The demo host is busy; please try again later.\r\n";

struct Client {
  explicit Client(std::unique_ptr<platform::TcpStream> s) : stream(std::move(s)) {}
  std::unique_ptr<platform::TcpStream> stream;
  DemoSession session;
  std::string pending;
  Clock::time_point started = Clock::now();
  bool input_ended = false;  // the client half-closed: it still reads
  bool gone = false;
};

// A client that has stopped sending can no longer negotiate: it is greeted
// with what is known, and served until its output is out.
void ReadFrom(Client& client) {
  char buffer[kReadSize];
  int n = client.stream->Receive(buffer, kReadSize);
  if (n > 0) {
    client.session.Receive(std::string_view(buffer, static_cast<size_t>(n)));
  } else if (n == 0) {
    client.input_ended = true;
    client.session.NegotiationTimedOut();
  } else if (client.stream->Broken()) {
    client.gone = true;
  }
}

void WriteTo(Client& client) {
  if (!client.session.Greeted() && Clock::now() - client.started > kNegotiationTime)
    client.session.NegotiationTimedOut();
  client.pending += client.session.TakeOutput();
  if (client.pending.empty()) return;
  int n = client.stream->Send(client.pending);
  if (n < 0) client.gone = true;
  if (n > 0) client.pending.erase(0, static_cast<size_t>(n));
}

bool Done(const Client& client) {
  const bool said_all = client.session.Finished() || client.input_ended;
  return client.gone || (said_all && client.pending.empty());
}

bool WantsInput(const Client& client) { return !client.input_ended && client.pending.size() < kMaxPendingOutput; }

// Takes every client the system has queued, so that a crowd arriving at once
// is served (or told the host is busy) without waiting a turn each.
void AcceptAll(platform::TcpListener& listener, std::list<Client>& clients, int max_clients) {
  while (auto stream = listener.Accept(0)) {
    if (static_cast<int>(clients.size()) >= max_clients)
      stream->Send(kBusy);
    else
      WriteTo(clients.emplace_back(std::move(stream)));
  }
}

}  // namespace

int RunDemoServer(const DemoServerOptions& options) {
  std::string error;
  auto listener = platform::TcpListener::Open(options.port, error);
  if (!listener) {
    std::fprintf(stderr, "cvtelnet-demo-host: cannot listen on 127.0.0.1:%u: %s\n", options.port, error.c_str());
    return 1;
  }
  platform::InstallStopSignals();
  std::printf("Demo host listening on 127.0.0.1:%u; Ctrl+C stops it.\n", listener->Port());
  std::fflush(stdout);

  std::list<Client> clients;
  while (!platform::StopRequested()) {
    std::vector<PollEntry> entries{{listener->Handle()}};
    for (auto& c : clients) entries.push_back({c.stream->Handle(), WantsInput(c), !c.pending.empty()});
    platform::PollHandles(entries, kPollMs);

    // Clients first: the entries cover exactly those polled.
    size_t i = 1;
    for (auto& c : clients) {
      if (entries[i++].readable && !c.input_ended) ReadFrom(c);
      WriteTo(c);
    }
    if (entries[0].readable) AcceptAll(*listener, clients, options.max_clients);
    clients.remove_if(Done);
  }
  std::printf("Demo host stopped.\n");
  return 0;
}

}  // namespace corvane::demo
