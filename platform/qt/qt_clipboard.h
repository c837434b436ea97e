#pragma once
// The desktop clipboard as code page 437 bytes: copied bytes become the
// Unicode text the screen showed, pasted text comes back as bytes.
#include "platform/clipboard.h"

namespace corvane::platform::qt {

class TQtClipboard final : public TClipboardPort {
 public:
  std::u32string Text() override;
  void SetText(const std::string& text) override;
};

}  // namespace corvane::platform::qt
