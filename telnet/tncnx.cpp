#include "telnet/tncnx.h"

#include <cstring>
#include <new>

#include "telnet/negotiation_table.h"
#include "telnet/telnet_codes.h"
#include "telnet/tn_trace.h"

namespace corvane {
namespace {

constexpr std::int32_t kDeliverThreshold = 2048;

std::string Bytes(std::initializer_list<std::uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Telnet data may hold any byte; 255 goes out as 255 255.
std::string DoubleIac(const char* data, int len) {
  std::string out;
  out.reserve(static_cast<std::size_t>(len) + 8);
  for (int i = 0; i < len; ++i) {
    out += data[i];
    if (static_cast<std::uint8_t>(data[i]) == TNCH_IAC) out += data[i];
  }
  return out;
}

// A byte that ProcessChar would only add to the pending data.
bool IsPlainData(std::uint8_t ch) { return ch < TNCH_IP || (ch > TNCH_EL && ch != TNCH_IAC); }

// The end of the run of plain data that starts at data[at]. Eight bytes are
// tested at a time: none of them is 244 or above (bit 7 set and the low
// seven bits at least 0x74) in most text.
int PlainRunEnd(const char* data, int at, int len) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full, kHigh = 0x8080808080808080ull,
                          kTo0x74 = 0x0C0C0C0C0C0C0C0Cull;
  for (std::uint64_t word; at + 8 <= len; at += 8) {
    std::memcpy(&word, data + at, 8);
    if ((((word & kLow7) + kTo0x74) & word & kHigh) != 0) break;
  }
  while (at < len && IsPlainData(static_cast<std::uint8_t>(data[at]))) ++at;
  return at;
}

}  // namespace

TTnCnx::TTnCnx() : socket_(std::make_unique<TWSocket>()) { WireSocket(); }

TTnCnx::TTnCnx(platform::Sockets& sockets) : socket_(std::make_unique<TWSocket>(sockets)) {
  WireSocket();
}

TTnCnx::~TTnCnx() {
  if (!socket_) return;
  socket_->BeginDestroy();
  socket_.reset();
}

void TTnCnx::WireSocket() {
  sub_neg_buffer_.reserve(kMaxSubNegotiation);
  socket_->OnSessionConnected = [this](TWSocket& s, std::uint16_t e) { SocketSessionConnected(s, e); };
  socket_->OnDataAvailable = [this](TWSocket& s, std::uint16_t e) { SocketDataAvailable(s, e); };
  socket_->OnSessionClosed = [this](TWSocket& s, std::uint16_t e) { SocketSessionClosed(s, e); };
}

// Each session starts with a clean parser, so that one that ended inside a
// command or a sub-negotiation cannot swallow the next session's bytes.
void TTnCnx::ResetSession() {
  rx_count_ = 0;
  iac_seen_ = false;
  pending_verb_ = 0;
  in_sub_neg_ = false;
  sub_neg_buffer_.clear();
  binary_ = echo_ = sga_ = type_or_eor_ = false;
}

void TTnCnx::Connect() {
  if (!socket_) return;
  if (socket_->State() != TSocketState::Closed) socket_->Close();
  ResetSession();
  socket_->SetProto("tcp");
  socket_->SetPort(Port);
  socket_->SetAddr(Host);
  socket_->Connect();
}

void TTnCnx::Close() {
  if (socket_) socket_->Close();
}

int TTnCnx::Send(const char* data, int len) {
  if (!socket_) return -1;
  if (data == nullptr || len < 0) len = 0;
  std::string doubled = DoubleIac(data, len);
  std::int32_t queued = socket_->Send(doubled.data(), static_cast<std::int32_t>(doubled.size()));
  return queued == static_cast<std::int32_t>(doubled.size()) ? len : queued;
}

int TTnCnx::SendStr(const std::string& str) {
  return Send(str.data(), static_cast<int>(str.size()));
}

void TTnCnx::Display(const std::string& str) {
  if (OnDisplay) OnDisplay(*this, str);
}

void TTnCnx::SocketSessionConnected(TWSocket&, std::uint16_t error) {
  if (OnSessionConnected) OnSessionConnected(*this, error);
}

void TTnCnx::SocketSessionClosed(TWSocket&, std::uint16_t error) {
  if (socket_ && socket_->State() != TSocketState::Closed) socket_->Close();
  if (OnSessionClosed) OnSessionClosed(*this, error);
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

// Runs of plain data are copied at once; the result is the same as passing
// every byte to ProcessChar.
void TTnCnx::ProcessChunk(const char* data, int len) {
  if (data == nullptr) len = 0;
  int i = 0;
  while (i < len) {
    int run = i;
    if (!iac_seen_ && pending_verb_ == 0 && !in_sub_neg_) run = PlainRunEnd(data, i, len);
    if (run > i && rx_count_ + (run - i) <= kDeliverThreshold) {
      std::memcpy(rx_buffer_ + rx_count_, data + i, static_cast<std::size_t>(run - i));
      rx_count_ += run - i;
      i = run;
    } else {
      ProcessChar(static_cast<std::uint8_t>(data[i++]));
    }
  }
  DeliverPending();
}

void TTnCnx::ProcessChar(std::uint8_t ch) {
  if (pending_verb_ != 0) {
    std::uint8_t verb = pending_verb_;
    pending_verb_ = 0;
    sub_neg_buffer_.clear();
    HandleOption(verb, ch);
    return;
  }
  if (in_sub_neg_) {
    // Any 240 ends a sub-negotiation; IAC has no meaning inside it.
    if (ch == TNCH_SE) {
      in_sub_neg_ = false;
      HandleSubNegotiation();
    } else if (sub_neg_buffer_.size() < kMaxSubNegotiation) {
      sub_neg_buffer_ += static_cast<char>(ch);
    }
    return;
  }
  if (iac_seen_) {
    iac_seen_ = false;
    if (ch == TNCH_EOR) {
      DebugTrace(kEorTrace);
      if (OnEndOfRecord) OnEndOfRecord(*this);
    } else if (ch == TNCH_SB) {
      // Each sub-negotiation is examined on its own, even when two arrive
      // without an option command between them.
      sub_neg_buffer_.clear();
      in_sub_neg_ = true;
    } else if (ch >= TNCH_WILL && ch <= TNCH_DONT) {
      pending_verb_ = ch;
    } else if (ch == TNCH_IAC) {
      AddChar(TNCH_IAC);
    } else {
      DebugTrace(UnknownCommandTrace(ch));
    }
    return;
  }
  if (ch == TNCH_IAC) {
    iac_seen_ = true;
    return;
  }
  if (auto trace = DataByteTrace(ch); !trace.empty()) DebugTrace(trace);
  AddChar(ch);
}

void TTnCnx::AddChar(std::uint8_t ch) {
  // Only reachable when a delivery block could not be allocated: the byte is
  // dropped rather than written past the buffer.
  if (rx_count_ >= kRxBufferSize) return;
  rx_buffer_[rx_count_++] = static_cast<char>(ch);
  if (rx_count_ > kDeliverThreshold) DeliverPending();
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
  OnDataAvailable(*this, block.get(), len);
}

void TTnCnx::HandleOption(std::uint8_t verb, std::uint8_t option) {
  TnAction action = NegotiationAction(verb, option);
  if (action.reply != 0) SendOptions(action.reply, option);
  switch (action.effect) {
    case TnEffect::None: break;
    case TnEffect::SetBinary: binary_ = true; break;
    case TnEffect::ClearBinary: binary_ = false; break;
    case TnEffect::NoteEcho: echo_ = true; break;
    case TnEffect::NoteSga: sga_ = true; break;
    case TnEffect::NoteTypeOrEor: type_or_eor_ = true; break;
    case TnEffect::SendLocation: SendLocation(); break;
  }
}

void TTnCnx::SendLocation() {
  if (OnSendLoc) OnSendLoc(*this);
  SendCommand(Bytes({TNCH_IAC, TNCH_SB, TNOPT_SENDLOC}) + Location + Bytes({TNCH_IAC, TNCH_SE}));
}

void TTnCnx::HandleSubNegotiation() {
  const std::string& b = sub_neg_buffer_;
  if (b.size() < 2 || static_cast<std::uint8_t>(b[0]) != TNOPT_TTYPE ||
      static_cast<std::uint8_t>(b[1]) != TNTTYPE_SEND)
    return;
  if (OnTermType) OnTermType(*this);
  SendCommand(Bytes({TNCH_IAC, TNCH_SB, TNOPT_TTYPE, TNTTYPE_IS}) + TermType +
              Bytes({TNCH_IAC, TNCH_SE}));
}

void TTnCnx::SendOptions(std::uint8_t verb, std::uint8_t option) {
  SendCommand(Bytes({TNCH_IAC, verb, option}));
}

void TTnCnx::SendCommand(const std::string& bytes) {
  if (socket_) socket_->Send(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

}  // namespace corvane
