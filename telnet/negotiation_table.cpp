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

constexpr std::array<TnRow, 6> kTable = {{
    {TNOPT_BINARY, kDo, kNone, kNone, kNone},
    {TNOPT_ECHO, kDo, kNone, kNone, kNone},
    {TNOPT_SGA, kDo, kNone, kNone, kNone},
    {TNOPT_SENDLOC, kNone, kNone, {TNCH_WILL, TnEffect::SendLocation}, kNone},
    {TNOPT_TTYPE, kNone, kNone, kWill, kNone},
    {TNOPT_EOR, kNone, kNone, kWill, kNone},
}};

// An option that is not listed is refused; the refusal of a WILL is DONT.
constexpr TnRow kUnlisted{0,
                          {TNCH_DONT, TnEffect::None},
                          {TNCH_WONT, TnEffect::None},
                          {TNCH_WONT, TnEffect::None},
                          {TNCH_WONT, TnEffect::None}};

const TnRow& RowFor(std::uint8_t option) {
  for (const auto& row : kTable)
    if (row.option == option) return row;
  return kUnlisted;
}

}  // namespace

TnAction NegotiationAction(std::uint8_t verb, std::uint8_t option) {
  const TnRow& row = RowFor(option);
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
