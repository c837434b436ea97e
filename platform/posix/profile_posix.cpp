#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/profile.h"

namespace corvane::platform {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Closes the descriptor however the read ends.
struct TDescriptor {
  int Fd;
  ~TDescriptor() {
    if (Fd >= 0) ::close(Fd);
  }
};

TFileRead ReadAll(int fd, std::string& content) {
  char block[65536];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n == 0) return TFileRead::Read;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return TFileRead::Failed;
    content.append(block, static_cast<std::size_t>(n));
    if (content.size() > kMaxIniFile) return TFileRead::TooLarge;  // it grew while being read
  }
}

}  // namespace

std::vector<std::string> ProfileFolders() {
  const std::string config = Env("XDG_CONFIG_HOME");
  if (!config.empty() && config.front() == '/') return {"", config + "/cvtelnet/"};
  const std::string home = Env("HOME");
  if (home.empty()) return {""};
  return {"", home + "/.config/cvtelnet/"};
}

// O_NONBLOCK: opening a pipe with no writer would otherwise wait for one.
TFileRead ReadBoundedFile(const std::string& path, std::string& content) {
  content.clear();
  const TDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.Fd < 0) return errno == ENOENT || errno == ENOTDIR ? TFileRead::Missing : TFileRead::Failed;
  struct stat info {};
  if (::fstat(file.Fd, &info) != 0) return TFileRead::Failed;
  if (!S_ISREG(info.st_mode)) return TFileRead::NotRegular;
  if (static_cast<std::size_t>(info.st_size) > kMaxIniFile) return TFileRead::TooLarge;
  return ReadAll(file.Fd, content);
}

}  // namespace corvane::platform
