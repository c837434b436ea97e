#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/capture_file.h"

namespace corvane::platform {
namespace {

// write(2) goes straight to the operating system, so Flush has nothing left
// to hand over. POSIX has no share modes: readers are never locked out.
class TPosixCaptureFile final : public TCaptureFilePort {
 public:
  ~TPosixCaptureFile() override { Close(); }

  int OpenAppend(const std::string& name) override { return Open(name, O_WRONLY | O_APPEND); }
  int Rewrite(const std::string& name) override { return Open(name, O_WRONLY | O_CREAT | O_TRUNC); }

  int Write(const char* data, std::size_t size) override {
    if (fd_ < 0) return EBADF;
    while (size > 0) {
      const ssize_t n = ::write(fd_, data, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return 0;
  }

  int Flush() override { return fd_ < 0 ? EBADF : 0; }

  int Close() override {
    if (fd_ < 0) return EBADF;
    const int result = ::close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    return result;
  }

  bool IsOpen() const override { return fd_ >= 0; }

 private:
  // O_NONBLOCK keeps a pipe without a reader from blocking the open (it fails
  // with ENXIO instead); O_NOFOLLOW refuses a link (ELOOP) before it could
  // lead to another file or create one; anything opened that is not a
  // regular file is closed.
  int Open(const std::string& name, int flags) {
    if (fd_ >= 0) Close();
    fd_ = ::open(name.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0644);
    if (fd_ < 0) return errno == ENXIO || errno == EISDIR || errno == ELOOP ? kNotARegularFile : errno;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
      Close();
      return kNotARegularFile;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return 0;
  }

  int fd_ = -1;
};

}  // namespace

std::unique_ptr<TCaptureFilePort> NewCaptureFile() { return std::make_unique<TPosixCaptureFile>(); }

std::string CaptureErrorText(int code) { return std::strerror(code); }

}  // namespace corvane::platform
