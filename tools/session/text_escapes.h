#pragma once
// Command-line text with escapes, for bytes a shell cannot pass easily.
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Resolves \r \n \t \e \\ and \xHH (two hexadecimal digits); nothing for
// any other escape or a cut one.
std::optional<std::string> Unescape(std::string_view text);

}  // namespace corvane
