#include "tools/replay/replay_input.h"

namespace corvane {

namespace {
constexpr std::string_view kOpen = "<Open>";
constexpr std::string_view kClose = "<Close>";
}  // namespace

std::string BytesToFeed(std::string_view Input, bool Raw) {
  if (Raw || !Input.starts_with(kOpen)) return std::string(Input);
  std::string bytes;
  bytes.reserve(Input.size());
  while (!Input.empty()) {
    Input.remove_prefix(kOpen.size());
    const std::size_t next = Input.find(kOpen);
    std::string_view period = Input.substr(0, next);
    Input.remove_prefix(period.size());
    if (period.ends_with(kClose)) period.remove_suffix(kClose.size());
    bytes += period;
  }
  return bytes;
}

}  // namespace corvane
