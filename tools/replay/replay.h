#pragma once
// The replay tool's work without its files: a capture or byte stream fed to a
// fresh screen prepared as the options say, and the picture it leaves.
#include <string>
#include <string_view>

#include "emulator/screen.h"
#include "tools/replay/replay_options.h"

namespace corvane {

std::string Replay(std::string_view Input, const TReplayOptions& Options);

// The screen as the telnet terminal leaves it after connecting with these
// settings: cleared, cursor home, received text translated unless Xlat.
void PrepareScreen(TScreen& Screen, const TReplayOptions& Options);

}  // namespace corvane
