#pragma once
// TWSocket: the one network endpoint, IPv4 or IPv6. Resolves protocol, port
// and host from text (host names on a worker thread), connects without
// blocking, trying every address of a name in turn, queues outgoing data, and
// reports everything that happens on the socket as events on the GUI thread,
// driven by notification messages to its own hidden window.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/lifeline.h"
#include "net/name_lookup.h"
#include "net/send_queue.h"
#include "net/socket_errors.h"
#include "platform/message_loop.h"
#include "platform/sockets.h"

namespace corvane {

enum class TSocketState : std::uint8_t {
  InvalidState,
  Opened,
  Bound,
  Connecting,
  Connected,
  Accepting,
  Listening,
  Closed,
};

class TWSocket;

using TDataAvailable = std::function<void(TWSocket& sender, std::uint16_t error)>;
using TDataSent = std::function<void(TWSocket& sender, std::uint16_t error)>;
using TSessionClosed = std::function<void(TWSocket& sender, std::uint16_t error)>;
using TSessionConnected = std::function<void(TWSocket& sender, std::uint16_t error)>;
using TChangeState = std::function<void(TWSocket& sender, TSocketState old_state, TSocketState new_state)>;

class TWSocket {
 public:
  // The notification message the sockets library posts to the hidden window.
  static constexpr std::uint32_t kNotifyMessage = platform::kUserMessage + 1;
  // The answer of a host name lookup; its word is the session it belongs to.
  static constexpr std::uint32_t kLookupMessage = platform::kUserMessage + 2;
  static constexpr std::uint32_t kEventMask =
      platform::kFdRead | platform::kFdWrite | platform::kFdConnect | platform::kFdClose;
  // Longest texts accepted for look-ups; longer ones are rejected, never cut.
  static constexpr std::size_t kMaxHostName = 256;
  static constexpr std::size_t kMaxServiceName = 31;
  static constexpr std::size_t kMaxProtocolName = 31;
  // How often Close retries a close that would block before giving up.
  static constexpr int kCloseRetries = 100;
  // Most bytes waiting to be sent; a Send beyond it ends the session (error
  // 10055) instead of letting a host that never reads grow the queue.
  static constexpr std::int64_t kMaxQueued = 4 << 20;
  // Bytes one notification reads at most, so that a flooding host cannot
  // hold the thread; the rest is read on the next turn of the loop.
  static constexpr std::uint64_t kReadBudget = 64 << 10;
  // Seconds a connection may idle before TCP keepalive probes start, so that
  // gateways that forget idle connections keep this one.
  static constexpr int kDefaultKeepAlive = 60;

  TWSocket();
  // Uses the given sockets library instead of the platform's (tests).
  explicit TWSocket(platform::Sockets& sockets);
  ~TWSocket();
  TWSocket(const TWSocket&) = delete;
  TWSocket& operator=(const TWSocket&) = delete;

  const std::string& Addr() const { return addr_text_; }
  void SetAddr(const std::string& text);
  const std::string& Port() const { return port_text_; }
  void SetPort(const std::string& text);
  const std::string& Proto() const { return proto_text_; }
  void SetProto(const std::string& text);

  platform::SocketHandle HSocket() const { return handle_; }
  TSocketState State() const { return state_; }
  // Bytes received since creation or the last close; stops at the largest
  // 32-bit value instead of wrapping.
  std::int32_t ReadCount() const { return read_count_; }
  std::int32_t LastError() const { return last_error_; }
  // Keepalive idle time in seconds for the next Connect; 0 turns it off.
  int KeepAlive() const { return keep_alive_; }
  void SetKeepAlive(int seconds) { keep_alive_ = seconds < 0 ? 0 : seconds; }

  // Checks, creates the socket, sets its options, asks for notifications and
  // starts the connection; the outcome arrives as OnSessionConnected. A host
  // name is looked up first, off this thread, in state Connecting without a
  // handle; a lookup that fails raises its error from the message loop. The
  // addresses of a name are tried in turn; only the last one's failure is
  // reported. Close, or a new Connect, abandons a pending lookup.
  void Connect();
  // One receive call: bytes stored, 0 when the peer has closed, -1 on
  // failure with the error number in LastError (10035: nothing pending).
  std::int32_t Receive(void* buffer, std::int32_t size);
  // Shuts down and closes the handle, forgets the bytes not yet sent, raises
  // OnSessionClosed once (unless being destroyed) and resets the fields.
  // Allowed in any state.
  void Close();
  // Queues the bytes and sends what the socket accepts now; the rest goes
  // on later write notifications. While connecting the bytes wait for the
  // connection. Returns the number of bytes queued.
  std::int32_t Send(const void* data, std::int32_t length);
  std::int32_t Send(std::string_view data);

  // The owner's destruction has begun: closing from now on raises no
  // OnSessionClosed.
  void BeginDestroy() { destroying_ = true; }
  bool Destroying() const { return destroying_; }

  // The hidden window that receives kNotifyMessage.
  platform::WindowId NotificationWindow() const;
  // The queued outgoing blocks (read only).
  const TSendQueue& SendQueue() const { return queue_; }

  TDataAvailable OnDataAvailable;
  TDataSent OnDataSent;
  TSessionClosed OnSessionClosed;
  TSessionConnected OnSessionConnected;
  TChangeState OnChangeState;

 private:
  void Reset();
  // False when a handler destroyed the socket.
  [[nodiscard]] bool ChangeState(TSocketState new_state);
  void EndSession(std::uint16_t error);
  [[noreturn]] void QueueOverflow();
  [[noreturn]] void SocketError(const std::string& operation);
  [[noreturn]] void RaiseWithError(int number, const std::string& operation);
  void SocketsStartup();
  void ResolveHost(const std::string& text);
  [[nodiscard]] bool SetOption(int option, const void* value, int length);
  void StartLookup();
  void AbandonLookup();
  void HandleLookup(platform::MessageWord word);
  void TakeNextAddress();
  [[nodiscard]] const char* StartAttempt(std::uint32_t session);
  void TryNextAddress(std::uint32_t session);
  void DropHandle();
  void FailAttempts(std::uint16_t error);
  [[nodiscard]] bool CloseHandleRetrying();
  // True while the session that was current at `session` still is.
  bool SameSession(std::uint32_t session) const { return session_ == session && handle_ != platform::kInvalidSocket; }

  void HandleMessage(std::uint32_t message, platform::MessageWord word, platform::MessageLong lparam);
  void HandleConnect(std::uint16_t error);
  void HandleWrite(std::uint16_t error);
  void HandleClose(std::uint16_t error, std::exception_ptr& failure);
  [[nodiscard]] bool ReadLoop(std::uint16_t error, std::exception_ptr& failure);
  std::uint32_t Pending(bool& ok);
  void TryToSend();

  platform::Sockets& sockets_;
  bool port_assigned_ = false;
  bool addr_assigned_ = false;
  bool proto_assigned_ = true;
  std::string proto_text_ = "tcp";
  std::string addr_text_;
  std::string port_text_;
  std::int32_t proto_number_ = 6;
  std::int32_t socket_type_ = platform::kSockStream;
  std::int32_t family_ = platform::kAfInet;
  TSocketState state_ = TSocketState::Closed;
  TSendQueue queue_;
  std::int32_t last_error_ = 0;
  bool all_sent_ = true;
  std::int32_t read_count_ = 0;
  // Each Connect starts a session with a new number; a handler that closes
  // or reconnects is noticed by the code that raised its event.
  std::uint32_t session_ = 0;
  std::uint32_t close_reported_for_ = 0;
  std::unique_ptr<platform::MessageWindow> window_;
  platform::SocketHandle handle_ = platform::kInvalidSocket;
  platform::SockAddr remote_;
  // Where Connect goes: the address of a literal, else a name to look up.
  std::vector<platform::SockAddr> addresses_;
  std::string lookup_name_;
  // The current session's addresses not tried yet.
  std::vector<platform::SockAddr> untried_;
  std::shared_ptr<TNameLookup> lookup_;
  int keep_alive_ = kDefaultKeepAlive;
  bool destroying_ = false;
  bool closing_ = false;
  // Counts Receive calls so the read loop can tell a handler that never reads.
  std::uint64_t receive_calls_ = 0;
  // Counts received bytes so the read loop can keep to its budget.
  std::uint64_t received_bytes_ = 0;
  TLifeline lifeline_;
};

}  // namespace corvane
