// The INI reader and the integer rules on any file content: a value found is
// bounded, and reading it as an integer never overflows. (Blanks inside
// quotes are kept, so a value may start or end with one.) The first
// line of the input names the section and key to look for ("section/key"),
// the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/ini_reader.h"
#include "telnet/tn_settings.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Look(const std::string& file, std::string_view section, std::string_view key) {
  std::istringstream in(file);
  const auto value = corvane::platform::FindIniValue(in, section, key);
  if (!value) return;
  Check(value->size() <= corvane::platform::kMaxIniLine);
  (void)corvane::ProfileInteger(*value, -7);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t eol = input.find('\n');
  const std::string_view head = std::string_view(input).substr(0, eol);
  const std::size_t slash = head.find('/');
  const std::string file = eol == std::string::npos ? input : input.substr(eol + 1);
  if (slash != std::string_view::npos) Look(file, head.substr(0, slash), head.substr(slash + 1));
  Look(file, "host", "Rows");
  return 0;
}
