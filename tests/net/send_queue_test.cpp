#include "net/send_queue.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + i / 251);
  return s;
}

std::string Pending(const TBuffer& b) {
  std::int32_t length = 0;
  const char* p = b.Peek(length);
  return p == nullptr ? std::string() : std::string(p, static_cast<std::size_t>(length));
}

TEST(TBufferTest, WriteStopsAtTheBlockSize) {
  TBuffer b;
  const std::string data = Pattern(2000);
  EXPECT_EQ(b.Write(data.data(), 1000), 1000);
  EXPECT_EQ(b.Write(data.data() + 1000, 1000), 514);
  EXPECT_EQ(b.Write(data.data(), 10), 0);
  EXPECT_EQ(Pending(b), data.substr(0, 1514));
}

TEST(TBufferTest, RemoveAdvancesAndRewindsWhenDrained) {
  TBuffer b;
  b.Write("abcdef", 6);
  EXPECT_EQ(b.Remove(2), 2);
  EXPECT_EQ(Pending(b), "cdef");
  EXPECT_EQ(b.Remove(100), 4);  // clamped to what is pending
  EXPECT_EQ(b.WriteCount(), 0);
  EXPECT_EQ(b.ReadCount(), 0);
  std::int32_t length = -1;
  EXPECT_EQ(b.Peek(length), nullptr);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(b.Write("xy", 2), 2);  // the rewound block takes data again
  EXPECT_EQ(Pending(b), "xy");
}

TEST(TBufferTest, NonsenseCountsLeaveTheBlockIntact) {
  TBuffer b;
  b.Write("abc", 3);
  EXPECT_EQ(b.Remove(-5), 0);
  EXPECT_EQ(b.Write("zz", -1), 0);
  EXPECT_EQ(Pending(b), "abc");
  TBuffer empty;
  EXPECT_EQ(empty.Remove(3), 0);
}

TEST(TSendQueueTest, TwoBlocksPlus72FillThreeBlocks) {
  TSendQueue q;
  const std::string data = Pattern(1514 * 2 + 72);
  q.Append(data.data(), static_cast<std::int32_t>(data.size()));
  ASSERT_EQ(q.BlockCount(), 3u);
  EXPECT_EQ(q.Block(0).WriteCount(), 1514);
  EXPECT_EQ(q.Block(1).WriteCount(), 1514);
  EXPECT_EQ(q.Block(2).WriteCount(), 72);
  EXPECT_EQ(Pending(q.Block(0)) + Pending(q.Block(1)) + Pending(q.Block(2)), data);
}

TEST(TSendQueueTest, AppendFillsTheTailOfTheLastBlockFirst) {
  TSendQueue q;
  const std::string first = Pattern(1500);
  const std::string second = Pattern(30);
  q.Append(first.data(), 1500);
  q.Append(second.data(), 30);
  ASSERT_EQ(q.BlockCount(), 2u);
  EXPECT_EQ(q.Block(0).WriteCount(), 1514);
  EXPECT_EQ(q.Block(1).WriteCount(), 16);
  EXPECT_EQ(Pending(q.Block(0)) + Pending(q.Block(1)), first + second);
  EXPECT_EQ(q.PendingBytes(), 1530);
}

}  // namespace
}  // namespace corvane
