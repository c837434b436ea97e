#include "net/wsocket.h"

#include <limits>
#include <map>
#include <system_error>

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

std::string HostError(const std::string& text) { return "SetAddr: Cannot convert host address '" + text + "'"; }

platform::SockAddr Ipv4Address(std::uint32_t address) {
  platform::SockAddrIn in;
  in.address = address;
  return in;
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
  AbandonLookup();
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
  AbandonLookup();
  remote_ = platform::SockAddr{};
  addresses_.clear();
  lookup_name_.clear();
  untried_.clear();
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
  ResolveHost(text);
  addr_assigned_ = true;
}

// An address literal (IPv4, IPv6) is taken at once; a name is kept for
// Connect to look up away from this thread.
void TWSocket::ResolveHost(const std::string& text) {
  const std::string name = Trim(text);
  SocketsStartup();
  // An empty name would mean the local host on one platform and fail on
  // another; it is refused everywhere.
  if (name.empty() || !FitsLookup(name, kMaxHostName)) throw ESocketException(HostError(text));
  addresses_.clear();
  lookup_name_.clear();
  const std::uint32_t address = sockets_.InetAddr(name.c_str());
  if (address != platform::kInaddrNone || name == "255.255.255.255") {
    addresses_.push_back(Ipv4Address(address));
  } else if (sockets_.LookupAddresses(name.c_str(), true, addresses_) != 0 || addresses_.empty()) {
    addresses_.clear();
    lookup_name_ = name;
  }
}

bool TWSocket::SetOption(int option, const void* value, int length) {
  return sockets_.SetSockOpt(handle_, platform::kSolSocket, option, value, length) == 0;
}

void TWSocket::Connect() {
  if (handle_ != kInvalidSocket && state_ != TSocketState::Closed) {
    throw ESocketException("Connect: Socket already in use");
  }
  if (!port_assigned_) throw ESocketException("Connect: No Port Specified");
  if (!addr_assigned_) throw ESocketException("Connect: No IP Address Specified");
  if (!proto_assigned_) throw ESocketException("Connect: No Protocol Specified");
  AbandonLookup();
  if (!lookup_name_.empty()) {
    StartLookup();
    return;
  }
  untried_ = addresses_;
  TakeNextAddress();
  handle_ = sockets_.Socket(remote_.family, socket_type_, proto_number_);
  if (handle_ == kInvalidSocket) SocketError("Connect (socket)");
  const std::uint32_t session = ++session_;
  if (const char* failed = StartAttempt(session)) SocketError(failed);
}

// The next address to try, with the port that was assigned.
void TWSocket::TakeNextAddress() {
  const std::uint16_t port = remote_.port;
  remote_ = untried_.front();
  remote_.port = port;
  untried_.erase(untried_.begin());
}

// With the socket created: options, notifications and the connection
// started. Returns the step that failed, whose error number the library
// holds, or nullptr (also when a state handler ended the session).
const char* TWSocket::StartAttempt(std::uint32_t session) {
  // A state handler may close or destroy the socket; then nothing is left to set up.
  if (!ChangeState(TSocketState::Opened) || !SameSession(session)) return nullptr;

  const std::int32_t on = -1;
  if (socket_type_ == platform::kSockDgram) {
    const bool broadcast = remote_.family == platform::kAfInet && remote_.Ipv4() == platform::kInaddrNone;
    const std::int32_t one = 1;
    if (broadcast && !SetOption(platform::kSoBroadcast, &one, sizeof one)) return "setsockopt(SO_BROADCAST)";
    if (ChangeState(TSocketState::Connecting) && SameSession(session)) (void)ChangeState(TSocketState::Connected);
    return nullptr;
  }

  const platform::Linger linger{1, 0};
  if (!SetOption(platform::kSoLinger, &linger, sizeof linger)) return "setsockopt(SO_LINGER)";
  const std::int32_t keep = keep_alive_ > 0 ? on : 0;
  if (!SetOption(platform::kSoKeepAlive, &keep, sizeof keep)) return "setsockopt(SO_KEEPALIVE)";
  if (keep_alive_ > 0 && sockets_.SetKeepAlive(handle_, keep_alive_) != 0) return "KeepAlive";
  if (!SetOption(platform::kSoReuseAddr, &on, sizeof on)) return "setsockopt(SO_REUSEADDR)";

  if (sockets_.AsyncSelect(handle_, window_->Id(), kNotifyMessage, kEventMask) != 0) return "WSAAsyncSelect";

  if (sockets_.Connect(handle_, remote_) != 0 && sockets_.LastError() != platform::kWsaEWouldBlock) return "Connect";
  (void)ChangeState(TSocketState::Connecting);
  return nullptr;
}

// The session is Connecting, without a handle, until the answer arrives.
void TWSocket::StartLookup() {
  const std::uint32_t session = ++session_;
  try {
    lookup_ = TNameLookup::Start(sockets_.Resolver(), lookup_name_, window_->Id(), kLookupMessage, session);
  } catch (const std::system_error&) {
    throw ESocketException(HostError(addr_text_));
  }
  (void)ChangeState(TSocketState::Connecting);
}

void TWSocket::AbandonLookup() {
  if (!lookup_) return;
  lookup_->Abandon();
  lookup_.reset();
}

// An answer for an abandoned lookup finds another session, or none.
void TWSocket::HandleLookup(platform::MessageWord word) {
  if (!lookup_ || word != session_) return;
  TNameLookup::TAnswer answer = lookup_->Answer();
  lookup_.reset();
  if (answer.Error != 0 || answer.Addresses.empty()) {
    const std::string text = addr_text_;
    Close();  // no handle yet: the state returns to Closed without a session event
    throw ESocketException(HostError(text));
  }
  untried_ = std::move(answer.Addresses);
  TryNextAddress(session_);
}

// Tries the untried addresses in turn until one starts connecting; when the
// last one fails too, the session ends with its error.
void TWSocket::TryNextAddress(std::uint32_t session) {
  const auto alive = lifeline_.Take();
  int error = platform::kWsaEHostUnreach;
  while (!untried_.empty()) {
    TakeNextAddress();
    handle_ = sockets_.Socket(remote_.family, socket_type_, proto_number_);
    if (handle_ == kInvalidSocket) {
      error = sockets_.LastError();
      continue;
    }
    const char* failed = StartAttempt(session);
    if (!alive || session_ != session || failed == nullptr) return;
    error = sockets_.LastError();
    DropHandle();
  }
  FailAttempts(static_cast<std::uint16_t>(error));
}

// An address that failed: its socket goes quietly, the session goes on.
void TWSocket::DropHandle() {
  if (handle_ == kInvalidSocket) return;
  (void)sockets_.CloseSocket(handle_);
  window_->Purge(kNotifyMessage, static_cast<platform::MessageWord>(handle_));
  handle_ = kInvalidSocket;
}

// Every address failed before a connect notification could say so: the
// session ends as a refused connection does.
void TWSocket::FailAttempts(std::uint16_t error) {
  const auto alive = lifeline_.Take();
  const std::uint32_t session = session_;
  if (!ChangeState(TSocketState::Connected) || session_ != session) return;
  RaiseEvent(OnSessionConnected, *this, error);
  if (alive && session_ == session && state_ != TSocketState::Closed) EndSession(0);
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
  AbandonLookup();
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
  if (handle_ != kInvalidSocket) {
    sockets_.Shutdown(handle_, platform::kShutdownBoth);
    if (!CloseHandleRetrying()) return;
  }
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
