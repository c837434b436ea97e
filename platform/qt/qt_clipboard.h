#pragma once
// The desktop clipboard: copied code page 437 bytes become the Unicode text
// the screen showed, copied Unicode text stays as it is (line ends as line
// feeds, as the desktop has them), pasted text comes back as Unicode.
#include "platform/clipboard.h"

namespace corvane::platform::qt {

class TQtClipboard final : public TClipboardPort {
 public:
  std::u32string Text() override;
  void SetText(const std::string& text) override;
  void SetUnicodeText(const std::u32string& text) override;
};

}  // namespace corvane::platform::qt
