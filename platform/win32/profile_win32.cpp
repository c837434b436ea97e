#include <windows.h>

#include "platform/ini_reader.h"
#include "platform/profile.h"

namespace corvane::platform {

// The system's own profile reader, with its own rules and places.
std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& def) {
  char buffer[kMaxIniLine + 1];
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer, file.c_str());
  return std::string(buffer, length);
}

}  // namespace corvane::platform
