#pragma once
// A scripted stand-in for the sockets library: records what TWSocket asks
// of it and answers as each test arranges.
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace corvane::test {

class FakeSockets : public platform::Sockets {
 public:
  // Wider than 32 bits where handles are, so that a narrowed handle shows.
  static constexpr platform::SocketHandle kHandle = sizeof(platform::SocketHandle) > 4
                                                        ? static_cast<platform::SocketHandle>(0x7700000077LL)
                                                        : 77;

  struct Option {
    int option;
    std::vector<unsigned char> value;
  };

  // Answers of Send/SendTo, one per call: a count to accept at most, or a
  // negative error number to fail with. With none left, all is accepted.
  std::deque<int> send_script;
  std::vector<std::string> sent;  // bytes accepted, one entry per call
  std::vector<int> offered;       // lengths offered, one entry per call
  std::vector<Option> options;
  int fail_option = 0;  // option number whose setting fails with 10042
  int async_selects = 0;
  std::uint32_t async_mask = 0;
  std::uint32_t async_message = 0;
  platform::SockAddrIn connected_to;
  int close_failures = 0;  // CloseSocket fails this often with 10035
  int close_calls = 0;
  std::uint32_t pending = 0;
  int recv_result = 0;
  int recv_calls = 0;
  int inet_calls = 0;
  int host_calls = 0;
  std::string service_name;
  std::string service_protocol = "(none)";
  bool protocol_lookup_fails = false;

  int Startup(std::uint16_t) override { return 0; }
  int Cleanup() override { return 0; }
  platform::SocketHandle Socket(int, int, int) override { return kHandle; }

  int SetSockOpt(platform::SocketHandle, int, int option, const void* value, int length) override {
    if (option == fail_option) return Fail(platform::kWsaENoProtoOpt);
    const auto* bytes = static_cast<const unsigned char*>(value);
    options.push_back(Option{option, std::vector<unsigned char>(bytes, bytes + length)});
    return 0;
  }

  int AsyncSelect(platform::SocketHandle, platform::WindowId, std::uint32_t message, std::uint32_t mask) override {
    ++async_selects;
    async_message = message;
    async_mask = mask;
    return 0;
  }

  int Connect(platform::SocketHandle, const platform::SockAddrIn& address) override {
    connected_to = address;
    return Fail(platform::kWsaEWouldBlock);
  }

  int Send(platform::SocketHandle, const void* data, int length) override { return Take(data, length); }
  int SendTo(platform::SocketHandle, const void* data, int length, const platform::SockAddrIn&) override {
    return Take(data, length);
  }

  int Recv(platform::SocketHandle, void*, int) override {
    ++recv_calls;
    return recv_result;
  }

  int Shutdown(platform::SocketHandle, int) override { return 0; }

  int CloseSocket(platform::SocketHandle) override {
    ++close_calls;
    if (close_failures > 0) {
      --close_failures;
      return Fail(platform::kWsaEWouldBlock);
    }
    return 0;
  }

  int PendingBytes(platform::SocketHandle, std::uint32_t& count) override {
    count = pending;
    return 0;
  }

  bool ProtocolByName(const char* name, int& number) override {
    if (protocol_lookup_fails) return Fail(platform::kWsaNoData) == 0;
    number = std::strcmp(name, "udp") == 0 ? 17 : 6;
    return true;
  }

  bool ServiceByName(const char* name, const char* protocol, std::uint16_t& port) override {
    service_name = name;
    service_protocol = protocol == nullptr ? "(none)" : protocol;
    if (service_name != "telnet") return Fail(platform::kWsaNoData) == 0;
    port = platform::HostToNet16(23);
    return true;
  }

  bool HostByName(const char* name, std::uint32_t& address) override {
    ++host_calls;
    if (std::string(name) != "known.example") return Fail(platform::kWsaHostNotFound) == 0;
    address = platform::HostToNet32(0x0a000001);
    return true;
  }

  std::uint32_t InetAddr(const char* text) override {
    ++inet_calls;
    return std::string(text) == "127.0.0.1" ? platform::HostToNet32(0x7f000001) : platform::kInaddrNone;
  }

  int LastError() override { return last_error_; }
  void SetLastError(int number) override { last_error_ = number; }

  int Bind(platform::SocketHandle, const platform::SockAddrIn&) override { return Fail(platform::kWsaEOpNotSupp); }
  int Listen(platform::SocketHandle, int) override { return Fail(platform::kWsaEOpNotSupp); }
  platform::SocketHandle Accept(platform::SocketHandle) override { return Fail(platform::kWsaEOpNotSupp); }
  int LocalAddress(platform::SocketHandle, platform::SockAddrIn&) override { return Fail(platform::kWsaEOpNotSupp); }

 private:
  int Fail(int number) {
    last_error_ = number;
    return platform::kSocketError;
  }

  int Take(const void* data, int length) {
    offered.push_back(length);
    int accept = length;
    if (!send_script.empty()) {
      const int answer = send_script.front();
      send_script.pop_front();
      if (answer < 0) return Fail(-answer);
      accept = std::min(answer, length);
    }
    sent.emplace_back(static_cast<const char*>(data), static_cast<std::size_t>(accept));
    return accept;
  }

  int last_error_ = 0;
};

}  // namespace corvane::test
