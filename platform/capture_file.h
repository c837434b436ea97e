#pragma once
// The capture file: a byte file opened for writing with shared read access,
// so that other programs may read it while it grows. Every operation returns
// 0 or the operating system's error number; the caller decides what to raise.
#include <cstddef>
#include <memory>
#include <string>

namespace corvane::platform {

// The opens return this, without blocking, for a name that is a pipe, device,
// socket or directory: a pipe with no reader would hang the program. Bit 29
// marks application-defined error numbers on Windows and is beyond errno.
constexpr int kNotARegularFile = 0x20000001;

class TCaptureFilePort {
 public:
  virtual ~TCaptureFilePort() = default;

  // Opens an existing regular file; writing continues after its last byte.
  virtual int OpenAppend(const std::string& name) = 0;
  // Creates the regular file empty, replacing one of the same name.
  virtual int Rewrite(const std::string& name) = 0;
  virtual int Write(const char* data, std::size_t size) = 0;
  // Hands everything written so far to the operating system.
  virtual int Flush() = 0;
  virtual int Close() = 0;
  virtual bool IsOpen() const = 0;
};

// The platform's file adapter.
std::unique_ptr<TCaptureFilePort> NewCaptureFile();

// The operating system's short text for an error number of the operations
// above ("No space left on device"); empty when it has none.
std::string CaptureErrorText(int code);

}  // namespace corvane::platform
