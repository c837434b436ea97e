// The address box's parser on any text: it either gives a host without
// blanks or control characters and a valid port (or none), which it reads
// back from their formatted text, or one line saying why not, and nothing else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/address.h"
#include "app/command_line.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Clean(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char ch) { return static_cast<unsigned char>(ch) <= ' ' || ch == 0x7F; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const corvane::TAddress address = corvane::ParseAddress(text);
  if (!address.Error.empty()) {
    Check(address.Host.empty() && address.Port.empty());
    Check(address.Error.find('\n') == std::string::npos);
    return 0;
  }
  Check(Clean(address.Host) && Clean(address.Port));
  Check(address.Port.empty() || corvane::PortError(address.Port).empty());
  Check(!address.Port.empty() ? !address.Host.empty() : true);
  const corvane::TAddress again = corvane::ParseAddress(corvane::FormatAddress(address.Host, address.Port));
  Check(again.Host == address.Host && again.Port == address.Port && again.Error.empty());
  return 0;
}
