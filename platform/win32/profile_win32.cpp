#include <windows.h>
// shlobj.h after windows.h
#include <shlobj.h>

#include "platform/profile.h"

namespace corvane::platform {
namespace {

// The folder of a full file name, with its trailing backslash; empty when
// the name has none.
std::string FolderOf(const char* path, DWORD length) {
  const std::string full(path, length);
  const std::size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : FolderOf(path, length);
}

std::string UserFolder() {
  char path[MAX_PATH];
  if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return std::string(path) + "\\cvtelnet\\";
}

std::string WindowsFolder() {
  char path[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length) + "\\";
}

// Closes the handle however the read ends.
struct THandle {
  HANDLE Value;
  ~THandle() {
    if (Value != INVALID_HANDLE_VALUE) CloseHandle(Value);
  }
};

}  // namespace

std::vector<std::string> ProfileFolders() {
  std::vector<std::string> folders;
  for (const std::string& folder : {ProgramFolder(), UserFolder(), WindowsFolder()})
    if (!folder.empty()) folders.push_back(folder);
  return folders;
}

TFileRead ReadBoundedFile(const std::string& path, std::string& content) {
  content.clear();
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return TFileRead::Missing;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) return TFileRead::NotRegular;
  const THandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.Value == INVALID_HANDLE_VALUE) return TFileRead::Failed;
  if (GetFileType(file.Value) != FILE_TYPE_DISK) return TFileRead::NotRegular;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Value, &size)) return TFileRead::Failed;
  if (size.QuadPart > static_cast<LONGLONG>(kMaxIniFile)) return TFileRead::TooLarge;
  content.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!content.empty() && !ReadFile(file.Value, content.data(), static_cast<DWORD>(content.size()), &read, nullptr))
    return TFileRead::Failed;
  content.resize(read);
  return TFileRead::Read;
}

}  // namespace corvane::platform
