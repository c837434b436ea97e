// The reactor as an outside event loop sees it: descriptors it wants watched,
// a wake-up when messages are queued, and dispatch of what is queued.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "loopback_peer.h"
#include "net/wsocket.h"
#include "platform/posix/reactor.h"

namespace corvane {
namespace {

using platform::posix::PollWant;
using platform::posix::Reactor;

bool Watches(const std::vector<PollWant>& wanted, int fd) {
  return std::any_of(wanted.begin(), wanted.end(), [fd](const PollWant& w) { return w.fd == fd && w.events != 0; });
}

TEST(ReactorSeamTest, QueuedMessagesWakeOnceAndAreDispatchedInOrder) {
  Reactor& reactor = Reactor::ForThisThread();
  int wakes = 0;
  reactor.SetWakeHandler([&] { ++wakes; });
  std::vector<platform::MessageWord> words;
  platform::MessageWindow window(
      [&](std::uint32_t, platform::MessageWord word, platform::MessageLong) { words.push_back(word); });
  window.Post(1025, 1, 0);
  window.Post(1025, 2, 0);
  window.Post(1025, 3, 0);
  window.Purge(1025, 2);
  EXPECT_EQ(wakes, 1);
  EXPECT_TRUE(reactor.HasPosted());
  reactor.DispatchPosted();
  reactor.SetWakeHandler(nullptr);
  EXPECT_EQ(words, (std::vector<platform::MessageWord>{1, 3}));
  EXPECT_FALSE(reactor.HasPosted());
}

TEST(ReactorSeamTest, ASocketIsWatchedWhileOpenAndForgottenWhenClosed) {
  test::LoopbackPeer peer([](test::PeerLink& link) { link.ReceiveUpTo(1); });
  Reactor& reactor = Reactor::ForThisThread();
  TWSocket sock;
  sock.SetPort(peer.Port());
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  const auto fd = static_cast<int>(sock.HSocket());
  EXPECT_TRUE(Watches(reactor.Wanted(), fd));
  ASSERT_TRUE(test::PumpUntil([&] { return sock.State() == TSocketState::Connected; }));
  test::PumpFor(20);
  EXPECT_TRUE(Watches(reactor.Wanted(), fd));  // waiting for data or the peer's close
  sock.Close();
  EXPECT_FALSE(Watches(reactor.Wanted(), fd));
  EXPECT_FALSE(reactor.HasPosted());
}

// An outside loop resyncs its watchers from the handler; the last resync
// before the descriptor is released must already have dropped it.
TEST(ReactorSeamTest, TheWatchHandlerHearsEachChangeOfWhatIsWanted) {
  test::LoopbackPeer peer([](test::PeerLink& link) { link.ReceiveUpTo(1); });
  Reactor& reactor = Reactor::ForThisThread();
  std::vector<bool> watched;
  TWSocket sock;
  reactor.SetWatchHandler([&] { watched.push_back(Watches(reactor.Wanted(), static_cast<int>(sock.HSocket()))); });
  sock.SetPort(peer.Port());
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  ASSERT_FALSE(watched.empty());
  EXPECT_TRUE(watched.back());
  ASSERT_TRUE(test::PumpUntil([&] { return sock.State() == TSocketState::Connected; }));
  watched.clear();
  sock.Close();
  reactor.SetWatchHandler(nullptr);
  ASSERT_FALSE(watched.empty());
  EXPECT_FALSE(watched.back());
}

}  // namespace
}  // namespace corvane
