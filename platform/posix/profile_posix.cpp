#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/ini_reader.h"
#include "platform/profile.h"

namespace corvane::platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Where a bare name may lie, in the order tried; a name with a directory is
// taken as it is.
std::vector<std::string> Candidates(const std::string& file) {
  if (file.find('/') != std::string::npos) return {file};
  const std::string config = Env("XDG_CONFIG_HOME");
  if (!config.empty() && config.front() == '/') return {file, config + "/cvtelnet/" + file};
  const std::string home = Env("HOME");
  if (home.empty()) return {file};
  return {file, home + "/.config/cvtelnet/" + file};
}

}  // namespace

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& def) {
  for (const std::string& path : Candidates(file)) {
    std::ifstream in(path, std::ios::binary);
    if (!in) continue;
    return FindIniValue(in, section, key).value_or(def);
  }
  return def;
}

}  // namespace corvane::platform
