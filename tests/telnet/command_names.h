#pragma once
// Readable lists of the telnet commands in a raw byte stream, for recording
// what a real server negotiated.
#include <string>
#include <vector>

namespace corvane::tntest {

// "WILL ECHO", "DO TTYPE", "SB TTYPE SEND", ... in stream order; data and
// escaped 255s are skipped.
std::vector<std::string> DescribeCommands(const std::string& raw);

std::string Join(const std::vector<std::string>& items, const char* separator = ", ");

}  // namespace corvane::tntest
