// The local host of the window benchmark: serves one generated stream to
// every client, then closes the connection; what the client sends is read
// and dropped. Prints its port on the first line of standard output.
//
//   stream_host plain|sgr|redraw|none MIB [SAVE-FILE]
//
// The stream is repeated to MIB mebibytes; SAVE-FILE receives the bytes
// served, for replaying the screen they leave.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "bench/screen/streams.h"
#include "platform/tcp_listener.h"

namespace {

using namespace corvane;

std::string StreamNamed(std::string_view Name, int Mib) {
  std::string one;
  if (Name == "plain") one = bench::PlainTextStream();
  if (Name == "sgr") one = bench::SgrStream();
  if (Name == "redraw") one = bench::RedrawStream();
  std::string all;
  if (one.empty()) return all;
  while (all.size() < static_cast<std::size_t>(Mib) << 20) all += one;
  return all.substr(0, static_cast<std::size_t>(Mib) << 20);
}

// Sends in pieces, draining the client's replies so that neither side stalls.
void Serve(platform::TcpStream& Client, std::string_view Stream) {
  char sink[4096];
  for (std::size_t at = 0; at < Stream.size() && !Client.Broken();) {
    Client.WaitWritable(1000);
    const int sent = Client.Send(Stream.substr(at, 64 * 1024));
    if (sent > 0) at += static_cast<std::size_t>(sent);
    while (Client.Receive(sink, sizeof sink) > 0) {
    }
  }
  Client.ShutdownSend();
  for (int i = 0; i < 50 && Client.ReceiveWait(sink, sizeof sink, 100) != 0 && !Client.Broken();) ++i;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view name = argc > 2 ? argv[1] : "";
  const int mib = argc > 2 ? std::atoi(argv[2]) : 0;
  if ((name != "plain" && name != "sgr" && name != "redraw" && name != "none") || mib < 1 || mib > 256) {
    std::fprintf(stderr, "usage: stream_host plain|sgr|redraw|none MIB [SAVE-FILE]\n");
    return 2;
  }
  const std::string stream = StreamNamed(name, mib);
  if (argc > 3) std::ofstream(argv[3], std::ios::binary) << stream;
  std::string error;
  const auto listener = platform::TcpListener::Open(0, error);
  if (!listener) {
    std::fprintf(stderr, "stream_host: %s\n", error.c_str());
    return 1;
  }
  std::printf("%u\n", static_cast<unsigned>(listener->Port()));
  std::fflush(stdout);
  for (;;)
    if (auto client = listener->Accept(1000)) Serve(*client, stream);
}
