#include "tests/view/support/memory_capture_file.h"

namespace corvane::recording {
namespace {
constexpr int kNotFound = 2;
constexpr int kBadHandle = 6;
}  // namespace

int TMemoryCaptureFile::OpenAppend(const std::string& name) {
  disk_.Ops.push_back("OpenAppend");
  if (disk_.OpenAppendError != 0) return disk_.OpenAppendError;
  if (!disk_.Files.contains(name)) return kNotFound;
  name_ = name;
  return 0;
}

int TMemoryCaptureFile::Rewrite(const std::string& name) {
  disk_.Ops.push_back("Rewrite");
  if (disk_.RewriteError != 0) return disk_.RewriteError;
  disk_.Files[name].clear();
  name_ = name;
  return 0;
}

int TMemoryCaptureFile::Write(const char* data, std::size_t size) {
  disk_.Ops.push_back("Write " + std::to_string(size));
  if (name_.empty()) return kBadHandle;
  if (disk_.WriteError != 0) return disk_.WriteError;
  disk_.Files[name_].append(data, size);
  return 0;
}

int TMemoryCaptureFile::Flush() {
  disk_.Ops.push_back("Flush");
  return name_.empty() ? kBadHandle : disk_.FlushError;
}

int TMemoryCaptureFile::Close() {
  disk_.Ops.push_back("Close");
  if (name_.empty()) return kBadHandle;
  name_.clear();
  return disk_.CloseError;
}

}  // namespace corvane::recording
