#include "app/address.h"

#include <algorithm>
#include <vector>

#include "app/command_line.h"
#include "platform/ascii_text.h"

namespace corvane {
namespace {

constexpr std::string_view kScheme = "telnet://";
constexpr std::string_view kBlanks = " \t";

// The text inside a one-line message: control characters show as '?'.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char ch : text) quoted += static_cast<unsigned char>(ch) < ' ' || ch == 0x7F ? '?' : ch;
  return quoted + "'";
}

TAddress Failed(std::string_view text, std::string_view why) {
  return {{}, {}, "the address " + Quoted(text) + " " + std::string(why)};
}

// A tab separates the host from the port as a space does.
bool HasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char ch) { return (static_cast<unsigned char>(ch) < ' ' && ch != '\t') || ch == 0x7F; });
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of(kBlanks), text.size());
    if (end > 0) words.push_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return words;
}

// "[literal]" with an optional ":port" after it.
TAddress Bracketed(std::string_view word, std::string_view text) {
  const std::size_t close = word.find(']');
  if (close == std::string_view::npos) return Failed(text, "has no ']' after its '['");
  TAddress address{std::string(word.substr(1, close - 1)), {}, {}};
  const std::string_view after = word.substr(close + 1);
  if (after.empty()) return address;
  if (after.front() != ':') return Failed(text, "has " + Quoted(after) + " after ']'");
  address.Port = after.substr(1);
  if (address.Port.empty()) return Failed(text, "has an empty port");
  return address;
}

// One word: host, host:port, [literal], [literal]:port or a bare IPv6 literal.
TAddress HostAndPort(std::string_view word, std::string_view text) {
  TAddress address;
  if (word.starts_with('[')) {
    address = Bracketed(word, text);
  } else if (std::count(word.begin(), word.end(), ':') == 1) {
    const std::size_t colon = word.find(':');
    address = {std::string(word.substr(0, colon)), std::string(word.substr(colon + 1)), {}};
    if (address.Port.empty()) return Failed(text, "has an empty port");
  } else {
    address.Host = word;
  }
  if (address.Error.empty() && address.Host.empty()) return Failed(text, "names no host");
  return address;
}

TAddress FromUrl(std::string_view text) {
  std::string_view rest = text.substr(kScheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
  if (rest.find('/') != std::string_view::npos) return Failed(text, "has a path");
  if (rest.find_first_of(kBlanks) != std::string_view::npos) return Failed(text, "holds a blank");
  return HostAndPort(rest, text);
}

TAddress FromWords(std::string_view text) {
  const std::vector<std::string_view> words = Words(text);
  if (words.size() > 2) return Failed(text, "has more than a host and a port");
  TAddress address = HostAndPort(words[0], text);
  if (words.size() == 1 || !address.Error.empty()) return address;
  if (!address.Port.empty()) return Failed(text, "has two ports");
  address.Port = words[1];
  return address;
}

}  // namespace

// Blanks around the address are not part of it.
TAddress ParseAddress(std::string_view Text) {
  const std::string_view text = platform::TrimBlanks(Text, kBlanks);
  if (text.empty()) return {};
  if (HasControl(text)) return {{}, {}, "bad host name " + Quoted(text)};
  const bool url =
      text.size() >= kScheme.size() && platform::SameNameIgnoringCase(text.substr(0, kScheme.size()), kScheme);
  if (!url && text.find("://") != std::string_view::npos)
    return {{}, {}, "only telnet:// addresses can be opened, not " + Quoted(text)};
  TAddress address = url ? FromUrl(text) : FromWords(text);
  if (address.Error.empty() && !address.Port.empty()) address.Error = PortError(address.Port);
  if (!address.Error.empty()) return {{}, {}, address.Error};
  return address;
}

// Brackets keep a colon of the host from being read as the port's, and a
// leading '[' from opening brackets of its own; a host holding ']' cannot be
// bracketed, so its port follows a blank instead.
std::string FormatAddress(std::string_view Host, std::string_view Port) {
  const auto colons = std::count(Host.begin(), Host.end(), ':');
  const bool needsBrackets = colons == 1 || (colons > 1 && !Port.empty()) || Host.starts_with('[');
  const bool bracketed = needsBrackets && Host.find(']') == std::string_view::npos;
  std::string text;
  if (bracketed) text += '[';
  text.append(Host);
  if (bracketed) text += ']';
  if (Port.empty()) return text;
  text += needsBrackets && !bracketed ? ' ' : ':';
  text.append(Port);
  return text;
}

}  // namespace corvane
