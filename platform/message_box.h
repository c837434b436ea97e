#pragma once
#include <string>

namespace corvane::platform {

// A modal message box with one OK button; returns when it is closed.
class TMessageBoxPort {
 public:
  virtual ~TMessageBoxPort() = default;
  virtual void ShowOk(const std::string& text, const std::string& caption) = 0;
};

}  // namespace corvane::platform
