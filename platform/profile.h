#pragma once
// Reading a private profile (INI) file; the system never writes one.
#include <string>

namespace corvane::platform {

// The value of `key` in section `section` of the file, or `def` when the
// file, the section or the key is missing. A bare file name is looked up in
// the platform's places for it: on Windows the Windows directory; elsewhere
// the current directory, then $XDG_CONFIG_HOME/cvtelnet/ (or, without that
// variable, ~/.config/cvtelnet/). Values are at most kMaxIniLine bytes.
std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& def);

}  // namespace corvane::platform
