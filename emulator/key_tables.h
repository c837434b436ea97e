#pragma once
// The built-in function-key tables: which bytes a cursor, editing or
// function key sends, looked up by scan code, shift state and extended flag.
#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

// Shift state bits; the mouse members never occur for keys.
using TShiftState = std::uint8_t;
enum : TShiftState {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};

constexpr std::size_t kMaxKeyValue = 50;

struct TFuncKey {
  std::uint8_t ScanCode = 0;  // 0 marks a free slot
  TShiftState Shift = 0;      // must match exactly
  bool Ext = false;           // the extended-key flag must match
  std::string_view Value;     // at most kMaxKeyValue bytes
};

using TFuncKeysTable = std::array<TFuncKey, 64>;

extern const TFuncKeysTable FKeysSCO;
extern const TFuncKeysTable FKeysVT100;
extern const TFuncKeysTable FKeysA11;

// 0 selects "SCO", 2 "A11", 3 "XTERM" (xterm_keys.h), any other value "VT100".
const TFuncKeysTable& FuncKeysTable(int fkeys);

// The first used slot matching all three; nullptr when none does.
const TFuncKey* FindFuncKey(const TFuncKeysTable& table, int scanCode, TShiftState shift, bool ext);

// FindFuncKey for a key as the keyboard delivers it: F11 and F12 arrive with
// scan codes 0x57 and 0x58, and when the table has no row for those codes its
// rows written with their BIOS key codes 0x85 and 0x86 match instead.
const TFuncKey* FindDeliveredKey(const TFuncKeysTable& table, int scanCode, TShiftState shift, bool ext);

}  // namespace corvane
