#pragma once
// Test peers for the telnet connection: a scripted server on 127.0.0.1 that
// sends exact chunks and collects the client's replies, and a recorder of
// everything a TTnCnx reports.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/tcp_listener.h"
#include "telnet/tncnx.h"

namespace corvane::tntest {

// Runs the message loop until pred holds; false after timeout_ms.
bool PumpUntil(const std::function<bool()>& pred, int timeout_ms = 5000);

// A port on 127.0.0.1 that nothing listens on any more: for a server process
// to take, or for a connection to be refused.
std::string FreePort();

// Builds a byte string from numbers and text pieces: B({255, 251, 1}).
std::string B(std::initializer_list<int> bytes);

// Everything a TTnCnx reports, in order. Data blocks are checked for the 0
// byte that must follow them.
struct TnRecorder {
  explicit TnRecorder(TTnCnx& cnx, bool record_data = true);

  std::string data;                 // all delivered bytes
  std::vector<std::string> blocks;  // one entry per OnDataAvailable
  std::vector<std::string> log;     // events in order, data as "data:<bytes>"
  bool block_terminated = true;     // every block had its 0 byte
  int connected = -1;               // error of OnSessionConnected, -1 = none
  int closed = -1;                  // error of OnSessionClosed, -1 = none
  int closed_count = 0;
  std::string display;

  // The log without data entries.
  std::vector<std::string> Events() const;
};

class ScriptedServer {
 public:
  ScriptedServer();
  std::string Port() const;

  // Connects cnx to this server and accepts it; false on failure.
  bool Connect(TTnCnx& cnx, TnRecorder& recorder);
  // Accepts a client that connects by itself; false when none comes.
  bool Accept();
  // Sends bytes to the client without waiting for it.
  bool Send(const std::string& bytes) { return stream_->SendAll(bytes, 5000); }
  // Sends one chunk and runs the loop until the client has read all of it.
  bool Feed(TTnCnx& cnx, const std::string& chunk);
  // The bytes the client has sent so far (replies and data), waiting up to
  // timeout_ms for at least `at_least` of them.
  std::string TakeReplies(size_t at_least = 0, int timeout_ms = 2000);
  // One receive call on the server's side: as TcpStream::Receive.
  int Receive(char* buffer, int size) { return stream_->Receive(buffer, size); }
  // The accepted connection's socket, to hand to a server process.
  std::intptr_t StreamHandle() const { return stream_->Handle(); }
  // Closes the server side of the current connection.
  void Hangup() { stream_.reset(); }

 private:
  std::unique_ptr<platform::TcpListener> listener_;
  std::unique_ptr<platform::TcpStream> stream_;
};

}  // namespace corvane::tntest
