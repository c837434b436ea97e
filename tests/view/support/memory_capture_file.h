#pragma once
// A capture file in memory, with its operations recorded and failures that a
// test can switch on.
#include <map>
#include <string>
#include <vector>

#include "platform/capture_file.h"

namespace corvane::recording {

// The files and the faults shared by every memory file of a test.
struct TMemoryDisk {
  std::map<std::string, std::string> Files;
  std::vector<std::string> Ops;  // "OpenAppend", "Rewrite", "Write 1", "Flush", "Close"
  int OpenAppendError = 0;       // 0: the file opens when it exists (else error 2)
  int RewriteError = 0;
  int WriteError = 0;
  int FlushError = 0;
  int CloseError = 0;
};

class TMemoryCaptureFile final : public platform::TCaptureFilePort {
 public:
  explicit TMemoryCaptureFile(TMemoryDisk& disk) : disk_(disk) {}

  int OpenAppend(const std::string& name) override;
  int Rewrite(const std::string& name) override;
  int Write(const char* data, std::size_t size) override;
  int Flush() override;
  int Close() override;
  bool IsOpen() const override { return !name_.empty(); }

 private:
  TMemoryDisk& disk_;
  std::string name_;
};

}  // namespace corvane::recording
