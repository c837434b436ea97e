#include "telnet/tn_outflow.h"

#include <algorithm>
#include <utility>

#include "telnet/telnet_codes.h"

namespace corvane {
namespace {

// Moves a cut back by one byte when it would fall inside a doubled 255 or
// right after a CR. `bytes` starts at a boundary of the encoding, so a run of
// 255s before the cut splits a pair exactly when its length is odd.
std::size_t BoundaryAtOrBefore(std::string_view bytes, std::size_t cut) {
  if (cut >= bytes.size()) return bytes.size();
  std::size_t run = 0;
  while (run < cut && static_cast<std::uint8_t>(bytes[cut - 1 - run]) == TNCH_IAC) ++run;
  if (run % 2 == 1 || bytes[cut - 1] == '\r') return cut - 1;
  return cut;
}

}  // namespace

void TTnOutflow::Append(std::string encoded) {
  if (!encoded.empty()) parts_.push_back(std::move(encoded));
}

std::string_view TTnOutflow::Next(std::size_t most) const {
  if (parts_.empty()) return {};
  const std::string_view rest = std::string_view(parts_.front()).substr(at_);
  return rest.substr(0, BoundaryAtOrBefore(rest, std::max<std::size_t>(most, 2)));
}

void TTnOutflow::Remove(std::size_t count) {
  while (count > 0 && !parts_.empty()) {
    const std::size_t taken = std::min(count, parts_.front().size() - at_);
    at_ += taken;
    count -= taken;
    if (at_ < parts_.front().size()) return;
    parts_.pop_front();
    at_ = 0;
  }
}

void TTnOutflow::Clear() {
  parts_.clear();
  at_ = 0;
}

}  // namespace corvane
