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

struct Client {
  explicit Client(std::unique_ptr<platform::TcpStream> s) : stream(std::move(s)) {}
  std::unique_ptr<platform::TcpStream> stream;
  DemoSession session;
  std::string pending;
  Clock::time_point started = Clock::now();
  bool gone = false;
};

void ReadFrom(Client& client) {
  char buffer[kReadSize];
  int n = client.stream->Receive(buffer, kReadSize);
  if (n > 0)
    client.session.Receive(std::string_view(buffer, static_cast<size_t>(n)));
  else if (n == 0 || client.stream->Broken())
    client.gone = true;
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
  return client.gone || (client.session.Finished() && client.pending.empty());
}

}  // namespace

int RunDemoServer(const DemoServerOptions& options) {
  std::string error;
  auto listener = platform::TcpListener::Open(options.port, error);
  if (!listener) {
    std::fprintf(stderr, "cvtelnet-demo-host: cannot listen on 127.0.0.1:%u: %s\n", options.port,
                 error.c_str());
    return 1;
  }
  platform::InstallStopSignals();
  std::printf("Demo host listening on 127.0.0.1:%u; Ctrl+C stops it.\n", listener->Port());
  std::fflush(stdout);

  std::list<Client> clients;
  while (!platform::StopRequested()) {
    std::vector<PollEntry> entries{{listener->Handle()}};
    for (auto& c : clients)
      entries.push_back({c.stream->Handle(), c.pending.size() < kMaxPendingOutput, !c.pending.empty()});
    platform::PollHandles(entries, kPollMs);

    // Clients first: the entries cover exactly those polled.
    size_t i = 1;
    for (auto& c : clients) {
      if (entries[i++].readable) ReadFrom(c);
      WriteTo(c);
    }
    if (entries[0].readable) {
      auto stream = listener->Accept(0);
      if (stream && static_cast<int>(clients.size()) >= options.max_clients)
        stream->Send("The demo host is busy; please try again later.\r\n");
      else if (stream)
        WriteTo(clients.emplace_back(std::move(stream)));
    }
    clients.remove_if(Done);
  }
  std::printf("Demo host stopped.\n");
  return 0;
}

}  // namespace corvane::demo
