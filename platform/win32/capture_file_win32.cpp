#include <windows.h>

#include "platform/capture_file.h"

namespace corvane::platform {
namespace {

// The most one WriteFile call is given: a DWORD counts the bytes.
constexpr DWORD kMaxPiece = 0x40000000;

// Unbuffered WriteFile calls: every byte reaches the system at once, so Flush
// has nothing left to hand over. Other programs may read, but not write.
class TWin32CaptureFile final : public TCaptureFilePort {
 public:
  ~TWin32CaptureFile() override { Close(); }

  int OpenAppend(const std::string& name) override {
    const int error = Open(name, OPEN_EXISTING);
    if (error != 0) return error;
    if (SetFilePointer(file_, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
      const int seekError = static_cast<int>(GetLastError());
      Close();
      return seekError;
    }
    return 0;
  }

  int Rewrite(const std::string& name) override { return Open(name, CREATE_ALWAYS); }

  int Write(const char* data, std::size_t size) override {
    if (file_ == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    while (size > 0) {
      // One call takes at most a DWORD's worth; larger blocks go in pieces.
      const DWORD piece = size > kMaxPiece ? kMaxPiece : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(file_, data, piece, &written, nullptr)) return static_cast<int>(GetLastError());
      if (written == 0) return ERROR_WRITE_FAULT;
      data += written;
      size -= written;
    }
    return 0;
  }

  int Flush() override { return file_ == INVALID_HANDLE_VALUE ? ERROR_INVALID_HANDLE : 0; }

  int Close() override {
    if (file_ == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    const int result = CloseHandle(file_) ? 0 : static_cast<int>(GetLastError());
    file_ = INVALID_HANDLE_VALUE;
    return result;
  }

  bool IsOpen() const override { return file_ != INVALID_HANDLE_VALUE; }

 private:
  // A name that leads to a pipe or a device is closed again: only a disk file
  // takes every byte without waiting for a reader. A folder or a link is not
  // opened at all.
  int Open(const std::string& name, DWORD disposition) {
    if (file_ != INVALID_HANDLE_VALUE) Close();
    if (IsDirectoryOrLink(name)) return kNotARegularFile;
    file_ =
        CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    if (GetFileType(file_) != FILE_TYPE_DISK) {
      Close();
      return kNotARegularFile;
    }
    return 0;
  }

  // A link (reparse point) could lead the capture to another file.
  static bool IsDirectoryOrLink(const std::string& name) {
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
  }

  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<TCaptureFilePort> NewCaptureFile() { return std::make_unique<TWin32CaptureFile>(); }

std::string CaptureErrorText(int code) {
  char text[256];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
  std::string result(text, length);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.')) result.pop_back();
  return result;
}

}  // namespace corvane::platform
