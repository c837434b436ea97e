#include "telnet/tncnx.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "telnet/telnet_codes.h"
#include "telnet/tn_trace.h"

namespace corvane {
namespace {

constexpr std::int32_t kDeliverThreshold = 2048;

}  // namespace

TTnCnx::TTnCnx() : socket_(std::make_unique<TWSocket>()), protocol_([this](const TnEvent& e) { OnProtocolEvent(e); }) {
  WireSocket();
}

TTnCnx::TTnCnx(platform::Sockets& sockets)
    : socket_(std::make_unique<TWSocket>(sockets)), protocol_([this](const TnEvent& e) { OnProtocolEvent(e); }) {
  WireSocket();
}

TTnCnx::~TTnCnx() {
  if (!socket_) return;
  socket_->BeginDestroy();
  socket_.reset();
}

void TTnCnx::WireSocket() {
  socket_->OnSessionConnected = [this](TWSocket& s, std::uint16_t e) { SocketSessionConnected(s, e); };
  socket_->OnDataAvailable = [this](TWSocket& s, std::uint16_t e) { SocketDataAvailable(s, e); };
  socket_->OnSessionClosed = [this](TWSocket& s, std::uint16_t e) { SocketSessionClosed(s, e); };
  socket_->OnDataSent = [this](TWSocket&, std::uint16_t) { FlowOut(); };
}

// Each session starts with a clean parser, so that one that ended inside a
// command or a sub-negotiation cannot swallow the next session's bytes.
void TTnCnx::ResetSession() {
  ++session_;
  rx_count_ = 0;
  outflow_.Clear();
  protocol_.Reset();
}

void TTnCnx::Connect() {
  if (!socket_) return;
  const auto alive = lifeline_.Take();
  if (socket_->State() != TSocketState::Closed) socket_->Close();
  if (!alive) return;
  ResetSession();
  socket_->SetProto("tcp");
  socket_->SetPort(Port);
  socket_->SetAddr(Host);
  socket_->SetKeepAlive(KeepAlive);
  socket_->Connect();
}

void TTnCnx::Close() {
  outflow_.Clear();
  if (socket_) socket_->Close();
}

int TTnCnx::Send(const char* data, int len) {
  if (data == nullptr || len < 0) len = 0;
  return Queue({data, static_cast<std::size_t>(len)}) ? len : -1;
}

int TTnCnx::SendStr(const std::string& str) {
  return Queue(str) ? static_cast<int>(std::min<std::size_t>(str.size(), INT_MAX)) : -1;
}

// Sizes stay 64-bit up to the queue: the pieces handed to it are small.
bool TTnCnx::Queue(std::string_view data) {
  if (!socket_) return false;
  std::string encoded = TnEncodeData(data, protocol_.LocalEnabled(TNOPT_BINARY));
  if (outflow_.Empty() && static_cast<std::int64_t>(encoded.size()) <= QueueRoom()) {
    socket_->Send(encoded);  // raises unless connected
    return true;
  }
  if (!InSession()) socket_->Send(nullptr, 0);  // raises as a send outside a session does
  outflow_.Append(std::move(encoded));
  FlowOut();
  return true;
}

// A command is never encoded as data: its IAC stays single.
bool TTnCnx::SendCommand(std::uint8_t command) {
  if (!socket_ || socket_->State() != TSocketState::Connected) return false;
  outflow_.Append(std::string{static_cast<char>(TNCH_IAC), static_cast<char>(command)});
  FlowOut();
  return true;
}

// Hands waiting data to the socket while its queue has room; the socket's
// OnDataSent, raised when the queue has drained, calls again.
void TTnCnx::FlowOut() {
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  while (alive && session_ == session && InSession() && !outflow_.Empty()) {
    const std::int64_t room = QueueRoom();
    if (room < 2) return;
    const std::string piece(outflow_.Next(static_cast<std::size_t>(room)));
    outflow_.Remove(piece.size());
    socket_->Send(piece);
  }
}

bool TTnCnx::InSession() const {
  return socket_ && (socket_->State() == TSocketState::Connected || socket_->State() == TSocketState::Connecting);
}

std::int64_t TTnCnx::QueueRoom() const { return kFlowQueued - socket_->SendQueue().PendingBytes(); }

void TTnCnx::Display(const std::string& str) { RaiseEvent(OnDisplay, *this, str); }

void TTnCnx::SocketSessionConnected(TWSocket&, std::uint16_t error) { RaiseEvent(OnSessionConnected, *this, error); }

// The rest of a chunk being examined belongs to no session any more; the data
// before the end is delivered before the end is reported.
void TTnCnx::SocketSessionClosed(TWSocket&, std::uint16_t error) {
  const auto alive = lifeline_.Take();
  if (socket_ && socket_->State() != TSocketState::Closed) socket_->Close();
  if (!alive) return;
  ++session_;
  outflow_.Clear();
  protocol_.Reset();
  DeliverPending();
  if (alive) RaiseEvent(OnSessionClosed, *this, error);
}

void TTnCnx::SocketDataAvailable(TWSocket&, std::uint16_t) {
  char buffer[kReceiveSize];
  std::int32_t n = socket_->Receive(buffer, kReceiveSize);
  if (n == 0) {
    Display("\r\n**** Remote has closed ****\r\n");
  } else if (n < 0) {
    std::int32_t error = socket_->LastError();
    if (error != platform::kWsaEWouldBlock) Display("\r\n**** ERROR: " + std::to_string(error) + " ****\r\n");
  } else {
    ProcessChunk(buffer, n);
  }
}

void TTnCnx::ProcessChunk(const char* data, int len) {
  const auto alive = lifeline_.Take();
  try {
    if (data != nullptr && len > 0) protocol_.Feed(data, static_cast<std::size_t>(len));
  } catch (...) {
    if (alive) DeliverPending();
    throw;
  }
  if (alive) DeliverPending();
}

void TTnCnx::ProcessChar(std::uint8_t ch) {
  const char byte = static_cast<char>(ch);
  protocol_.Feed(&byte, 1);
}

void TTnCnx::OnProtocolEvent(const TnEvent& event) {
  switch (event.Type) {
    case TnEventType::Data:
      AddData(event.Bytes);
      break;
    case TnEventType::Send:
      SendReply(event.Bytes);
      break;
    case TnEventType::EndOfRecord:
      RaiseEvent(OnEndOfRecord, *this);
      break;
    case TnEventType::TermTypeWanted:
      AnswerTermType();
      break;
    case TnEventType::LocationWanted:
      AnswerLocation();
      break;
    case TnEventType::Trace:
      DebugTrace(event.Bytes);
      break;
  }
}

// Pending data goes out in blocks of at most 2049 bytes.
void TTnCnx::AddData(std::string_view bytes) {
  if (rx_count_ + static_cast<std::int64_t>(bytes.size()) <= kDeliverThreshold) {
    std::memcpy(rx_buffer_ + rx_count_, bytes.data(), bytes.size());
    rx_count_ += static_cast<std::int32_t>(bytes.size());
    return;
  }
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  while (!bytes.empty() && alive && session_ == session) {
    // Only reached when a delivery block could not be allocated: the bytes
    // are dropped rather than written past the buffer.
    if (rx_count_ > kDeliverThreshold) return;
    const auto n = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(kDeliverThreshold + 1 - rx_count_));
    std::memcpy(rx_buffer_ + rx_count_, bytes.data(), n);
    rx_count_ += static_cast<std::int32_t>(n);
    bytes.remove_prefix(n);
    if (rx_count_ > kDeliverThreshold) DeliverPending();
  }
}

void TTnCnx::DeliverPending() {
  if (rx_count_ <= 0) return;
  if (!OnDataAvailable) {
    rx_count_ = 0;
    return;
  }
  std::unique_ptr<char[]> block(new (std::nothrow) char[static_cast<std::size_t>(rx_count_) + 1]);
  if (!block) return;
  int len = rx_count_;
  std::memcpy(block.get(), rx_buffer_, static_cast<std::size_t>(len));
  block[len] = 0;
  rx_count_ = 0;
  RaiseEvent(OnDataAvailable, *this, block.get(), len);
}

// A reply answers the session whose bytes asked for it; once that session
// has ended (or a new one is being set up) there is nobody to answer.
void TTnCnx::SendReply(std::string_view bytes) {
  if (socket_ && socket_->State() == TSocketState::Connected) socket_->Send(bytes);
}

// The handlers run first, so that they may still change the texts sent.
void TTnCnx::AnswerTermType() {
  const auto alive = lifeline_.Take();
  RaiseEvent(OnTermType, *this);
  if (alive) protocol_.SendTermType(TermType);
}

void TTnCnx::AnswerLocation() {
  const auto alive = lifeline_.Take();
  RaiseEvent(OnSendLoc, *this);
  if (alive) protocol_.SendLocation(Location);
}

}  // namespace corvane
