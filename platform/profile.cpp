#include "platform/profile.h"

#include <sstream>

namespace corvane::platform {
namespace {

bool IsBareName(const std::string& file) { return file.find_first_of("/\\:") == std::string::npos; }

std::vector<std::string> Candidates(const std::string& file) {
  if (!IsBareName(file)) return {file};
  std::vector<std::string> paths;
  for (const std::string& folder : ProfileFolders()) paths.push_back(folder + file);
  return paths;
}

std::string ProblemText(TFileRead result, const std::string& path) {
  switch (result) {
    case TFileRead::NotRegular:
      return path + " is not a regular file";
    case TFileRead::TooLarge:
      return path + " is larger than 1 MiB";
    default:
      return path + " cannot be read";
  }
}

}  // namespace

TProfileSection ReadProfileSection(const std::string& file, const std::string& section) {
  TProfileSection found;
  std::string content;
  for (const std::string& path : Candidates(file)) {
    const TFileRead result = ReadBoundedFile(path, content);
    if (result == TFileRead::Missing) continue;
    if (result != TFileRead::Read) {
      found.Problem = ProblemText(result, path);
      return found;
    }
    std::istringstream in(content);
    found.Section = ReadIniSection(in, section);
    return found;
  }
  return found;
}

}  // namespace corvane::platform
