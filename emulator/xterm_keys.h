#pragma once
// The fourth key table, "XTERM": the keys as a host that was told TERM=xterm
// expects them. Its rows hold the unmodified forms; the modifier parameter
// and the cursor-key mode are applied to them when a key is pressed.
#include <string>
#include <string_view>

#include "emulator/key_tables.h"

namespace corvane {

extern const TFuncKeysTable FKeysXterm;

// The bytes a key of the XTERM table sends: `TableValue` as the table has
// it, with Shift, Alt and Ctrl as xterm's modifier parameter (Ctrl+Left is
// ESC [ 1 ; 5 D), and ESC [ A..D, H, F as ESC O A..D, H, F while the host
// has asked for application cursor keys (and no modifier is down).
std::string XtermKeyBytes(std::string_view TableValue, TShiftState Shift, bool CursorKeysApp);

// Whether a key-down is one of the numeric keypad's keys that type characters:
// the digits with Num Lock on (virtual keys 96-105), the operators and the
// decimal point (106-111), and Enter with the extended flag. With Num Lock off
// the digit keys arrive as cursor and editing keys instead.
bool IsKeypadCharacterKey(int VirtualKey, bool Ext);

// What such a key sends while the host has asked for the application keypad
// (DECKPAM): ESC O p..y for the digits, ESC O n (.), ESC O M (Enter),
// ESC O k (+), ESC O m (-), ESC O j (*), ESC O o (/).
std::string XtermKeypadAppBytes(int VirtualKey, bool Ext);

}  // namespace corvane
