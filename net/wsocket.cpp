#include "net/wsocket.h"

#include <limits>
#include <map>

#include "platform/diagnostics.h"

namespace corvane {
namespace {

using platform::kInvalidSocket;

// Start-up of the sockets library is shared by all sockets on one library.
struct LibraryUse {
  bool started = false;
  int live_instances = 0;
};

LibraryUse& UseOf(const platform::Sockets& sockets) {
  static std::map<const platform::Sockets*, LibraryUse> uses;
  return uses[&sockets];
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool StartsWithDigit(const std::string& text) { return !text.empty() && text[0] >= '0' && text[0] <= '9'; }

// Leading digits as a number no larger than `limit`; false on overflow.
bool ParseLeadingNumber(const std::string& text, std::int64_t limit, std::int64_t& value) {
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  return true;
}

// Look-up names go to the library as C strings of bounded length.
bool FitsLookup(const std::string& name, std::size_t max_length) {
  return name.size() <= max_length && name.find('\0') == std::string::npos;
}

}  // namespace

TWSocket::TWSocket() : TWSocket(platform::SystemSockets()) {}

TWSocket::TWSocket(platform::Sockets& sockets) : sockets_(sockets) {
  window_ = std::make_unique<platform::MessageWindow>(
      [this](std::uint32_t message, platform::MessageWord word, platform::MessageLong lparam) {
        HandleMessage(message, word, lparam);
      });
  Reset();
  ++UseOf(sockets_).live_instances;
  try {
    SocketsStartup();
  } catch (...) {
    --UseOf(sockets_).live_instances;  // no destructor will run for this one
    throw;
  }
}

TWSocket::~TWSocket() {
  destroying_ = true;
  try {
    if (state_ != TSocketState::Closed) Close();
  } catch (const std::exception& e) {
    // A destructor cannot pass the failure on; it is reported instead.
    platform::WriteDiagnostic(std::string("TWSocket destructor: ") + e.what() + "\n");
  } catch (...) {
    platform::WriteDiagnostic("TWSocket destructor: unknown exception\n");
  }
  LibraryUse& use = UseOf(sockets_);
  --use.live_instances;
  if (use.started && use.live_instances <= 0) {
    if (sockets_.Cleanup() < 0) {
      platform::WriteDiagnostic(SocketErrorMessage(sockets_.LastError(), "Destructor (WSACleanup)") + "\n");
    } else {
      use.started = false;
    }
  }
}

platform::WindowId TWSocket::NotificationWindow() const { return window_->Id(); }

void TWSocket::Reset() {
  remote_ = platform::SockAddrIn{};
  family_ = platform::kAfInet;
  port_assigned_ = false;
  addr_assigned_ = false;
  proto_assigned_ = true;
  proto_number_ = 6;
  proto_text_ = "tcp";
  socket_type_ = platform::kSockStream;
  handle_ = kInvalidSocket;
  state_ = TSocketState::Closed;
  all_sent_ = true;
  read_count_ = 0;
}

bool TWSocket::ChangeState(TSocketState new_state) {
  const TSocketState old_state = state_;
  state_ = new_state;
  const auto alive = lifeline_.Take();
  RaiseEvent(OnChangeState, *this, old_state, new_state);
  return static_cast<bool>(alive);
}

void TWSocket::SocketError(const std::string& operation) {
  const int number = sockets_.LastError();
  const std::string message = SocketErrorMessage(number, operation);
  if (number == platform::kWsaEConnReset || number == platform::kWsaENotConn) {
    if (handle_ != kInvalidSocket) {
      sockets_.CloseSocket(handle_);
      window_->Purge(kNotifyMessage, static_cast<platform::MessageWord>(handle_));
      queue_.Clear();
    }
    handle_ = kInvalidSocket;
    (void)ChangeState(TSocketState::Closed);  // the exception leaves either way
  }
  throw ESocketException(message);
}

void TWSocket::RaiseWithError(int number, const std::string& operation) {
  sockets_.SetLastError(number);
  SocketError(operation);
}

void TWSocket::SocketsStartup() {
  LibraryUse& use = UseOf(sockets_);
  if (use.started) return;
  const int error = sockets_.Startup(platform::kSocketsVersion11);
  if (error != 0) throw ESocketException("wsock32.dll: WSAStartup error #" + std::to_string(error));
  use.started = true;
}

void TWSocket::SetProto(const std::string& text) {
  if (proto_assigned_ && text == proto_text_) return;
  proto_text_ = text;
  const std::string name = Trim(text);
  if (name == "not found") return;
  proto_assigned_ = true;
  const std::string operation = "SetProto: Cannot convert protocol '" + name + "'";
  if (StartsWithDigit(name)) {
    std::int64_t number = 0;
    if (!ParseLeadingNumber(name, std::numeric_limits<std::int32_t>::max(), number)) {
      proto_assigned_ = false;
      RaiseWithError(platform::kWsaEInval, operation);
    }
    proto_number_ = static_cast<std::int32_t>(number);
  } else {
    if (!FitsLookup(name, kMaxProtocolName)) {
      proto_assigned_ = false;
      RaiseWithError(platform::kWsaEInval, operation);
    }
    SocketsStartup();
    int number = 0;
    if (!sockets_.ProtocolByName(name.c_str(), number)) {
      proto_assigned_ = false;
      SocketError(operation);
    }
    proto_number_ = number;
  }
  socket_type_ = proto_number_ == 17 ? platform::kSockDgram : platform::kSockStream;
}

void TWSocket::SetPort(const std::string& text) {
  if (port_assigned_ && text == port_text_) return;
  port_text_ = text;
  port_assigned_ = true;
  const std::string name = Trim(text);
  const std::string operation = "SetPort: Cannot convert port '" + name + "'";
  if (StartsWithDigit(name)) {
    std::int64_t number = 0;
    if (!ParseLeadingNumber(name, 65535, number)) {
      port_assigned_ = false;
      RaiseWithError(platform::kWsaEInval, operation);
    }
    remote_.port = platform::HostToNet16(static_cast<std::uint16_t>(number));
    return;
  }
  if (!FitsLookup(name, kMaxServiceName) || !FitsLookup(proto_text_, kMaxProtocolName)) {
    port_assigned_ = false;
    RaiseWithError(platform::kWsaEInval, operation);
  }
  SocketsStartup();
  std::uint16_t port = 0;
  const char* protocol = proto_text_.empty() ? nullptr : proto_text_.c_str();
  if (!sockets_.ServiceByName(name.c_str(), protocol, port)) {
    port_assigned_ = false;
    SocketError(operation);
  }
  remote_.port = port;
}

void TWSocket::SetAddr(const std::string& text) {
  if (addr_assigned_ && text == addr_text_) return;
  addr_text_ = text;
  addr_assigned_ = false;
  remote_.address = ResolveHost(text);
  addr_assigned_ = true;
}

std::uint32_t TWSocket::ResolveHost(const std::string& text) {
  const std::string name = Trim(text);
  SocketsStartup();
  // An empty name would mean the local host on one platform and fail on
  // another; it is refused everywhere.
  if (name.empty() || !FitsLookup(name, kMaxHostName)) {
    throw ESocketException("SetAddr: Cannot convert host address '" + text + "'");
  }
  const std::uint32_t address = sockets_.InetAddr(name.c_str());
  if (address != platform::kInaddrNone) return address;
  if (name == "255.255.255.255") return platform::kInaddrNone;
  std::uint32_t resolved = 0;
  if (!sockets_.HostByName(name.c_str(), resolved)) {
    throw ESocketException("SetAddr: Cannot convert host address '" + text + "'");
  }
  return resolved;
}

void TWSocket::SetOption(int option, const void* value, int length, const char* name) {
  if (sockets_.SetSockOpt(handle_, platform::kSolSocket, option, value, length) != 0) SocketError(name);
}

void TWSocket::Connect() {
  if (handle_ != kInvalidSocket && state_ != TSocketState::Closed) {
    throw ESocketException("Connect: Socket already in use");
  }
  if (!port_assigned_) throw ESocketException("Connect: No Port Specified");
  if (!addr_assigned_) throw ESocketException("Connect: No IP Address Specified");
  if (!proto_assigned_) throw ESocketException("Connect: No Protocol Specified");

  handle_ = sockets_.Socket(family_, socket_type_, proto_number_);
  if (handle_ == kInvalidSocket) SocketError("Connect (socket)");
  const std::uint32_t session = ++session_;
  // A state handler may close or destroy the socket; then nothing is left to set up.
  if (!ChangeState(TSocketState::Opened) || !SameSession(session)) return;

  if (socket_type_ == platform::kSockDgram) {
    if (remote_.address == platform::kInaddrNone) {
      const std::int32_t on = 1;
      SetOption(platform::kSoBroadcast, &on, sizeof on, "setsockopt(SO_BROADCAST)");
    }
    if (ChangeState(TSocketState::Connecting) && SameSession(session)) (void)ChangeState(TSocketState::Connected);
    return;
  }

  const platform::Linger linger{1, 0};
  SetOption(platform::kSoLinger, &linger, sizeof linger, "setsockopt(SO_LINGER)");
  const std::int32_t on = -1;
  SetOption(platform::kSoKeepAlive, &on, sizeof on, "setsockopt(SO_KEEPALIVE)");
  SetOption(platform::kSoReuseAddr, &on, sizeof on, "setsockopt(SO_REUSEADDR)");

  if (sockets_.AsyncSelect(handle_, window_->Id(), kNotifyMessage, kEventMask) != 0) SocketError("WSAAsyncSelect");

  if (sockets_.Connect(handle_, remote_) != 0 && sockets_.LastError() != platform::kWsaEWouldBlock) {
    SocketError("Connect");
  }
  (void)ChangeState(TSocketState::Connecting);
}

std::int32_t TWSocket::Receive(void* buffer, std::int32_t size) {
  ++receive_calls_;
  const std::int32_t n = sockets_.Recv(handle_, buffer, size);
  if (n < 0) {
    last_error_ = sockets_.LastError();
    return n;
  }
  received_bytes_ += static_cast<std::uint64_t>(n);
  const std::int32_t room = std::numeric_limits<std::int32_t>::max() - read_count_;
  read_count_ = n > room ? std::numeric_limits<std::int32_t>::max() : read_count_ + n;
  return n;
}

void TWSocket::Close() {
  if (closing_) return;
  if (handle_ == kInvalidSocket) {
    if (state_ == TSocketState::Closed) return;
    queue_.Clear();
    if (ChangeState(TSocketState::Closed) && handle_ == kInvalidSocket) Reset();
    return;
  }
  if (state_ == TSocketState::Closed) return;
  EndSession(0);
}

// Ends the current session: the handle is closed, its unsent bytes are
// dropped (they were meant for this host only) and the end is reported once.
void TWSocket::EndSession(std::uint16_t error) {
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  sockets_.Shutdown(handle_, platform::kShutdownBoth);
  if (!CloseHandleRetrying()) return;
  queue_.Clear();
  if (!ChangeState(TSocketState::Closed)) return;
  if (!destroying_ && close_reported_for_ != session && OnSessionClosed) {
    close_reported_for_ = session;
    RaiseEvent(OnSessionClosed, *this, error);
    if (!alive) return;
  }
  // A handler that reconnected at once owns the fields now.
  if (session_ == session && handle_ == kInvalidSocket) Reset();
}

bool TWSocket::CloseHandleRetrying() {
  const auto alive = lifeline_.Take();
  closing_ = true;
  for (int attempt = 0; sockets_.CloseSocket(handle_) != 0; ++attempt) {
    last_error_ = sockets_.LastError();
    if (last_error_ != platform::kWsaEWouldBlock || attempt >= kCloseRetries) {
      closing_ = false;
      SocketError("Disconnect (closesocket)");
    }
    platform::ProcessMessages();
    if (!alive) return false;
  }
  closing_ = false;
  window_->Purge(kNotifyMessage, static_cast<platform::MessageWord>(handle_));
  handle_ = kInvalidSocket;
  return true;
}

}  // namespace corvane
