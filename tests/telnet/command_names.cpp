#include "tests/telnet/command_names.h"

#include <map>

namespace corvane::tntest {
namespace {

std::string OptionName(unsigned char option) {
  static const std::map<unsigned char, std::string> names = {
      {0, "BINARY"},         {1, "ECHO"},        {3, "SGA"},       {5, "STATUS"},       {6, "TIMING-MARK"},
      {23, "SEND-LOCATION"}, {24, "TTYPE"},      {25, "EOR"},      {31, "NAWS"},        {32, "TSPEED"},
      {33, "LFLOW"},         {34, "LINEMODE"},   {35, "XDISPLOC"}, {36, "OLD-ENVIRON"}, {37, "AUTHENTICATION"},
      {38, "ENCRYPT"},       {39, "NEW-ENVIRON"}};
  auto it = names.find(option);
  return it != names.end() ? it->second : std::to_string(option);
}

std::string VerbName(unsigned char verb) {
  static const char* const verbs[] = {"WILL", "WONT", "DO", "DONT"};
  return verbs[verb - 251];
}

}  // namespace

std::vector<std::string> DescribeCommands(const std::string& raw) {
  std::vector<std::string> out;
  for (size_t i = 0; i + 1 < raw.size(); ++i) {
    if (static_cast<unsigned char>(raw[i]) != 255) continue;
    auto cmd = static_cast<unsigned char>(raw[++i]);
    if (cmd >= 251 && cmd <= 254 && i + 1 < raw.size()) {
      out.push_back(VerbName(cmd) + " " + OptionName(static_cast<unsigned char>(raw[++i])));
    } else if (cmd == 250 && i + 1 < raw.size()) {
      std::string sb = "SB " + OptionName(static_cast<unsigned char>(raw[++i]));
      size_t end = raw.find("\xff\xf0", i + 1);
      std::string body = raw.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      if (!body.empty() && body[0] == 1) sb += " SEND";
      if (!body.empty() && body[0] == 0) sb += " IS " + body.substr(1);
      out.push_back(sb);
      i = end == std::string::npos ? raw.size() : end + 1;
    } else if (cmd != 255) {
      out.push_back("IAC " + std::to_string(cmd));
    }
  }
  return out;
}

std::string Join(const std::vector<std::string>& items, const char* separator) {
  std::string joined;
  for (const auto& item : items) joined += (joined.empty() ? "" : separator) + item;
  return joined;
}

}  // namespace corvane::tntest
