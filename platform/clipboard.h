#pragma once
#include <string>

namespace corvane::platform {

// Plain text on the system clipboard: read as Unicode, written as bytes of
// the window's code page, which the clipboard holds as the pictures shown.
class TClipboardPort {
 public:
  virtual ~TClipboardPort() = default;
  virtual std::u32string Text() = 0;
  virtual void SetText(const std::string& text) = 0;
  // Unicode text as it is; its line ends are CR LF, as in SetText's bytes.
  virtual void SetUnicodeText(const std::u32string& text) = 0;
};

}  // namespace corvane::platform
