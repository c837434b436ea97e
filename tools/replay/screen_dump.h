#pragma once
// The replay tool's text picture of a screen: geometry, cursor, attribute,
// region and modes, then one line of cells per row.
#include <string>

#include "emulator/screen.h"

namespace corvane {

struct TDumpOptions {
  bool AllColumns = false;  // columns 0..132 instead of 0..Cols-1
  bool Attrs = false;       // each row followed by its attribute bytes
};

std::string DumpScreen(const TScreen& Screen, const TDumpOptions& Options);

}  // namespace corvane
