#include "telnet/negotiation_table.h"

#include <array>

#include "telnet/telnet_codes.h"

namespace corvane {
namespace {

struct TnRow {
  std::uint8_t option;
  TnAction on_will, on_wont, on_do, on_dont;
};

constexpr TnAction kNone{0, TnEffect::None};

constexpr TnAction kDo{TNCH_DO, TnEffect::None};
constexpr TnAction kWill{TNCH_WILL, TnEffect::None};

constexpr TnRow kBinary{TNOPT_BINARY, kDo, kNone, kNone, kNone};
constexpr TnRow kEcho{TNOPT_ECHO, kDo, kNone, kNone, kNone};
constexpr TnRow kSga{TNOPT_SGA, kDo, kNone, kNone, kNone};
constexpr TnRow kSendLoc{TNOPT_SENDLOC, kNone, kNone, {TNCH_WILL, TnEffect::SendLocation}, kNone};
constexpr TnRow kTtype{TNOPT_TTYPE, kNone, kNone, kWill, kNone};
constexpr TnRow kEor{TNOPT_EOR, kNone, kNone, kWill, kNone};
// Only the client sends its size: the host's WILL is refused, and a DONT
// that turns reporting off is acknowledged.
constexpr TnRow kNaws{
    TNOPT_NAWS, {TNCH_DONT, TnEffect::None}, kNone, {TNCH_WILL, TnEffect::SendWindowSize}, {TNCH_WONT, TnEffect::None}};

constexpr std::array<TnRow, 6> kClassicTable = {{kBinary, kEcho, kSga, kSendLoc, kTtype, kEor}};
constexpr std::array<TnRow, 7> kXtermTable = {{kBinary, kEcho, kSga, kSendLoc, kTtype, kEor, kNaws}};

// An option that is not listed is refused; the refusal of a WILL is DONT.
constexpr TnRow kUnlisted{0,
                          {TNCH_DONT, TnEffect::None},
                          {TNCH_WONT, TnEffect::None},
                          {TNCH_WONT, TnEffect::None},
                          {TNCH_WONT, TnEffect::None}};

template <std::size_t N>
const TnRow& RowFor(const std::array<TnRow, N>& table, std::uint8_t option) {
  for (const auto& row : table)
    if (row.option == option) return row;
  return kUnlisted;
}

}  // namespace

TnAction NegotiationAction(std::uint8_t verb, std::uint8_t option, TnNegotiation table) {
  const TnRow& row = table == TnNegotiation::Xterm ? RowFor(kXtermTable, option) : RowFor(kClassicTable, option);
  switch (verb) {
    case TNCH_WILL:
      return row.on_will;
    case TNCH_WONT:
      return row.on_wont;
    case TNCH_DO:
      return row.on_do;
    case TNCH_DONT:
      return row.on_dont;
    default:
      return kNone;
  }
}

}  // namespace corvane
