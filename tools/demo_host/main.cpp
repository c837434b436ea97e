#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/demo_host/demo_server.h"

namespace {

const char kUsage[] =
    "Usage: cvtelnet-demo-host [--port N] [--max-clients N]\n"
    "A telnet host on 127.0.0.1 to try the client on: it shows what the\n"
    "terminal renders and then names the bytes that each key sends.\n"
    "  --port N         port to listen on (default 2323, 0 picks a free one)\n"
    "  --max-clients N  clients served at once (default 16)\n";

// Parses a whole decimal number within [low, high]; false otherwise.
bool ParseNumber(const char* text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text != '\0' && *end == '\0' && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
  corvane::demo::DemoServerOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    long value = 0;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    bool has_value = i + 1 < argc;
    if (arg == "--port" && has_value && ParseNumber(argv[i + 1], 0, 65535, value)) {
      options.port = static_cast<std::uint16_t>(value);
    } else if (arg == "--max-clients" && has_value && ParseNumber(argv[i + 1], 1, 1000, value)) {
      options.max_clients = static_cast<int>(value);
    } else {
      std::fprintf(stderr, "cvtelnet-demo-host: invalid argument '%s'\n%s", arg.c_str(), kUsage);
      return 2;
    }
    ++i;
  }
  return corvane::demo::RunDemoServer(options);
}
