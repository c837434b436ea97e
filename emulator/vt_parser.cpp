#include "emulator/vt_parser.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

// The bytes of a word that are below 0x20 or above 0x7E, as the high bit of
// each (bit tricks: a byte below 0x20 borrows, a byte from 0x7F up carries
// or is high). A borrow or carry starts only at a flagged byte, so the
// lowest flag is exact; those above it may not be.
std::uint64_t NotPrintable(std::uint64_t Word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  const std::uint64_t below = (Word - 0x20 * kOnes) & ~Word;
  const std::uint64_t above = (Word + kOnes) | Word;
  return (below | above) & kHigh;
}

// Words are read with the first byte lowest, so the lowest flag is the first.
static_assert(std::endian::native == std::endian::little);

// The end of the run of printable ASCII that starts at First, eight bytes at
// a time: the first byte that is not printable is found by its flag's place,
// so short runs (words between colour changes) cost as little as long ones.
std::size_t PrintableEnd(std::string_view Bytes, std::size_t First) {
  std::size_t end = First;
  for (std::uint64_t word; end + 8 <= Bytes.size(); end += 8) {
    std::memcpy(&word, Bytes.data() + end, 8);
    if (const std::uint64_t flags = NotPrintable(word); flags != 0)
      return end + static_cast<std::size_t>(std::countr_zero(flags) / 8);
  }
  while (end < Bytes.size() && IsPrintableAscii(static_cast<std::uint8_t>(Bytes[end]))) ++end;
  return end;
}

// The parameters of a fresh sequence from I on, read into Csi as
// TVtParser::Params does but with the count, the value and the colons in
// locals: this is the parser's hottest loop, and stores into Csi would make
// every byte read them back. Returns where the parameters end.
std::size_t WholeParams(std::string_view Bytes, std::size_t I, TVtCsi& Csi) {
  int count = 0;
  int value = 0;
  bool started = false;
  std::uint32_t colons = 0;
  for (; I < Bytes.size(); ++I) {
    const auto byte = static_cast<std::uint8_t>(Bytes[I]);
    const int digit = byte - '0';
    if (digit >= 0 && digit <= 9) {
      value = std::min(kVtParamLimit, value * 10 + digit);
      started = true;
      continue;
    }
    if (byte != ';' && byte != ':') break;
    if (count < kVtMaxParams) {
      Csi.Params[static_cast<std::size_t>(count)] = value;
      ++count;
      if (byte == ':' && count < kVtMaxParams) colons |= 1u << count;
    }
    value = 0;
    started = false;
  }
  if (count < kVtMaxParams) Csi.Params[static_cast<std::size_t>(count)] = value;
  // The count as dispatched: an empty last parameter counts only after a
  // separator, as in TVtParser::DispatchCsi.
  Csi.Count = count > 0 || started ? std::min(count + 1, kVtMaxParams) : 0;
  Csi.Colons = colons;
  return I;
}

}  // namespace

// Text and the bytes of ordinary control sequences take the short ways
// here; everything else goes through Sequence.
void TVtParser::Feed(std::string_view Bytes) {
  std::size_t i = 0;
  while (i < Bytes.size()) {
    const auto byte = static_cast<std::uint8_t>(Bytes[i]);
    if (FState == TState::Ground) {
      i = Ground(Bytes, i);
    } else if (FState == TState::Escape && byte == '[') {
      StartSequence(TState::CsiEntry);
      ++i;
    } else if ((FState == TState::CsiParam || FState == TState::CsiEntry) && IsParamByte(byte)) {
      i = Params(Bytes, i);
    } else if ((FState == TState::CsiParam || FState == TState::CsiEntry) && IsFinal(byte)) {
      FState = TState::Ground;
      DispatchCsi(byte);
      ++i;
    } else {
      Sequence(byte);
      ++i;
    }
  }
}

void TVtParser::Reset() {
  FDecoder.Interrupted();
  FState = TState::Ground;
  FOsc.clear();
}

// The ground state's work from I on, for as long as the parser stays in it
// (text and whole control sequences alternate without leaving this loop).
// Returns where it ended.
std::size_t TVtParser::Ground(std::string_view Bytes, std::size_t I) {
  while (I < Bytes.size() && FState == TState::Ground) I = GroundStep(Bytes, I);
  return I;
}

// Runs of printable ASCII go out whole; other bytes one at a time.
std::size_t TVtParser::GroundStep(std::string_view Bytes, std::size_t I) {
  const auto byte = static_cast<std::uint8_t>(Bytes[I]);
  if (byte >= 0x80) {
    PrintDecoded(byte);
    return I + 1;
  }
  if (FDecoder.Interrupted()) FPerform.Print(kReplacementChar);
  if (IsPrintableAscii(byte)) {
    const std::size_t end = PrintableEnd(Bytes, I);
    FPerform.PrintAscii(Bytes.substr(I, end - I));
    return end;
  }
  if (byte == kEsc) return QuickCsi(Bytes, I);
  if (byte != kDel) {
    FPerform.Execute(byte);
  }
  return I + 1;
}

// ESC [ parameters final, whole in the buffer, is the commonest sequence:
// it is read here in one go. Anything else (a private marker, an
// intermediate, a control, the end of the buffer) is left to the state
// machine from the start of the parameters.
std::size_t TVtParser::QuickCsi(std::string_view Bytes, std::size_t I) {
  if (I + 1 >= Bytes.size() || Bytes[I + 1] != '[') {
    Enter(TState::Escape);
    return I + 1;
  }
  // The parser's own state is touched only when the sequence is not whole.
  const std::size_t end = WholeParams(Bytes, I + 2, FCsi);
  if (end < Bytes.size() && IsFinal(static_cast<std::uint8_t>(Bytes[end]))) {
    FCsi.Private = 0;
    FCsi.Intermediate = 0;
    FCsi.Final = static_cast<std::uint8_t>(Bytes[end]);
    FPerform.CsiDispatch(FCsi);
    return end + 1;
  }
  StartSequence(TState::CsiEntry);
  return I + 2;
}

void TVtParser::PrintDecoded(std::uint8_t Byte) {
  const TTextDecoder::TDecoded decoded = FDecoder.DecodeHigh(Byte);
  for (int k = 0; k < decoded.Count; ++k) FPerform.Print(decoded.Chars[k]);
}

// A byte inside a sequence or string.
void TVtParser::Sequence(std::uint8_t Byte) {
  if (Byte == kCan || Byte == kSub) {  // both abort, and xterm shows nothing for either
    if (FState == TState::OscString) FOsc.clear();
    FState = TState::Ground;
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
    Params(std::string_view(reinterpret_cast<const char*>(&Byte), 1), 0);
  } else if (FState == TState::CsiEntry && IsPrivateMarker(Byte)) {
    FCsi.Private = static_cast<char>(Byte);
    FState = TState::CsiParam;
  } else {
    FState = TState::CsiIgnore;  // a marker in the middle of the parameters
  }
}

// Reads parameter bytes from I on; returns where they end. The value being
// read stays in a local: stores into the parameter array would otherwise
// force the count to be read again for every digit.
std::size_t TVtParser::Params(std::string_view Bytes, std::size_t I) {
  const std::size_t first = I;
  int value = FCsi.Count < kVtMaxParams ? FCsi.Params[static_cast<std::size_t>(FCsi.Count)] : 0;
  for (; I < Bytes.size(); ++I) {
    const auto byte = static_cast<std::uint8_t>(Bytes[I]);
    const int digit = byte - '0';
    if (digit >= 0 && digit <= 9) {
      value = std::min(kVtParamLimit, value * 10 + digit);
      FParamStarted = true;
      continue;
    }
    if (byte != ';' && byte != ':') break;
    if (FCsi.Count < kVtMaxParams) FCsi.Params[static_cast<std::size_t>(FCsi.Count)] = value;
    NextParam(byte == ':');
    value = 0;
  }
  if (FCsi.Count < kVtMaxParams) FCsi.Params[static_cast<std::size_t>(FCsi.Count)] = value;
  if (I > first) FState = TState::CsiParam;
  return I;
}

void TVtParser::NextParam(bool AfterColon) {
  if (FCsi.Count < kVtMaxParams) ++FCsi.Count;  // the parameter before it, even if empty
  if (FCsi.Count < kVtMaxParams) {
    FCsi.Params[static_cast<std::size_t>(FCsi.Count)] = 0;
    if (AfterColon) FCsi.Colons |= 1u << FCsi.Count;
  }
  FParamStarted = false;
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
  if (State == TState::Escape || State == TState::CsiEntry) return StartSequence(State);
  FState = State;
  if (State == TState::OscString) FOsc.clear();
}

// Parameters are cleared as they start, not all sixteen here.
void TVtParser::StartSequence(TState State) {
  FState = State;
  FCsi.Count = 0;
  FCsi.Params[0] = 0;
  FCsi.Colons = 0;
  FCsi.Private = 0;
  FCsi.Intermediate = 0;
  FParamStarted = false;
  FTooMany = false;
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
