#pragma once
// A modal message box with an OK button over the active window.
#include "platform/message_box.h"

namespace corvane::platform::qt {

class TQtMessageBox final : public TMessageBoxPort {
 public:
  void ShowOk(const std::string& text, const std::string& caption) override;
};

}  // namespace corvane::platform::qt
