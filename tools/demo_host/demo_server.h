#pragma once
// The demo host's loop: accepts clients on 127.0.0.1 and moves bytes between
// their sockets and their sessions, all on one thread.
#include <cstdint>
#include <string>

namespace corvane::demo {

struct DemoServerOptions {
  std::uint16_t port = 2323;
  int max_clients = 16;
};

// Serves until SIGINT or SIGTERM. Returns the process exit code; a failure to
// listen is reported on standard error.
int RunDemoServer(const DemoServerOptions& options);

}  // namespace corvane::demo
