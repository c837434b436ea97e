#pragma once
// Reading a private profile (INI) file; the system never writes one. The
// file is read once for each section looked up, and only when it is a
// regular file of bounded size: a pipe, a device or a huge file of that name
// must not stall the program.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/ini_reader.h"

namespace corvane::platform {

// The largest INI file that is read; a larger one is refused whole.
constexpr std::size_t kMaxIniFile = 1 << 20;

struct TProfileSection {
  TIniSection Section;
  // Names the file found and why it could not be read; its keys are then
  // empty, so that the defaults apply. Empty when the file was read or when
  // there was none.
  std::string Problem;
};

// Section `section` of `file`. A bare file name is looked up in the folders
// of ProfileFolders(), in order; the first file of that name is the one
// read, also when it turns out to be unreadable.
TProfileSection ReadProfileSection(const std::string& file, const std::string& section);

// The platform's part (profile_<platform>.cpp).

// Where a bare name is looked up, in order, each folder with its trailing
// separator ("" is the current folder). Windows: the program's folder, the
// user's application data folder "cvtelnet", the Windows folder. Elsewhere:
// the current folder, then $XDG_CONFIG_HOME/cvtelnet/ (or, without that
// variable, ~/.config/cvtelnet/).
std::vector<std::string> ProfileFolders();

enum class TFileRead { Read, Missing, NotRegular, TooLarge, Failed };

// The whole content of the regular file `path` of at most kMaxIniFile bytes,
// opened without blocking and without waiting for a writer.
TFileRead ReadBoundedFile(const std::string& path, std::string& content);

}  // namespace corvane::platform
