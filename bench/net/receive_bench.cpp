// Loopback receive throughput through TWSocket next to a plain blocking
// receive loop (the floor), and the CPU an idle connected socket costs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>

#include "loopback_peer.h"
#include "net/wsocket.h"
#include "platform/message_loop.h"

namespace corvane {
namespace {

constexpr std::size_t kFlood = 64u << 20;

test::LoopbackPeer::Script Flood() {
  return [](test::PeerLink& link) {
    const std::string block(1 << 16, 'x');
    for (std::size_t sent = 0; sent < kFlood; sent += block.size()) {
      if (!link.SendAll(block)) return;
    }
    link.ShutdownSend();
    link.ReceiveUpTo(1);
  };
}

void BM_TWSocketReceive(benchmark::State& state) {
  for (auto _ : state) {
    test::LoopbackPeer peer(Flood());
    TWSocket sock;
    std::size_t received = 0;
    bool closed = false;
    sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
      char buffer[2048];
      const int n = s.Receive(buffer, sizeof buffer);
      if (n > 0) received += static_cast<std::size_t>(n);
    };
    sock.OnSessionClosed = [&](TWSocket&, std::uint16_t) { closed = true; };
    sock.SetPort(peer.Port());
    sock.SetAddr("127.0.0.1");
    sock.Connect();
    if (!test::PumpUntil([&] { return closed; }, 60000) || received != kFlood) {
      state.SkipWithError("flood did not arrive complete");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFlood));
}
BENCHMARK(BM_TWSocketReceive)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_PlainRecvLoop(benchmark::State& state) {
  auto& sockets = platform::SystemSockets();
  for (auto _ : state) {
    test::LoopbackPeer peer(Flood());
    const platform::SocketHandle s = sockets.Socket(platform::kAfInet, platform::kSockStream, 6);
    platform::SockAddrIn to;
    to.address = platform::HostToNet32(0x7f000001);
    to.port = platform::HostToNet16(static_cast<std::uint16_t>(std::stoi(peer.Port())));
    if (sockets.Connect(s, to) != 0) {
      state.SkipWithError("connect failed");
      return;
    }
    std::size_t received = 0;
    char buffer[2048];
    for (int n; (n = sockets.Recv(s, buffer, sizeof buffer)) > 0;) received += static_cast<std::size_t>(n);
    sockets.CloseSocket(s);
    if (received != kFlood) {
      state.SkipWithError("flood did not arrive complete");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFlood));
}
BENCHMARK(BM_PlainRecvLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A connected socket with nothing to do, the message loop waiting on it for
// 10 s: reports the process CPU time used meanwhile.
void BM_IdleConnectedSocketCpu(benchmark::State& state) {
  for (auto _ : state) {
    test::LoopbackPeer peer([](test::PeerLink& link) { link.ReceiveUpTo(1); });
    TWSocket sock;
    sock.SetPort(peer.Port());
    sock.SetAddr("127.0.0.1");
    sock.Connect();
    test::PumpUntil([&] { return sock.State() == TSocketState::Connected; });
    test::PumpFor(100);
    const std::clock_t cpu_start = std::clock();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int passes = 0;
    while (std::chrono::steady_clock::now() < until) {
      platform::WaitAndProcessMessages(1000);
      ++passes;
    }
    const double cpu_ms = 1000.0 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    state.counters["cpu_ms_per_10s"] = cpu_ms;
    state.counters["loop_passes"] = passes;
  }
}
BENCHMARK(BM_IdleConnectedSocketCpu)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace corvane

BENCHMARK_MAIN();
