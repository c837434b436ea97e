#include "emulator/capture_log.h"

#include <string>

namespace corvane {

namespace {
// Names the file and the reason, keeping the number for a search.
std::string InOutErrorText(int code) {
  const std::string name = TCaptureLog::kFileName;
  if (code == platform::kNotARegularFile) return name + " is not a regular file";
  const std::string number = "I/O error " + std::to_string(code);
  if (code == TCaptureLog::kFileNotOpen) return name + " is not open (" + number + ")";
  const std::string reason = platform::CaptureErrorText(code);
  return reason.empty() ? name + ": " + number : name + ": " + reason + " (" + number + ")";
}
}  // namespace

EInOutError::EInOutError(int code) : std::runtime_error(InOutErrorText(code)), ErrorCode(code) {}

TCaptureLog::TCaptureLog(std::unique_ptr<platform::TCaptureFilePort> file) : file_(std::move(file)) {}

void TCaptureLog::SetOn(bool on) {
  if (on == on_) return;
  if (on)
    Start();
  else
    Stop();
}

// Existing content is never cut: a host may well send Ctrl-Z, so writing
// always continues after the file's last byte. A name taken by something
// other than a file is not replaced.
void TCaptureLog::Start() {
  int error = file_->OpenAppend(kFileName);
  if (error != 0 && error != platform::kNotARegularFile) error = file_->Rewrite(kFileName);
  if (error != 0) throw EInOutError(error);
  error = WriteFlushed("<Open>", 6);
  if (error != 0) {
    file_->Close();
    throw EInOutError(error);
  }
  on_ = true;
}

void TCaptureLog::Stop() {
  on_ = false;
  const int writeError = WriteFlushed("<Close>", 7);
  const int closeError = file_->IsOpen() ? file_->Close() : kFileNotOpen;
  if (writeError != 0) throw EInOutError(writeError);
  if (closeError != 0) throw EInOutError(closeError);
}

int TCaptureLog::Write(std::string_view bytes) {
  const int error = WriteFlushed(bytes.data(), bytes.size());
  if (error == 0) return 0;
  on_ = false;
  if (file_->IsOpen()) file_->Close();
  return error;
}

int TCaptureLog::WriteFlushed(const char* data, std::size_t size) {
  if (!file_->IsOpen()) return kFileNotOpen;
  if (const int error = file_->Write(data, size)) return error;
  return file_->Flush();
}

}  // namespace corvane
