#pragma once
// The capture file: every byte fed to the view while capture is on, framed by
// "<Open>" and "<Close>" for each capture period, appended to "ZUZERI.LOG".
#include <memory>
#include <stdexcept>
#include <string_view>

#include "platform/capture_file.h"

namespace corvane {

// The input/output error of a file operation, carrying the system's code;
// a name that is not a regular file has its own message.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code);
  int ErrorCode;
};

class TCaptureLog {
 public:
  static constexpr const char* kFileName = "ZUZERI.LOG";
  // The error of writing with no open file.
  static constexpr int kFileNotOpen = 103;

  explicit TCaptureLog(std::unique_ptr<platform::TCaptureFilePort> file);

  bool On() const { return on_; }
  // Switching on raises EInOutError, and stays off, when the file can be
  // neither opened nor created or is not a regular file; switching off closes the file even when the
  // closing marker cannot be written, then raises. Equal values do nothing.
  void SetOn(bool on);
  // Writes and flushes the bytes as one piece. On failure the file is closed
  // and capture switches off, so that the failure is met once; returns the
  // error code, 0 when the bytes were written.
  int Write(std::string_view bytes);

 private:
  void Start();
  void Stop();
  int WriteFlushed(const char* data, std::size_t size);

  std::unique_ptr<platform::TCaptureFilePort> file_;
  bool on_ = false;
};

}  // namespace corvane
