#include "tests/telnet/telnet_peer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/message_loop.h"

namespace corvane::tntest {

bool PumpUntil(const std::function<bool()>& pred, int timeout_ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    platform::WaitAndProcessMessages(10);
  }
  return true;
}

std::string FreePort() { return ScriptedServer().Port(); }

std::string B(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TnRecorder::TnRecorder(TTnCnx& cnx, bool record_data) {
  if (record_data)
    cnx.OnDataAvailable = [this](TTnCnx&, const char* buffer, int len) {
      std::string block(buffer, static_cast<size_t>(len));
      if (buffer[len] != 0) block_terminated = false;
      data += block;
      blocks.push_back(block);
      log.push_back("data:" + block);
    };
  cnx.OnEndOfRecord = [this](TTnCnx&) { log.push_back("eor"); };
  cnx.OnTermType = [this](TTnCnx&) { log.push_back("termtype"); };
  cnx.OnSendLoc = [this](TTnCnx&) { log.push_back("sendloc"); };
  cnx.OnDisplay = [this](TTnCnx&, const std::string& s) {
    display += s;
    log.push_back("display:" + s);
  };
  cnx.OnSessionConnected = [this](TTnCnx&, std::uint16_t e) {
    connected = e;
    log.push_back("connected:" + std::to_string(e));
  };
  cnx.OnSessionClosed = [this](TTnCnx&, std::uint16_t e) {
    closed = e;
    ++closed_count;
    log.push_back("closed:" + std::to_string(e));
  };
}

std::vector<std::string> TnRecorder::Events() const {
  std::vector<std::string> events;
  for (const auto& e : log)
    if (e.rfind("data:", 0) != 0) events.push_back(e);
  return events;
}

ScriptedServer::ScriptedServer() {
  std::string error;
  listener_ = platform::TcpListener::Open(0, error);
  EXPECT_TRUE(listener_) << error;
}

std::string ScriptedServer::Port() const { return std::to_string(listener_->Port()); }

bool ScriptedServer::Connect(TTnCnx& cnx, TnRecorder& recorder) {
  recorder.connected = -1;
  cnx.Host = "127.0.0.1";
  cnx.Port = Port();
  cnx.Connect();
  stream_ = listener_->Accept(5000);
  return stream_ && PumpUntil([&] { return recorder.connected == 0; });
}

// The loop runs meanwhile: a client given a host name connects only once
// the name's lookup has come back to the loop.
bool ScriptedServer::Accept() {
  stream_.reset();
  for (int waited = 0; waited < 5000 && !stream_; waited += 20) {
    platform::ProcessMessages();
    stream_ = listener_->Accept(20);
  }
  return stream_ != nullptr;
}

bool ScriptedServer::Feed(TTnCnx& cnx, const std::string& chunk) {
  std::int32_t target = cnx.CnxSocket()->ReadCount() + static_cast<std::int32_t>(chunk.size());
  return stream_->SendAll(chunk, 5000) && PumpUntil([&] { return cnx.CnxSocket()->ReadCount() >= target; });
}

std::string ScriptedServer::TakeReplies(size_t at_least, int timeout_ms) {
  std::string replies;
  char buffer[4096];
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int n = stream_->Receive(buffer, sizeof buffer);
    if (n > 0) {
      replies.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (replies.size() >= at_least || n == 0 || std::chrono::steady_clock::now() > deadline) break;
    platform::WaitAndProcessMessages(5);
  }
  return replies;
}

}  // namespace corvane::tntest
