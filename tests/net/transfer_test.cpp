// Bulk transfers through TWSocket: nothing lost, nothing reordered.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "loopback_peer.h"
#include "net/wsocket.h"

namespace corvane {
namespace {

using test::LoopbackPeer;
using test::PeerLink;
using test::PumpUntil;

char PatternByte(std::size_t i) { return static_cast<char>((i * 2654435761u) >> 13); }

TEST(TransferTest, EightMegabytesReachASlowReaderCompleteAndInOrder) {
  constexpr std::size_t kTotal = 8u << 20;
  std::atomic<std::size_t> good{0};
  std::atomic<bool> mismatch{false};
  LoopbackPeer peer([&](PeerLink& link) {
    char buffer[8192];
    std::size_t at = 0;
    while (at < kTotal) {
      const int n = link.Receive(buffer, sizeof buffer);
      if (n <= 0) break;
      for (int i = 0; i < n; ++i) {
        if (buffer[i] != PatternByte(at + static_cast<std::size_t>(i))) mismatch = true;
      }
      at += static_cast<std::size_t>(n);
      good = at;
      // Deliberately slow: the client's queue backs up and drains on write
      // notifications.
      if ((at / sizeof buffer) % 4 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  TWSocket sock;
  sock.SetPort(peer.Port());
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return sock.State() == TSocketState::Connected; }));

  // Sends of uneven sizes, so block boundaries fall everywhere. The queue is
  // bounded, so the sender waits for it to drain below half the bound.
  std::string chunk;
  std::size_t sent = 0;
  for (std::size_t size = 1; sent < kTotal; size = size * 7 % 70001 + 1) {
    ASSERT_TRUE(PumpUntil([&] { return sock.SendQueue().PendingBytes() < TWSocket::kMaxQueued / 2; }, 30000));
    const std::size_t n = std::min(size, kTotal - sent);
    chunk.resize(n);
    for (std::size_t i = 0; i < n; ++i) chunk[i] = PatternByte(sent + i);
    sock.Send(chunk);
    sent += n;
  }
  ASSERT_TRUE(PumpUntil([&] { return good == kTotal || peer.Finished(); }, 30000));
  EXPECT_EQ(good, kTotal) << "still queued: " << sock.SendQueue().PendingBytes();
  EXPECT_FALSE(mismatch);
  EXPECT_EQ(sock.SendQueue().PendingBytes(), 0);
}

TEST(TransferTest, AFloodIsReceivedCompleteAndInOrder) {
  constexpr std::size_t kTotal = 2u << 20;
  LoopbackPeer peer([&](PeerLink& link) {
    std::string data(kTotal, '\0');
    for (std::size_t i = 0; i < kTotal; ++i) data[i] = PatternByte(i);
    link.SendAll(data);
    link.ShutdownSend();
    link.ReceiveUpTo(1);
  });
  TWSocket sock;
  std::string received;
  bool closed = false;
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    char buffer[2048];
    const int n = s.Receive(buffer, sizeof buffer);
    if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
  };
  sock.OnSessionClosed = [&](TWSocket& s, std::uint16_t) {
    EXPECT_EQ(s.ReadCount(), static_cast<std::int32_t>(kTotal));
    closed = true;
  };
  sock.SetPort(peer.Port());
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  ASSERT_TRUE(PumpUntil([&] { return closed; }, 20000));
  ASSERT_EQ(received.size(), kTotal);
  for (std::size_t i = 0; i < kTotal; ++i) {
    if (received[i] != PatternByte(i)) FAIL() << "first difference at byte " << i;
  }
}

}  // namespace
}  // namespace corvane
