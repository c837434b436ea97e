#pragma once
// Telnet command and option codes used by the connection.
#include <cstdint>

namespace corvane {

inline constexpr std::uint8_t TNCH_EOR = 239;
inline constexpr std::uint8_t TNCH_SE = 240;
inline constexpr std::uint8_t TNCH_NOP = 241;
inline constexpr std::uint8_t TNCH_DM = 242;
inline constexpr std::uint8_t TNCH_BRK = 243;
inline constexpr std::uint8_t TNCH_IP = 244;
inline constexpr std::uint8_t TNCH_AO = 245;
inline constexpr std::uint8_t TNCH_AYT = 246;
inline constexpr std::uint8_t TNCH_EC = 247;
inline constexpr std::uint8_t TNCH_EL = 248;
inline constexpr std::uint8_t TNCH_GA = 249;
inline constexpr std::uint8_t TNCH_SB = 250;
inline constexpr std::uint8_t TNCH_WILL = 251;
inline constexpr std::uint8_t TNCH_WONT = 252;
inline constexpr std::uint8_t TNCH_DO = 253;
inline constexpr std::uint8_t TNCH_DONT = 254;
inline constexpr std::uint8_t TNCH_IAC = 255;

inline constexpr std::uint8_t TNOPT_BINARY = 0;
inline constexpr std::uint8_t TNOPT_ECHO = 1;
inline constexpr std::uint8_t TNOPT_SGA = 3;
inline constexpr std::uint8_t TNOPT_SENDLOC = 23;
inline constexpr std::uint8_t TNOPT_TTYPE = 24;
inline constexpr std::uint8_t TNOPT_EOR = 25;
inline constexpr std::uint8_t TNOPT_NAWS = 31;  // window size (RFC 1073)

// Sub-commands of TERMINAL-TYPE.
inline constexpr std::uint8_t TNTTYPE_IS = 0;
inline constexpr std::uint8_t TNTTYPE_SEND = 1;

}  // namespace corvane
