#pragma once
// The client size of the main window's terminal control: the designed size,
// grown where the grid of rows and columns needs more, but not beyond the
// room the screen has for it (unless the designed size is already larger).
#include <algorithm>

#include "platform/rect.h"

namespace corvane {

constexpr int FittedExtent(int designed, int grid, int screen) {
  return std::min(std::max(designed, grid), std::max(designed, screen));
}

constexpr platform::TSize TerminalClientSize(platform::TSize designed, platform::TSize grid, platform::TSize screen) {
  return {FittedExtent(designed.Width, grid.Width, screen.Width),
          FittedExtent(designed.Height, grid.Height, screen.Height)};
}

}  // namespace corvane
