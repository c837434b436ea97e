#pragma once
// The one-screen tour of what the terminal renders, sent after negotiation.
#include <string>
#include <string_view>

namespace corvane::demo {

// The greeting line, with client-supplied texts made printable and short.
std::string Greeting(std::string_view term_type, std::string_view location);

// The whole 24-row screen: greeting, colours, line drawing, insert and delete
// of characters and lines, a scrolling region, cursor save and restore, and
// the key tester's prompt on the last row.
std::string ShowcaseScreen(std::string_view term_type, std::string_view location);

}  // namespace corvane::demo
