// Received-data throughput through the telnet connection: the parser and the
// delivery alone, and a loopback flood through TTnCnx next to a plain
// blocking receive loop on the same flood (the floor). Streams are plain data
// or data with a telnet command every 64 bytes.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "platform/diagnostics.h"
#include "platform/message_loop.h"
#include "platform/sockets.h"
#include "platform/tcp_listener.h"
#include "telnet/tncnx.h"

namespace corvane {
namespace {

constexpr std::size_t kBlock = 1 << 16;
constexpr std::size_t kFlood = 32u << 20;

// 64 KiB of text; with commands, every 64 bytes one of IAC IAC (a data 255),
// IAC NOP, IAC GA or IAC EOR replaces the last bytes of the run.
std::string Block(bool with_commands) {
  std::string block;
  const std::string commands[] = {"\xff\xff", "\xff\xf1", "\xff\xf9", "\xff\xef"};
  for (std::size_t i = 0; block.size() < kBlock; ++i) {
    std::string run(64, static_cast<char>('a' + i % 26));
    if (with_commands) run.replace(62, 2, commands[i % 4]);
    block += run;
  }
  block.resize(kBlock);
  return block;
}

// Diagnostics go nowhere while measuring.
struct QuietDiagnostics {
  platform::DiagnosticSink previous = platform::SetDiagnosticSink([](std::string_view) {});
  ~QuietDiagnostics() { platform::SetDiagnosticSink(previous); }
};

void BM_ParserAndDelivery(benchmark::State& state) {
  QuietDiagnostics quiet;
  const std::string block = Block(state.range(0) != 0);
  TTnCnx cnx;
  std::size_t delivered = 0;
  cnx.OnDataAvailable = [&](TTnCnx&, const char*, int len) { delivered += static_cast<std::size_t>(len); };
  for (auto _ : state) {
    for (std::size_t at = 0; at < block.size(); at += TTnCnx::kReceiveSize)
      cnx.ProcessChunk(block.data() + at, TTnCnx::kReceiveSize);
  }
  benchmark::DoNotOptimize(delivered);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_ParserAndDelivery)->Arg(0)->Arg(1)->ArgName("commands");

// A server thread that floods the first client with kFlood bytes, then closes.
class FloodServer {
 public:
  explicit FloodServer(bool with_commands) {
    std::string error;
    listener_ = platform::TcpListener::Open(0, error);
    thread_ = std::thread([this, block = Block(with_commands)] {
      auto stream = listener_->Accept(10000);
      for (std::size_t sent = 0; stream && sent < kFlood && stream->SendAll(block, 60000);) sent += block.size();
    });
  }
  ~FloodServer() { thread_.join(); }
  std::uint16_t Port() const { return listener_->Port(); }

 private:
  std::unique_ptr<platform::TcpListener> listener_;
  std::thread thread_;
};

// The data bytes one block delivers once its commands are removed.
std::size_t DeliveredPerBlock(const std::string& block) {
  TTnCnx cnx;
  std::size_t delivered = 0;
  cnx.OnDataAvailable = [&](TTnCnx&, const char*, int len) { delivered += static_cast<std::size_t>(len); };
  for (char c : block) cnx.ProcessChar(static_cast<std::uint8_t>(c));
  cnx.DeliverPending();
  return delivered;
}

void BM_TnCnxLoopbackFlood(benchmark::State& state) {
  QuietDiagnostics quiet;
  const bool with_commands = state.range(0) != 0;
  const std::size_t expected = kFlood / kBlock * DeliveredPerBlock(Block(with_commands));
  for (auto _ : state) {
    FloodServer server(with_commands);
    TTnCnx cnx;
    std::size_t received = 0;
    bool closed = false;
    cnx.OnDataAvailable = [&](TTnCnx&, const char*, int len) { received += static_cast<std::size_t>(len); };
    cnx.OnSessionClosed = [&](TTnCnx&, std::uint16_t) { closed = true; };
    cnx.Host = "127.0.0.1";
    cnx.Port = std::to_string(server.Port());
    cnx.Connect();
    while (!closed) platform::WaitAndProcessMessages(100);
    if (received != expected) state.SkipWithError("flood did not arrive complete");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFlood));
}
BENCHMARK(BM_TnCnxLoopbackFlood)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("commands")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

void BM_PlainRecvFloor(benchmark::State& state) {
  auto& sockets = platform::SystemSockets();
  for (auto _ : state) {
    FloodServer server(false);
    const platform::SocketHandle s = sockets.Socket(platform::kAfInet, platform::kSockStream, 6);
    platform::SockAddrIn to;
    to.address = platform::HostToNet32(0x7f000001);
    to.port = platform::HostToNet16(server.Port());
    if (sockets.Connect(s, to) != 0) {
      state.SkipWithError("connect failed");
      return;
    }
    std::size_t received = 0;
    char buffer[TTnCnx::kReceiveSize];
    for (int n; (n = sockets.Recv(s, buffer, sizeof buffer)) > 0;) received += static_cast<std::size_t>(n);
    sockets.CloseSocket(s);
    if (received != kFlood) state.SkipWithError("flood did not arrive complete");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFlood));
}
BENCHMARK(BM_PlainRecvFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
