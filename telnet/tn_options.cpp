// Option negotiation: the answer the table gives, and the state of each
// option that the answers agree to.
#include <algorithm>
#include <initializer_list>
#include <string>

#include "telnet/negotiation_table.h"
#include "telnet/telnet_codes.h"
#include "telnet/tn_protocol.h"

namespace corvane {
namespace {

std::string Bytes(std::initializer_list<std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// The sides of an option after a request and the reply to it.
void Agree(bool& local, bool& remote, std::uint8_t verb, std::uint8_t reply) {
  switch (verb) {
    case TNCH_WILL:
      remote = reply == TNCH_DO;
      break;
    case TNCH_WONT:
      remote = false;
      break;
    case TNCH_DO:
      local = reply == TNCH_WILL;
      break;
    case TNCH_DONT:
      local = false;
      break;
  }
}

}  // namespace

// A request that leaves the option as it is is answered only the first time
// it arrives: a host that answers every answer cannot keep the client
// negotiating for ever, and no party re-announces a state it is already in.
bool TTnProtocol::HandleOption(std::uint8_t verb, std::uint8_t option) {
  const TnAction action = NegotiationAction(verb, option, negotiation_);
  OptionState& state = options_[option];
  const OptionState before = state;
  Agree(state.local, state.remote, verb, action.reply);
  const auto bit = static_cast<std::uint8_t>(1u << (verb - TNCH_WILL));
  const bool first = (state.asked & bit) == 0;
  state.asked |= bit;
  if (!first && state.local == before.local && state.remote == before.remote) return true;
  if (action.reply != 0) {
    const char reply[] = {static_cast<char>(TNCH_IAC), static_cast<char>(action.reply), static_cast<char>(option)};
    if (!Emit(TnEventType::Send, {reply, sizeof reply})) return false;
  }
  if (action.effect == TnEffect::SendWindowSize) return SendWindowSize();
  return action.effect != TnEffect::SendLocation || Emit(TnEventType::LocationWanted);
}

void TTnProtocol::SetNegotiation(TnNegotiation table) {
  negotiation_ = table;
  OptionState& naws = options_[TNOPT_NAWS];
  if (!naws.local || NegotiationAction(TNCH_DO, TNOPT_NAWS, table).reply == TNCH_WILL) return;
  naws.local = false;
  Emit(TnEventType::Send, Bytes({TNCH_IAC, TNCH_WONT, TNOPT_NAWS}));
}

void TTnProtocol::SetWindowSize(int cols, int rows) {
  const auto side = [](int n) { return static_cast<std::uint16_t>(std::clamp(n, 0, 0xFFFF)); };
  if (side(cols) == cols_ && side(rows) == rows_) return;
  cols_ = side(cols);
  rows_ = side(rows);
  if (options_[TNOPT_NAWS].local) SendWindowSize();
}

// Width then height, each 16 bits with the high byte first (RFC 1073).
bool TTnProtocol::SendWindowSize() {
  const std::string size = Bytes({static_cast<std::uint8_t>(cols_ >> 8), static_cast<std::uint8_t>(cols_ & 0xFF),
                                  static_cast<std::uint8_t>(rows_ >> 8), static_cast<std::uint8_t>(rows_ & 0xFF)});
  return Emit(TnEventType::Send,
              Bytes({TNCH_IAC, TNCH_SB, TNOPT_NAWS}) + TnEscapeData(size) + Bytes({TNCH_IAC, TNCH_SE}));
}

}  // namespace corvane
