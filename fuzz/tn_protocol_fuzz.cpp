// The telnet protocol core on any bytes, cut anywhere: the same stream fed
// whole and in pieces must give the same data, replies and events, in the same
// order. The first two bytes seed the cuts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/quiet_platform.h"
#include "telnet/tn_protocol.h"

namespace {

using corvane::TnEvent;
using corvane::TnEventType;
using corvane::TTnProtocol;

constexpr std::size_t kHeader = 2;
constexpr std::size_t kLargestPiece = 2048;

void Check(bool ok) {
  if (!ok) std::abort();
}

// Records every event as a tagged line; adjacent data runs are joined, since
// where a run is cut depends on where the chunks end.
struct Transcript {
  std::string lines;
  std::string data;
  TTnProtocol protocol{[this](const TnEvent& e) { Record(e); }};

  void Record(const TnEvent& e) {
    if (e.Type == TnEventType::Data) {
      Check(!e.Bytes.empty());
      data.append(e.Bytes);
      return;
    }
    Flush();
    lines += static_cast<char>('0' + static_cast<int>(e.Type));
    lines.append(e.Bytes);
    lines += '\n';
    if (e.Type == TnEventType::TermTypeWanted) protocol.SendTermType("VT100");
    if (e.Type == TnEventType::LocationWanted) protocol.SendLocation("fuzz\xff");
  }

  std::string Finish() {
    Flush();
    return lines;
  }

  void Flush() {
    if (data.empty()) return;
    lines += "D" + data + "\n";
    data.clear();
  }
};

// Cut lengths from a small generator: mostly short pieces, some up to a
// whole receive call.
class Cuts {
 public:
  explicit Cuts(std::uint32_t seed) : state_(seed) {}
  std::size_t Next() {
    state_ = state_ * 1103515245u + 12345u;
    const std::uint32_t r = state_ >> 8;
    return 1 + r % ((r & 1) != 0 ? 8u : kLargestPiece);
  }

 private:
  std::uint32_t state_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::fuzz::QuietPlatform();
  if (size < kHeader) return 0;
  const char* stream = reinterpret_cast<const char*>(data + kHeader);
  const std::size_t length = size - kHeader;

  Transcript whole;
  whole.protocol.Feed(stream, length);

  Transcript pieces;
  Cuts cuts(static_cast<std::uint32_t>(data[0] | data[1] << 8));
  for (std::size_t at = 0; at < length;) {
    const std::size_t piece = std::min(cuts.Next(), length - at);
    pieces.protocol.Feed(stream + at, piece);
    at += piece;
  }

  Check(whole.Finish() == pieces.Finish());
  return 0;
}
