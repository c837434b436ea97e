#pragma once
// The replay tool's work without its files: a capture or byte stream fed to a
// fresh screen prepared as the options say, and the picture it leaves.
#include <string>
#include <string_view>

#include "tools/replay/replay_options.h"

namespace corvane {

std::string Replay(std::string_view Input, const TReplayOptions& Options);

}  // namespace corvane
