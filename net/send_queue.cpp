#include "net/send_queue.h"

#include <algorithm>
#include <cstring>

namespace corvane {

TBuffer::TBuffer() : buffer_(new char[kSize]) {}

std::int32_t TBuffer::Write(const void* data, std::int32_t length) {
  const std::int32_t free = kSize - write_count_;
  if (free <= 0 || length <= 0) return 0;
  const std::int32_t n = std::min(free, length);
  std::memcpy(buffer_.get() + write_count_, data, static_cast<std::size_t>(n));
  write_count_ += n;
  return n;
}

const char* TBuffer::Peek(std::int32_t& length) const {
  length = write_count_ - read_count_;
  if (length > 0) return buffer_.get() + read_count_;
  length = 0;
  return nullptr;
}

std::int32_t TBuffer::Remove(std::int32_t count) {
  const std::int32_t pending = write_count_ - read_count_;
  if (pending <= 0 || count <= 0) return 0;
  const std::int32_t n = std::min(count, pending);
  read_count_ += n;
  if (read_count_ == write_count_) {
    read_count_ = 0;
    write_count_ = 0;
  }
  return n;
}

void TSendQueue::Append(const void* data, std::int32_t length) {
  if (length <= 0) return;
  if (blocks_.empty()) blocks_.push_back(std::make_unique<TBuffer>());
  pending_ += length;
  const char* bytes = static_cast<const char*>(data);
  for (;;) {
    const std::int32_t n = blocks_.back()->Write(bytes, length);
    if (n >= length) return;
    length -= n;
    bytes += n;
    blocks_.push_back(std::make_unique<TBuffer>());
  }
}

std::int32_t TSendQueue::RemoveFront(std::int32_t count) {
  const std::int32_t removed = blocks_.front()->Remove(count);
  pending_ -= removed;
  return removed;
}

void TSendQueue::Clear() {
  if (blocks_.empty()) return;
  blocks_.erase(blocks_.begin() + 1, blocks_.end());
  std::int32_t length = 0;
  blocks_.front()->Peek(length);
  blocks_.front()->Remove(length);
  pending_ = 0;
}

}  // namespace corvane
