#pragma once
// Where the main window's controls lie for a client size: the top panel
// across the top, the status bar across the bottom and the terminal between
// them, as designed at 653 x 380 and stretched with the window.
#include <algorithm>

#include "platform/rect.h"

namespace corvane {

inline constexpr platform::TSize kDesignedClientSize{653, 380};
inline constexpr int kTopPanelHeight = 33;
inline constexpr int kTerminalTop = 36;
inline constexpr int kTerminalRightGap = 4;  // the designed terminal is 649 wide
inline constexpr int kStatusBarHeight = 26;
inline constexpr int kTerminalBottomGap = 1;  // between the terminal and the status bar
// The top panel's controls end at 297: the window is never narrower than
// them with the panel's margin.
inline constexpr int kMinClientWidth = 305;

struct TFormLayout {
  platform::TRect TopPanel, Terminal, StatusBar;
};

constexpr TFormLayout LayoutForClient(platform::TSize client) {
  const int statusTop = client.Height - kStatusBarHeight;
  return {{0, 0, client.Width, kTopPanelHeight},
          {0, kTerminalTop, std::max(0, client.Width - kTerminalRightGap),
           std::max(kTerminalTop, statusTop - kTerminalBottomGap)},
          {0, statusTop, client.Width, client.Height}};
}

// The client size of the window whose terminal has the outer size `terminal`.
constexpr platform::TSize ClientForTerminal(platform::TSize terminal) {
  return {std::max(kMinClientWidth, terminal.Width + kTerminalRightGap),
          terminal.Height + kTerminalTop + kTerminalBottomGap + kStatusBarHeight};
}

}  // namespace corvane
