#pragma once
// The replay tool's picture of a screen: the terminal view's own paint code
// with the program's designed font, saved as a PNG file.
#include <string>
#include <string_view>

#include "tools/replay/replay_options.h"

namespace corvane {

// Feeds `Feed` to a screen prepared from `Options` and saves its picture in
// Options.Png. Returns an error text, empty on success.
std::string WritePicture(const TReplayOptions& Options, std::string_view Feed);

}  // namespace corvane
