#pragma once
// The replay tool's text picture of a screen: geometry, cursor, attribute,
// region and modes, then one line of cells per row.
#include <string>

#include "emulator/screen.h"
#include "emulator/xterm_screen.h"

namespace corvane {

struct TDumpOptions {
  bool AllColumns = false;  // columns 0..132 instead of 0..Cols-1
  bool Attrs = false;       // each row followed by its attribute bytes
};

std::string DumpScreen(const TScreen& Screen, const TDumpOptions& Options);

// The Xterm screen in the same layout (xterm_dump.cpp): the cells as UTF-8,
// a wide character once (its second cell adds nothing), and with Attrs each
// cell as four hex digits: background and foreground colour numbers, then
// the rendition flags (TXtermFlag). AllColumns does not apply.
std::string DumpScreen(const TXtermScreen& Screen, const TDumpOptions& Options);

}  // namespace corvane
