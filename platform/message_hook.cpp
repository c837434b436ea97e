#include "platform/message_hook.h"

#include <utility>

namespace corvane::platform {
namespace {
TMessageHook& InstalledHook() {
  static TMessageHook hook;
  return hook;
}
}  // namespace

TMessage MakeKeyDown(const void* window, int virtualKey, int scanCode, bool extended, bool altDown) {
  std::uint32_t data = 1 | (static_cast<std::uint32_t>(scanCode & 0xFF) << 16);
  if (extended) data |= 1u << 24;
  if (altDown) data |= 1u << 29;
  return {window, kKeyDownMessage, static_cast<std::uint32_t>(virtualKey & 0xFF), static_cast<std::int32_t>(data)};
}

const TMessageHook& AppMessageHook() { return InstalledHook(); }

TMessageHook SetAppMessageHook(TMessageHook hook) { return std::exchange(InstalledHook(), std::move(hook)); }

bool OfferToAppMessageHook(TMessage& msg) {
  bool handled = false;
  // A copy, so that a hook which replaces itself finishes safely.
  if (TMessageHook hook = InstalledHook()) hook(msg, handled);
  return handled;
}

}  // namespace corvane::platform
