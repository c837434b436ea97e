#include "emulator/vt_parser.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kCan = 0x18;
constexpr std::uint8_t kSub = 0x1A;
constexpr std::uint8_t kBel = 0x07;
constexpr std::uint8_t kDel = 0x7F;

bool IsPrintableAscii(std::uint8_t Byte) { return Byte >= 0x20 && Byte < kDel; }
bool IsIntermediate(std::uint8_t Byte) { return Byte >= 0x20 && Byte <= 0x2F; }
bool IsFinal(std::uint8_t Byte) { return Byte >= 0x40 && Byte <= 0x7E; }
bool IsParamByte(std::uint8_t Byte) { return (Byte >= '0' && Byte <= '9') || Byte == ';' || Byte == ':'; }
bool IsPrivateMarker(std::uint8_t Byte) { return Byte >= 0x3C && Byte <= 0x3F; }

}  // namespace

void TVtParser::Feed(std::string_view Bytes) {
  std::size_t i = 0;
  while (i < Bytes.size()) {
    if (FState == TState::Ground) {
      i = Ground(Bytes, i);
    } else {
      Sequence(static_cast<std::uint8_t>(Bytes[i++]));
    }
  }
}

void TVtParser::Reset() {
  FDecoder.Interrupted();
  FState = TState::Ground;
  FOsc.clear();
}

// Runs of printable ASCII go out whole; other bytes one at a time. Returns
// where the ground state's work ended.
std::size_t TVtParser::Ground(std::string_view Bytes, std::size_t I) {
  const auto byte = static_cast<std::uint8_t>(Bytes[I]);
  if (byte >= 0x80) {
    PrintDecoded(byte);
    return I + 1;
  }
  if (FDecoder.Interrupted()) FPerform.Print(kReplacementChar);
  if (IsPrintableAscii(byte)) {
    std::size_t end = I + 1;
    while (end < Bytes.size() && IsPrintableAscii(static_cast<std::uint8_t>(Bytes[end]))) ++end;
    FPerform.PrintAscii(Bytes.substr(I, end - I));
    return end;
  }
  if (byte == kEsc) {
    Enter(TState::Escape);
  } else if (byte != kDel) {
    FPerform.Execute(byte);
  }
  return I + 1;
}

void TVtParser::PrintDecoded(std::uint8_t Byte) {
  const TTextDecoder::TDecoded decoded = FDecoder.DecodeHigh(Byte);
  for (int k = 0; k < decoded.Count; ++k) FPerform.Print(decoded.Chars[k]);
}

// A byte inside a sequence or string.
void TVtParser::Sequence(std::uint8_t Byte) {
  if (Byte == kCan || Byte == kSub) {
    if (FState == TState::OscString) FOsc.clear();
    FState = TState::Ground;
    if (Byte == kSub) FPerform.Print(kReplacementChar);  // SUB shows where data was lost
    return;
  }
  if (Byte == kEsc) {
    if (FState == TState::OscString) EndOsc();
    return Enter(TState::Escape);
  }
  switch (FState) {
    case TState::OscString:
      return OscByte(Byte);
    case TState::String:
      return;
    default:
      break;
  }
  if (Byte < 0x20) return FPerform.Execute(Byte);  // C0 inside a sequence acts at once
  if (Byte >= kDel) return;                        // DEL and 8-bit bytes are ignored in sequences
  switch (FState) {
    case TState::Escape:
    case TState::EscapeIntermediate:
      return Escape(Byte);
    default:
      return CsiByte(Byte);
  }
}

void TVtParser::Escape(std::uint8_t Byte) {
  if (IsIntermediate(Byte)) {
    Collect(Byte);
    FState = TState::EscapeIntermediate;
    return;
  }
  if (FState == TState::Escape) {
    switch (Byte) {
      case '[':
        return Enter(TState::CsiEntry);
      case ']':
        return Enter(TState::OscString);
      case 'P':  // DCS
      case 'X':  // SOS
      case '^':  // PM
      case '_':  // APC
        return Enter(TState::String);
      default:
        break;
    }
  }
  FState = TState::Ground;
  if (!FTooMany) FPerform.EscDispatch(FCsi.Intermediate, Byte);
}

void TVtParser::CsiByte(std::uint8_t Byte) {
  if (IsFinal(Byte)) {
    const bool ignored = FState == TState::CsiIgnore;
    FState = TState::Ground;
    if (!ignored) DispatchCsi(Byte);
    return;
  }
  if (FState == TState::CsiIgnore) return;
  if (IsIntermediate(Byte)) {
    Collect(Byte);
    FState = TState::CsiIntermediate;
  } else if (FState == TState::CsiIntermediate) {
    FState = TState::CsiIgnore;  // a parameter after an intermediate
  } else if (IsParamByte(Byte)) {
    Param(Byte);
  } else if (FState == TState::CsiEntry && IsPrivateMarker(Byte)) {
    FCsi.Private = static_cast<char>(Byte);
    FState = TState::CsiParam;
  } else {
    FState = TState::CsiIgnore;  // a marker in the middle of the parameters
  }
}

void TVtParser::Param(std::uint8_t Byte) {
  FState = TState::CsiParam;
  if (Byte == ';' || Byte == ':') {
    if (FCsi.Count < kVtMaxParams) ++FCsi.Count;  // the parameter before it, even if empty
    if (Byte == ':' && FCsi.Count < kVtMaxParams) FCsi.Colons |= 1u << FCsi.Count;
    FParamStarted = false;
    return;
  }
  if (FCsi.Count >= kVtMaxParams) return;
  int& value = FCsi.Params[static_cast<std::size_t>(FCsi.Count)];
  value = std::min(kVtParamLimit, value * 10 + (Byte - '0'));
  FParamStarted = true;
}

void TVtParser::Collect(std::uint8_t Byte) {
  if (FCsi.Intermediate != 0) FTooMany = true;
  FCsi.Intermediate = static_cast<char>(Byte);
}

void TVtParser::OscByte(std::uint8_t Byte) {
  if (Byte == kBel) {
    EndOsc();
    FState = TState::Ground;
    return;
  }
  if (Byte < 0x20) return;  // other controls inside a string are dropped
  if (FOsc.size() < kVtMaxStringSize) FOsc.push_back(static_cast<char>(Byte));
}

void TVtParser::Enter(TState State) {
  if (FState == TState::Ground && FDecoder.Interrupted()) FPerform.Print(kReplacementChar);
  FState = State;
  if (State == TState::Escape || State == TState::CsiEntry) {
    FCsi = TVtCsi{};
    FParamStarted = false;
    FTooMany = false;
  }
  if (State == TState::OscString) FOsc.clear();
}

void TVtParser::DispatchCsi(std::uint8_t Final) {
  if (FTooMany) return;
  if (FParamStarted || FCsi.Count > 0) FCsi.Count = std::min(FCsi.Count + 1, kVtMaxParams);
  FCsi.Final = Final;
  FPerform.CsiDispatch(FCsi);
}

void TVtParser::EndOsc() {
  FPerform.OscDispatch(FOsc);
  FOsc.clear();
}

}  // namespace corvane
