#pragma once
// What the replay tool feeds: a capture file without its period markers, or
// any other stream as it is.
#include <string>
#include <string_view>

namespace corvane {

// Input that begins with "<Open>" is a capture file: each period's "<Open>"
// and the "<Close>" that ends it are dropped, everything else is kept in
// order. Other input, or any input when Raw is set, is returned unchanged.
std::string BytesToFeed(std::string_view Input, bool Raw);

}  // namespace corvane
