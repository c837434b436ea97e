#include "telnet/tn_texts.h"

#include <array>
#include <cstdio>

#include "telnet/telnet_codes.h"

namespace corvane {
namespace {

// Traced for the bytes 244..248 (IP, AO, AYT, EC, EL) when they arrive as data.
constexpr std::array<std::string_view, 5> kDataByteTraces = {"TNCH_IP\r\n", "TNCH_AO\r\n", "TNCH_AYT\r\n",
                                                             "TNCH_EC\r\n", "TNCH_EL\r\n"};

std::string Hex2(std::uint8_t ch) {
  char hex[4];
  std::snprintf(hex, sizeof hex, "%02X", ch);
  return hex;
}

}  // namespace

std::string_view DataByteTrace(std::uint8_t ch) {
  if (ch < TNCH_IP || ch > TNCH_EL) return {};
  return kDataByteTraces[ch - TNCH_IP];
}

std::string UnknownCommandTrace(std::uint8_t ch) {
  return "Unknown " + Hex2(ch) + " '" + static_cast<char>(ch) + "'\r\n";
}

std::string UnfinishedSubNegotiationTrace(std::uint8_t ch) { return "Unfinished TNCH_SB before " + Hex2(ch) + "\r\n"; }

}  // namespace corvane
