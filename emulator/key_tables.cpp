#include "emulator/key_tables.h"

#include <array>

#include "emulator/xterm_keys.h"

namespace corvane {
namespace {
constexpr bool E = true;   // grey cursor and editing keys
constexpr bool N = false;  // Tab and function keys

struct TBiosCode {
  int ScanCode;
  int BiosCode;
};
constexpr std::array<TBiosCode, 2> kBiosCodes{{{0x57, 0x85}, {0x58, 0x86}}};
}  // namespace

const TFuncKeysTable FKeysSCO = {{
    {0x48, 0, E, "\x1b[A"},       {0x50, 0, E, "\x1b[B"},       {0x4D, 0, E, "\x1b[C"},
    {0x4B, 0, E, "\x1b[D"},       {0x49, 0, E, "\x1b[I"},       {0x51, 0, E, "\x1b[G"},
    {0x47, 0, E, "\x1b[H"},       {0x4F, 0, E, "\x1b[F"},       {0x52, 0, E, "\x1b[L"},
    {0x0F, 0, N, "\x1b[Z"},       {0x53, 0, E, "\x7f"},         {0x3B, 0, N, "\x1b[M"},
    {0x3C, 0, N, "\x1b[N"},       {0x3D, 0, N, "\x1b[O"},       {0x3E, 0, N, "\x1b[P"},
    {0x3F, 0, N, "\x1b[Q"},       {0x40, 0, N, "\x1b[R"},       {0x41, 0, N, "\x1b[S"},
    {0x42, 0, N, "\x1b[T"},       {0x43, 0, N, "\x1b[U"},       {0x44, 0, N, "\x1b[V"},
    {0x85, 0, N, "\x1b[W"},       {0x86, 0, N, "\x1b[X"},       {0x3B, ssShift, N, "\x1b[V"},
    {0x3C, ssShift, N, "\x1b[Z"}, {0x3D, ssShift, N, "\x1b[a"}, {0x3E, ssShift, N, "\x1b[b"},
    {0x3F, ssShift, N, "\x1b[c"}, {0x40, ssShift, N, "\x1b[d"}, {0x41, ssShift, N, "\x1b[e"},
    {0x42, ssShift, N, "\x1b[f"}, {0x43, ssShift, N, "\x1b[g"}, {0x44, ssShift, N, "\x1b[h"},
    {0x85, ssShift, N, "\x1b[i"}, {0x86, ssShift, N, "\x1b[j"}, {0x3B, ssCtrl, N, "\x1b[k"},
    {0x3C, ssCtrl, N, "\x1b[l"},  {0x3D, ssCtrl, N, "\x1b[m"},  {0x3E, ssCtrl, N, "\x1b[n"},
    {0x3F, ssCtrl, N, "\x1b[o"},  {0x40, ssCtrl, N, "\x1b[p"},  {0x41, ssCtrl, N, "\x1b[q"},
    {0x42, ssCtrl, N, "\x1b[r"},  {0x43, ssCtrl, N, "\x1b[s"},  {0x44, ssCtrl, N, "\x1b[t"},
    {0x85, ssCtrl, N, "\x1b[u"},  {0x86, ssCtrl, N, "\x1b[v"},
}};

const TFuncKeysTable FKeysVT100 = {{
    {0x48, 0, E, "\x1b[A"},
    {0x50, 0, E, "\x1b[B"},
    {0x4D, 0, E, "\x1b[C"},
    {0x4B, 0, E, "\x1b[D"},
    {0x49, 0, E, "\x1b[5~"},
    {0x51, 0, E, "\x1b[6~"},
    {0x52, 0, E, "\x1b[2~"},
    {0x53, 0, E, "\x7f"},
    {0x3B, 0, N, "\x1bOP"},
    {0x3C, 0, N, "\x1bOQ"},
    {0x3D, 0, N, "\x1bOR"},
    {0x3E, 0, N, "\x1bOS"},
    {0x57, 0, N, "\x1b[28~"},
    {0x58, 0, N, "\x1b[29~"},
}};

const TFuncKeysTable FKeysA11 = {{
    {0x48, 0, E, "\x1b[A"},
    {0x50, 0, E, "\x1b[B"},
    {0x4D, 0, E, "\x1b[C"},
    {0x4B, 0, E, "\x1b[D"},
    {0x49, 0, E, "\x1b-"},
    {0x51, 0, E, "\x1b+"},
    {0x47, 0, E, "\x1bH"},
    {0x47, ssCtrl, E,
     "\x1b"
     "C"},
    {0x4F, 0, E, "\x1bR"},
    {0x52, 0, E, "\x1bI"},
    {0x53, 0, E, "\x7f"},
    {0x3B, 0, N, "\x1bOP"},
    {0x3C, 0, N, "\x1bOQ"},
    {0x3D, 0, N, "\x1bOR"},
    {0x3E, 0, N, "\x1bOS"},
    {0x43, 0, N, "\x1bOP"},
    {0x44, 0, N, ""},
    {0x57, 0, N, "\x1bOQ"},
    {0x58, 0, N, "\x1bOS"},
    {0x0F, 0, N, "\x1bZ"},
    {0x40, 0, N, "\x1bK"},
    {0x53, ssCtrl, E,
     "\x1b"
     "D"},
    {0x52, ssCtrl, E, "\x1bL"},
}};

const TFuncKeysTable& FuncKeysTable(int fkeys) {
  switch (fkeys) {
    case 0:
      return FKeysSCO;
    case 2:
      return FKeysA11;
    case 3:
      return FKeysXterm;
    default:
      return FKeysVT100;
  }
}

const TFuncKey* FindFuncKey(const TFuncKeysTable& table, int scanCode, TShiftState shift, bool ext) {
  for (const TFuncKey& key : table) {
    if (key.ScanCode != 0 && key.ScanCode == scanCode && key.Shift == shift && key.Ext == ext) return &key;
  }
  return nullptr;
}

const TFuncKey* FindDeliveredKey(const TFuncKeysTable& table, int scanCode, TShiftState shift, bool ext) {
  if (const TFuncKey* key = FindFuncKey(table, scanCode, shift, ext)) return key;
  for (const TBiosCode& code : kBiosCodes)
    if (code.ScanCode == scanCode) return FindFuncKey(table, code.BiosCode, shift, ext);
  return nullptr;
}

}  // namespace corvane
