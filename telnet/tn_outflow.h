#pragma once
// TTnOutflow: data for the host that waits until the socket's send queue has
// room, already encoded for telnet. It is handed out in pieces that never
// split a doubled 255 or part a CR from the LF or NUL after it, so replies
// the connection sends between two pieces cannot change their meaning.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace corvane {

class TTnOutflow {
 public:
  bool Empty() const { return parts_.empty(); }
  // Adds the encoded bytes of one send behind those waiting.
  void Append(std::string encoded);
  // The next piece: at most `most` bytes (at least 2 are asked for), cut at
  // a boundary of the encoding; empty when nothing waits.
  std::string_view Next(std::size_t most) const;
  // Forgets the first `count` bytes of what Next returned: they were handed on.
  void Remove(std::size_t count);
  void Clear();

 private:
  std::deque<std::string> parts_;
  std::size_t at_ = 0;  // bytes of parts_.front() already handed on
};

}  // namespace corvane
