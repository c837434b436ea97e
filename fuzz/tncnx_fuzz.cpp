// The telnet connection's receive path on any bytes, cut anywhere: the same
// stream fed whole and in pieces must deliver the same data, send the same
// replies and raise the same events. A stand-in sockets library takes the
// replies, so no network is used. The first two bytes seed the cuts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/quiet_platform.h"
#include "platform/message_loop.h"
#include "telnet/tncnx.h"
#include "tests/net/fake_sockets.h"

namespace {

using corvane::TTnCnx;
using corvane::test::FakeSockets;

constexpr std::size_t kHeader = 2;

void Check(bool ok) {
  if (!ok) std::abort();
}

// A connected TTnCnx that records what it delivers, sends and reports.
struct Session {
  FakeSockets sockets;
  TTnCnx cnx{sockets};
  std::string data;
  std::string events;

  Session() {
    cnx.Host = "127.0.0.1";
    cnx.OnDataAvailable = [this](TTnCnx&, const char* buffer, int len) {
      Check(len > 0 && buffer[len] == 0);
      data.append(buffer, static_cast<std::size_t>(len));
    };
    cnx.OnEndOfRecord = [this](TTnCnx&) { events += 'E'; };
    cnx.OnSendLoc = [this](TTnCnx&) { events += 'L'; };
    cnx.OnTermType = [this](TTnCnx&) { events += 'T'; };
    cnx.Connect();
    corvane::platform::PostToWindow(cnx.CnxSocket()->NotificationWindow(), corvane::TWSocket::kNotifyMessage,
                                    FakeSockets::kHandle, corvane::platform::kFdConnect);
    corvane::platform::ProcessMessages();
    Check(cnx.CnxSocket()->State() == corvane::TSocketState::Connected);
  }

  std::string Sent() {
    corvane::platform::ProcessMessages();  // the write notifications Send posted
    std::string all;
    for (const auto& piece : sockets.sent) all += piece;
    return all;
  }
};

// Cut lengths from a small generator: mostly short pieces, some up to a
// whole receive call.
class Cuts {
 public:
  explicit Cuts(std::uint32_t seed) : state_(seed) {}
  int Next() {
    state_ = state_ * 1103515245u + 12345u;
    const std::uint32_t r = state_ >> 8;
    return 1 + static_cast<int>(r % ((r & 1) != 0 ? 8u : static_cast<std::uint32_t>(TTnCnx::kReceiveSize)));
  }

 private:
  std::uint32_t state_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::fuzz::QuietPlatform();
  if (size < kHeader) return 0;
  const char* stream = reinterpret_cast<const char*>(data + kHeader);
  const int length = static_cast<int>(size - kHeader);

  Session whole;
  whole.cnx.ProcessChunk(stream, length);

  Session pieces;
  Cuts cuts(static_cast<std::uint32_t>(data[0] | data[1] << 8));
  for (int at = 0; at < length;) {
    const int piece = std::min(cuts.Next(), length - at);
    pieces.cnx.ProcessChunk(stream + at, piece);
    at += piece;
  }

  Check(whole.data == pieces.data);
  Check(whole.events == pieces.events);
  Check(whole.Sent() == pieces.Sent());
  return 0;
}
