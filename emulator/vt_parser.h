#pragma once
// The syntax of DEC/ANSI escape sequences as a state machine, apart from
// their meaning: bytes go in, and the parser calls its TVtPerform for each
// character to print, control to execute and sequence to dispatch. ESC
// restarts a sequence anywhere, CAN and SUB abort one, C0 controls inside a
// sequence are executed, and OSC, DCS, SOS, PM and APC strings are consumed
// whole. Parameters are read once and bounded; text is decoded from the
// host's character set first.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "emulator/text_decoder.h"

namespace corvane {

constexpr int kVtMaxParams = 16;               // further parameters are dropped
constexpr int kVtParamLimit = 65535;           // a parameter saturates here
constexpr std::size_t kVtMaxStringSize = 512;  // an OSC string keeps this much

// A dispatched control sequence: CSI, an optional private marker (? > < =),
// parameters (0 where absent), at most one intermediate byte, the final byte.
struct TVtCsi {
  std::array<int, kVtMaxParams> Params{};  // only the first Count are meaningful
  int Count = 0;                           // parameters given, 0..kVtMaxParams
  std::uint32_t Colons = 0;                // bit i: parameter i followed a colon
  char Private = 0;
  char Intermediate = 0;
  std::uint8_t Final = 0;

  // Parameter i, or Default where it is absent or 0.
  int Param(int I, int Default) const { return I < Count && Params[I] != 0 ? Params[I] : Default; }
  bool AfterColon(int I) const { return (Colons >> I & 1) != 0; }
};

// What the parser finds, in the order it finds it.
class TVtPerform {
 public:
  virtual ~TVtPerform() = default;
  // A run of printable ASCII characters, the commonest input.
  virtual void PrintAscii(std::string_view Text) = 0;
  // One character other than printable ASCII (U+FFFD for a malformed one).
  virtual void Print(char32_t Ch) = 0;
  virtual void Execute(std::uint8_t Control) = 0;
  virtual void EscDispatch(char Intermediate, std::uint8_t Final) = 0;
  virtual void CsiDispatch(const TVtCsi& Csi) = 0;
  virtual void OscDispatch(std::string_view Text) = 0;
};

class TVtParser {
 public:
  explicit TVtParser(TVtPerform& Perform) : FPerform(Perform) {}

  void Feed(std::string_view Bytes);
  // Back to the ground state, with no sequence or character in progress.
  void Reset();
  bool InSequence() const { return FState != TState::Ground; }

  TTextDecoder& Decoder() { return FDecoder; }

 private:
  enum class TState : std::uint8_t {
    Ground,
    Escape,
    EscapeIntermediate,
    CsiEntry,
    CsiParam,
    CsiIntermediate,
    CsiIgnore,
    OscString,
    String,  // DCS, SOS, PM, APC: consumed and dropped
  };

  std::size_t Ground(std::string_view Bytes, std::size_t I);
  std::size_t GroundStep(std::string_view Bytes, std::size_t I);
  std::size_t QuickCsi(std::string_view Bytes, std::size_t I);
  void PrintDecoded(std::uint8_t Byte);
  void Sequence(std::uint8_t Byte);
  void Escape(std::uint8_t Byte);
  void CsiByte(std::uint8_t Byte);
  std::size_t Params(std::string_view Bytes, std::size_t I);
  void NextParam(bool AfterColon);
  void Collect(std::uint8_t Byte);
  void OscByte(std::uint8_t Byte);
  void Enter(TState State);
  void StartSequence(TState State);
  void DispatchCsi(std::uint8_t Final);
  void EndOsc();

  TVtPerform& FPerform;
  TTextDecoder FDecoder;
  TState FState = TState::Ground;
  TVtCsi FCsi;
  bool FParamStarted = false;
  bool FTooMany = false;  // more than one intermediate: the sequence is ignored
  std::string FOsc;
};

}  // namespace corvane
