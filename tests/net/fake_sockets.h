#pragma once
// A scripted stand-in for the sockets library: records what TWSocket asks
// of it and answers as each test arranges.
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace corvane::test {

// Holds name lookups until the test opens it: a resolver that does not
// answer, then answers late.
class LookupGate {
 public:
  void Open() {
    const std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

inline platform::SockAddr Ipv4(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  platform::SockAddr address;
  address.bytes = {a, b, c, d};
  return address;
}

inline platform::SockAddr Ipv6Loopback() {
  platform::SockAddr address;
  address.family = platform::kAfInet6;
  address.bytes[15] = 1;
  return address;
}

class FakeSockets : public platform::Sockets {
 public:
  ~FakeSockets() override {
    if (lookup_gate) lookup_gate->Open();
  }

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
  platform::SockAddr connected_to;
  std::vector<platform::SockAddr> connects;  // every address connected to, in order
  std::vector<int> families;                 // of every socket created
  int socket_failures = 0;                   // Socket fails this often with 10047
  std::vector<int> keep_alives;              // every keepalive time set
  int close_failures = 0;                    // CloseSocket fails this often with 10035
  int close_calls = 0;
  std::uint32_t pending = 0;
  int recv_result = 0;
  int recv_calls = 0;
  int inet_calls = 0;
  // Names and their addresses; any other name is not found. Lookups run on
  // a worker thread: set these up before Connect.
  std::map<std::string, std::vector<platform::SockAddr>> hosts{{"known.example", {Ipv4(10, 0, 0, 1)}}};
  std::shared_ptr<LookupGate> lookup_gate;
  std::atomic<int> host_calls{0};
  std::string service_name;
  std::string service_protocol = "(none)";
  bool protocol_lookup_fails = false;

  int Startup(std::uint16_t) override { return 0; }
  int Cleanup() override { return 0; }
  platform::SocketHandle Socket(int family, int, int) override {
    families.push_back(family);
    if (socket_failures > 0) {
      --socket_failures;
      return Fail(platform::kWsaEAfNoSupport);
    }
    return kHandle;
  }

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

  int Connect(platform::SocketHandle, const platform::SockAddr& address) override {
    connected_to = address;
    connects.push_back(address);
    return Fail(platform::kWsaEWouldBlock);
  }

  int Send(platform::SocketHandle, const void* data, int length) override { return Take(data, length); }
  int SendTo(platform::SocketHandle, const void* data, int length, const platform::SockAddr&) override {
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

  int LookupAddresses(const char* name, bool numeric_only, std::vector<platform::SockAddr>& found) override {
    if (numeric_only) {
      if (std::string(name) != "::1") return platform::kWsaHostNotFound;
      found = {Ipv6Loopback()};
      return 0;
    }
    return Resolver()(name, found);
  }

  // The hosts known now and the gate, taken along: the test may end, and
  // this object with it, while a lookup still waits.
  NameResolver Resolver() override {
    ++host_calls;
    return [hosts = hosts, gate = lookup_gate](const std::string& name, std::vector<platform::SockAddr>& found) {
      const auto known = hosts.find(name);
      found = known == hosts.end() ? std::vector<platform::SockAddr>{} : known->second;
      if (gate) gate->Wait();
      return found.empty() ? platform::kWsaHostNotFound : 0;
    };
  }

  int SetKeepAlive(platform::SocketHandle, int seconds) override {
    keep_alives.push_back(seconds);
    return 0;
  }
  int KeepAliveOf(platform::SocketHandle, int&) override { return Fail(platform::kWsaEOpNotSupp); }

  std::uint32_t InetAddr(const char* text) override {
    ++inet_calls;
    return std::string(text) == "127.0.0.1" ? platform::HostToNet32(0x7f000001) : platform::kInaddrNone;
  }

  int LastError() override { return last_error_; }
  void SetLastError(int number) override { last_error_ = number; }

  int Bind(platform::SocketHandle, const platform::SockAddr&) override { return Fail(platform::kWsaEOpNotSupp); }
  int Listen(platform::SocketHandle, int) override { return Fail(platform::kWsaEOpNotSupp); }
  platform::SocketHandle Accept(platform::SocketHandle) override { return Fail(platform::kWsaEOpNotSupp); }
  int LocalAddress(platform::SocketHandle, platform::SockAddr&) override { return Fail(platform::kWsaEOpNotSupp); }

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
