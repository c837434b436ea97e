#pragma once
#include <string>

namespace corvane::platform {

// Plain text on the system clipboard, as bytes of the window's code page.
class TClipboardPort {
 public:
  virtual ~TClipboardPort() = default;
  virtual std::string Text() = 0;
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace corvane::platform
