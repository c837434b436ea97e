#include "telnet/tn_protocol.h"

#include <cstring>
#include <utility>

#include "telnet/telnet_codes.h"
#include "telnet/tn_texts.h"

namespace corvane {
namespace {

// A byte that is only data outside a command.
bool IsPlainData(std::uint8_t ch) { return ch < TNCH_IP || (ch > TNCH_EL && ch != TNCH_IAC); }

// The end of the run of plain data that starts at data[at]. Eight bytes are
// tested at a time: none of them is 244 or above (bit 7 set and the low
// seven bits at least 0x74) in most text.
std::size_t PlainRunEnd(const char* data, std::size_t at, std::size_t length) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full, kHigh = 0x8080808080808080ull, kTo0x74 = 0x0C0C0C0C0C0C0C0Cull;
  for (std::uint64_t word; at + 8 <= length; at += 8) {
    std::memcpy(&word, data + at, 8);
    if ((((word & kLow7) + kTo0x74) & word & kHigh) != 0) break;
  }
  while (at < length && IsPlainData(static_cast<std::uint8_t>(data[at]))) ++at;
  return at;
}

std::string Bytes(std::initializer_list<std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TTnProtocol::TTnProtocol(TnEventHandler handler) : handler_(std::move(handler)) {
  sub_neg_.reserve(kMaxSubNegotiation);
}

void TTnProtocol::Reset() {
  ++generation_;
  iac_seen_ = false;
  pending_verb_ = 0;
  in_sub_neg_ = false;
  sub_neg_.clear();
  options_.fill(OptionState{});
}

bool TTnProtocol::Emit(TnEventType type, std::string_view bytes) {
  const auto alive = lifeline_.Take();
  const std::uint32_t generation = generation_;
  RaiseEvent(handler_, TnEvent{type, bytes});
  return alive && generation_ == generation;
}

// Runs of plain data leave as one event; everything else goes byte by byte.
void TTnProtocol::Feed(const char* data, std::size_t length) {
  if (data == nullptr) return;
  std::size_t at = 0;
  while (at < length) {
    const std::size_t end = InCommand() ? at : PlainRunEnd(data, at, length);
    bool go_on = false;
    if (end > at) {
      go_on = Emit(TnEventType::Data, {data + at, end - at});
      at = end;
    } else {
      go_on = Step(static_cast<std::uint8_t>(data[at++]));
    }
    if (!go_on) return;
  }
}

bool TTnProtocol::Step(std::uint8_t ch) {
  if (pending_verb_ != 0) return HandleOption(std::exchange(pending_verb_, 0), ch);
  if (in_sub_neg_) return SubNegotiationByte(ch);
  if (iac_seen_) {
    iac_seen_ = false;
    return Command(ch);
  }
  if (ch == TNCH_IAC) {
    iac_seen_ = true;
    return true;
  }
  if (const auto trace = DataByteTrace(ch); !trace.empty() && !Emit(TnEventType::Trace, trace)) return false;
  const char byte = static_cast<char>(ch);
  return Emit(TnEventType::Data, {&byte, 1});
}

bool TTnProtocol::Command(std::uint8_t ch) {
  switch (ch) {
    case TNCH_EOR:
      return Emit(TnEventType::Trace, kEorTrace) && Emit(TnEventType::EndOfRecord);
    case TNCH_SB:
      // Each sub-negotiation is examined on its own, even when two arrive
      // without an option command between them.
      sub_neg_.clear();
      in_sub_neg_ = true;
      return true;
    case TNCH_WILL:
    case TNCH_WONT:
    case TNCH_DO:
    case TNCH_DONT:
      pending_verb_ = ch;
      return true;
    case TNCH_IAC:
      return Emit(TnEventType::Data, "\xff");
    default:
      return Emit(TnEventType::Trace, UnknownCommandTrace(ch));
  }
}

// Inside a sub-negotiation only IAC SE ends it and IAC IAC is one 255. Any
// other command after IAC ends it unfinished: it is dropped, traced, and the
// command is then obeyed as outside, so no byte of it becomes data.
bool TTnProtocol::SubNegotiationByte(std::uint8_t ch) {
  if (!iac_seen_) {
    if (ch == TNCH_IAC)
      iac_seen_ = true;
    else
      CollectSubNegotiation(ch);
    return true;
  }
  iac_seen_ = false;
  if (ch == TNCH_IAC) {
    CollectSubNegotiation(ch);
    return true;
  }
  in_sub_neg_ = false;
  if (ch != TNCH_SE) return Emit(TnEventType::Trace, UnfinishedSubNegotiationTrace(ch)) && Command(ch);
  const bool ttype_send = sub_neg_.size() >= 2 && static_cast<std::uint8_t>(sub_neg_[0]) == TNOPT_TTYPE &&
                          static_cast<std::uint8_t>(sub_neg_[1]) == TNTTYPE_SEND;
  return !ttype_send || Emit(TnEventType::TermTypeWanted);
}

void TTnProtocol::CollectSubNegotiation(std::uint8_t ch) {
  if (sub_neg_.size() < kMaxSubNegotiation) sub_neg_ += static_cast<char>(ch);
}

// The texts go inside a sub-negotiation, where a 255 must be doubled too.
void TTnProtocol::SendTermType(std::string_view type) {
  Emit(TnEventType::Send,
       Bytes({TNCH_IAC, TNCH_SB, TNOPT_TTYPE, TNTTYPE_IS}) + TnEscapeData(type) + Bytes({TNCH_IAC, TNCH_SE}));
}

void TTnProtocol::SendLocation(std::string_view location) {
  Emit(TnEventType::Send,
       Bytes({TNCH_IAC, TNCH_SB, TNOPT_SENDLOC}) + TnEscapeData(location) + Bytes({TNCH_IAC, TNCH_SE}));
}

std::string TnEscapeData(std::string_view data) {
  std::string out;
  out.reserve(data.size() + 8);
  for (char ch : data) {
    out += ch;
    if (static_cast<std::uint8_t>(ch) == TNCH_IAC) out += ch;
  }
  return out;
}

std::string TnEncodeData(std::string_view data, bool binary) {
  std::string out;
  out.reserve(data.size() + data.size() / 8 + 1);
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char ch = data[i];
    out += ch;
    if (static_cast<std::uint8_t>(ch) == TNCH_IAC) out += ch;
    if (ch != '\r' || binary) continue;
    const char next = i + 1 < data.size() ? data[i + 1] : '\r';
    if (next != '\n' && next != '\0') out += '\0';
  }
  return out;
}

}  // namespace corvane
