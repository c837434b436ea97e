#pragma once
// The terminal control as the main window is designed with it. Each form
// applies these settings when it creates the terminal, before its start-up
// handler runs; the replay tool paints in the same font.
#include "platform/canvas.h"

namespace corvane {

inline const platform::TFont kTerminalFont{"Terminal", 9, platform::TFontPitch::Fixed, 0};
inline constexpr int kTerminalLineHeight = 12;
inline constexpr const char* kDefaultHost = "127.0.0.1";
inline constexpr const char* kTerminalLocation = "RUVOZ";

}  // namespace corvane
