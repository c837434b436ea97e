#pragma once
// The main window's terminal control and its grid: how large the control is
// made to show a grid, and which grid of whole cells a control of a given
// size shows when the grid follows the window (Xterm).
#include <algorithm>

#include "platform/rect.h"

namespace corvane {

// The client size of the terminal control: the designed size, grown where
// the grid of rows and columns needs more, but not beyond the room the
// screen has for it (unless the designed size is already larger).
constexpr int FittedExtent(int designed, int grid, int screen) {
  return std::min(std::max(designed, grid), std::max(designed, screen));
}

constexpr platform::TSize TerminalClientSize(platform::TSize designed, platform::TSize grid, platform::TSize screen) {
  return {FittedExtent(designed.Width, grid.Width, screen.Width),
          FittedExtent(designed.Height, grid.Height, screen.Height)};
}

struct TGridSize {
  int Rows = 0;
  int Cols = 0;
  friend bool operator==(const TGridSize&, const TGridSize&) = default;
};

// The cells of a grid and the margins around them, as the view measures them.
struct TGridGeometry {
  TGridSize Grid;          // the grid shown now
  platform::TSize Client;  // the client size that shows it whole
  platform::TSize Cell;    // pixels of one cell, each at least 1
};

// The grid of whole cells that `client` shows, within 1..`limit` each way:
// the margins are what the grid's client size adds to its cells.
constexpr TGridSize FittedGrid(platform::TSize client, const TGridGeometry& now, TGridSize limit) {
  const int marginWidth = now.Client.Width - now.Grid.Cols * now.Cell.Width;
  const int marginHeight = now.Client.Height - now.Grid.Rows * now.Cell.Height;
  return {std::clamp((client.Height - marginHeight) / std::max(1, now.Cell.Height), 1, limit.Rows),
          std::clamp((client.Width - marginWidth) / std::max(1, now.Cell.Width), 1, limit.Cols)};
}

// The client size that shows `grid` whole with the same margins.
constexpr platform::TSize GridClient(TGridSize grid, const TGridGeometry& now) {
  return {now.Client.Width + (grid.Cols - now.Grid.Cols) * now.Cell.Width,
          now.Client.Height + (grid.Rows - now.Grid.Rows) * now.Cell.Height};
}

}  // namespace corvane
