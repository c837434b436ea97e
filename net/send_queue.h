#pragma once
// Outgoing data waiting for the socket: fixed 1514-byte blocks (the payload
// of one Ethernet frame), oldest first.
#include <cstdint>
#include <deque>
#include <memory>

namespace corvane {

class TBuffer {
 public:
  static constexpr std::int32_t kSize = 1514;

  TBuffer();

  // Appends up to `length` bytes; returns how many fitted.
  std::int32_t Write(const void* data, std::int32_t length);
  // The bytes not yet sent; length 0 and no pointer when there are none.
  const char* Peek(std::int32_t& length) const;
  // Marks up to `count` bytes as sent; a drained block rewinds for reuse.
  std::int32_t Remove(std::int32_t count);

  std::int32_t BufSize() const { return kSize; }
  std::int32_t WriteCount() const { return write_count_; }
  std::int32_t ReadCount() const { return read_count_; }

 private:
  std::unique_ptr<char[]> buffer_;
  std::int32_t write_count_ = 0;
  std::int32_t read_count_ = 0;
};

class TSendQueue {
 public:
  // Appends behind whatever is queued: first the free tail of the last
  // block, then new blocks.
  void Append(const void* data, std::int32_t length);

  bool Empty() const { return blocks_.empty(); }
  std::size_t BlockCount() const { return blocks_.size(); }
  const TBuffer& Front() const { return *blocks_.front(); }
  const TBuffer& Block(std::size_t index) const { return *blocks_[index]; }
  // Marks up to `count` bytes of the first block as sent.
  std::int32_t RemoveFront(std::int32_t count);
  // Frees the first block (only when another follows it).
  void DropFront() { blocks_.pop_front(); }
  // Forgets every byte not yet sent; one rewound block stays for reuse.
  void Clear();
  // Bytes queued and not yet sent.
  std::int64_t PendingBytes() const { return pending_; }

 private:
  std::deque<std::unique_ptr<TBuffer>> blocks_;
  std::int64_t pending_ = 0;
};

}  // namespace corvane
