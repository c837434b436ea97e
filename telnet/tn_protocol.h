#pragma once
// TTnProtocol: the client side of the telnet protocol, without input or
// output. Received bytes go in, cut anywhere; events come out as the bytes are
// examined: runs of data, bytes to send to the host, end-of-record marks, the
// host's requests for the terminal type and the location, and trace lines.
// Its owner moves the bytes to and from the network.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "net/lifeline.h"
#include "telnet/negotiation_table.h"

namespace corvane {

enum class TnEventType : std::uint8_t {
  Data,            // Bytes: received data with the telnet commands removed
  Send,            // Bytes: to be sent to the host as they are
  EndOfRecord,     // IAC EOR arrived
  TermTypeWanted,  // SB TERMINAL-TYPE SEND arrived: answer with SendTermType
  LocationWanted,  // DO SEND-LOCATION was agreed to: answer with SendLocation
  Trace,           // Bytes: one line for the diagnostic channel
};

struct TnEvent {
  TnEventType Type;
  std::string_view Bytes;  // valid during the call only
};

using TnEventHandler = std::function<void(const TnEvent& event)>;

class TTnProtocol {
 public:
  // Longest sub-negotiation kept; further bytes are dropped until it ends.
  static constexpr std::size_t kMaxSubNegotiation = 1024;

  explicit TTnProtocol(TnEventHandler handler);
  TTnProtocol(const TTnProtocol&) = delete;
  TTnProtocol& operator=(const TTnProtocol&) = delete;

  // Examines one received chunk. A handler may Reset or destroy the protocol;
  // the rest of the chunk is then dropped.
  void Feed(const char* data, std::size_t length);
  // A new session: no half-received command, every option off.
  void Reset();

  // The answers to TermTypeWanted and LocationWanted, raised as Send events.
  void SendTermType(std::string_view type);
  void SendLocation(std::string_view location);

  // The table of answers; both survive Reset. Leaving the Xterm table while
  // the window size is reported turns reporting off (WONT NAWS).
  TnNegotiation Negotiation() const { return negotiation_; }
  void SetNegotiation(TnNegotiation table);
  // The grid's size, each side within 0..65535. A change is sent at once
  // while the window-size option is on.
  void SetWindowSize(int cols, int rows);

  // Whether the host's side (remote) or the client's side (local) of an
  // option has been agreed to.
  bool RemoteEnabled(std::uint8_t option) const { return options_[option].remote; }
  bool LocalEnabled(std::uint8_t option) const { return options_[option].local; }

 private:
  struct OptionState {
    bool local = false;
    bool remote = false;
    std::uint8_t asked = 0;  // one bit per verb that has arrived for the option
  };

  // Each returns false when the handler reset or destroyed the protocol.
  bool Emit(TnEventType type, std::string_view bytes = {});
  bool Step(std::uint8_t ch);
  bool Command(std::uint8_t ch);
  bool SubNegotiationByte(std::uint8_t ch);
  void CollectSubNegotiation(std::uint8_t ch);
  bool HandleOption(std::uint8_t verb, std::uint8_t option);
  bool SendWindowSize();
  bool InCommand() const { return iac_seen_ || pending_verb_ != 0 || in_sub_neg_; }

  TnEventHandler handler_;
  bool iac_seen_ = false;
  std::uint8_t pending_verb_ = 0;
  bool in_sub_neg_ = false;
  std::string sub_neg_;
  std::array<OptionState, 256> options_{};
  TnNegotiation negotiation_ = TnNegotiation::Classic;
  std::uint16_t cols_ = 80;
  std::uint16_t rows_ = 25;
  std::uint32_t generation_ = 0;
  TLifeline lifeline_;
};

// Data for the host, with every byte 255 doubled as telnet requires.
std::string TnEscapeData(std::string_view data);
// The user's data for the host: escaped, and outside binary mode every CR
// that the data does not follow with LF or NUL is followed by NUL, as the
// telnet line rule requires. A CR at the end of the data counts as alone.
std::string TnEncodeData(std::string_view data, bool binary);

}  // namespace corvane
