#pragma once
// TTnCnx: the client side of the telnet protocol over one TWSocket. It opens
// and closes the session, passes the received bytes to the protocol core
// (TTnProtocol), sends the core's replies, answers its requests with the
// terminal type and the location, reports end-of-record marks and hands the
// remaining data to its owner, one block per received chunk.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/lifeline.h"
#include "net/wsocket.h"
#include "telnet/telnet_codes.h"
#include "telnet/tn_outflow.h"
#include "telnet/tn_protocol.h"

namespace corvane {

class TTnCnx;

using TTnSessionConnected = std::function<void(TTnCnx& sender, std::uint16_t error)>;
using TTnSessionClosed = std::function<void(TTnCnx& sender, std::uint16_t error)>;
// The buffer holds len data bytes followed by a 0 byte; valid during the call.
using TTnDataAvailable = std::function<void(TTnCnx& sender, const char* buffer, int len)>;
using TTnDisplay = std::function<void(TTnCnx& sender, const std::string& str)>;
using TTnNotifyEvent = std::function<void(TTnCnx& sender)>;

class TTnCnx {
 public:
  // Bytes of one receive call, and of pending data (with room for the
  // trailing 0 and the overflow safeguard).
  static constexpr int kReceiveSize = 2048;
  static constexpr int kRxBufferSize = 2051;
  // Most bytes of the user's data kept in the socket's queue at a time; the
  // rest of the queue's bound stays free for negotiation replies.
  static constexpr std::int64_t kFlowQueued = 1 << 20;

  TTnCnx();
  // Runs over the given sockets library instead of the platform's (tests).
  explicit TTnCnx(platform::Sockets& sockets);
  ~TTnCnx();
  TTnCnx(const TTnCnx&) = delete;
  TTnCnx& operator=(const TTnCnx&) = delete;

  std::string Port = "23";
  std::string Host;
  std::string Location = "TNCNX";
  std::string TermType = "VT100";
  // Idle seconds before TCP keepalive probes, for each Connect; 0 turns them off.
  int KeepAlive = TWSocket::kDefaultKeepAlive;

  TTnSessionConnected OnSessionConnected;
  TTnSessionClosed OnSessionClosed;
  TTnDataAvailable OnDataAvailable;
  TTnDisplay OnDisplay;
  TTnNotifyEvent OnEndOfRecord;
  TTnNotifyEvent OnSendLoc;
  TTnNotifyEvent OnTermType;

  // Closes an open session, starts a fresh parser and connects to Host:Port.
  // Socket errors are raised as ESocketException; the outcome arrives as
  // OnSessionConnected.
  void Connect();
  void Close();
  // Sends data to the host encoded as telnet requires (TnEncodeData). What
  // the socket's queue has no room for waits and follows as the queue drains,
  // in order, so that a paste of any size flows; later sends go behind it, and
  // the end of the session drops what still waits. Returns the length once
  // all is accepted, -1 without a socket; raises unless connected.
  int Send(const char* data, int len);
  int SendStr(const std::string& str);
  // IAC BRK (the console's Break) and IAC AYT (Are You There), behind the
  // data already waiting. Outside a connected session nothing is sent and
  // false is returned: the menu offers them whatever the state.
  bool SendBreak() { return SendCommand(TNCH_BRK); }
  bool SendAreYouThere() { return SendCommand(TNCH_AYT); }
  // Whether accepted data still waits for room in the socket's queue.
  bool Flowing() const { return !outflow_.Empty(); }
  void Display(const std::string& str);
  // Which table answers the host's option requests, and the grid's size
  // that the window-size option reports (see TTnProtocol); both outlast a
  // session.
  void SetNegotiation(TnNegotiation table) { protocol_.SetNegotiation(table); }
  void SetWindowSize(int cols, int rows) { protocol_.SetWindowSize(cols, rows); }

  // The receive path: one received chunk parsed and delivered, or one byte at
  // a time with an explicit flush of the pending data. Data received before
  // an event is delivered even when the event's handler ends the session or
  // a reply fails.
  void ProcessChunk(const char* data, int len);
  void ProcessChar(std::uint8_t ch);
  void DeliverPending();

  TWSocket* CnxSocket() { return socket_.get(); }

 private:
  void WireSocket();
  void ResetSession();
  void OnProtocolEvent(const TnEvent& event);
  void AddData(std::string_view bytes);
  void SendReply(std::string_view bytes);
  bool Queue(std::string_view data);
  bool SendCommand(std::uint8_t command);
  void FlowOut();
  bool InSession() const;
  std::int64_t QueueRoom() const;
  void AnswerTermType();
  void AnswerLocation();

  void SocketSessionConnected(TWSocket& sender, std::uint16_t error);
  void SocketSessionClosed(TWSocket& sender, std::uint16_t error);
  void SocketDataAvailable(TWSocket& sender, std::uint16_t error);

  std::unique_ptr<TWSocket> socket_;
  TTnProtocol protocol_;
  TTnOutflow outflow_;

  char rx_buffer_[kRxBufferSize];
  std::int32_t rx_count_ = 0;
  // Counts session starts and ends, so that data of an ended session never
  // joins the next one.
  std::uint32_t session_ = 0;
  TLifeline lifeline_;
};

}  // namespace corvane
