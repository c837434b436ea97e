#pragma once
// Window messages as the message loop takes them from the queue, and the one
// application-wide hook that may claim them before they are translated and
// dispatched.
#include <cstdint>
#include <functional>

namespace corvane::platform {

constexpr std::uint32_t kKeyDownMessage = 0x0100;
constexpr std::uint32_t kSysKeyDownMessage = 0x0104;
// The character of a system key-down that no one claimed (an Alt
// combination); its WParam is the character's Unicode code point.
constexpr std::uint32_t kSysCharMessage = 0x0106;

struct TMessage {
  const void* Window = nullptr;  // the addressed window's Handle()
  std::uint32_t Msg = 0;
  std::uint32_t WParam = 0;
  std::int32_t LParam = 0;
};

// Key data of a key-down message: scan code in bits 16-23, the extended-key
// flag in bit 24, Alt held in bit 29.
inline int KeyScanCode(const TMessage& m) { return (static_cast<std::uint32_t>(m.LParam) >> 16) & 0xFF; }
inline bool KeyExtended(const TMessage& m) { return (static_cast<std::uint32_t>(m.LParam) >> 24) & 1; }
inline bool KeyAltDown(const TMessage& m) { return (static_cast<std::uint32_t>(m.LParam) >> 29) & 1; }

// A key-down message with a repeat count of 1.
TMessage MakeKeyDown(const void* window, int virtualKey, int scanCode, bool extended, bool altDown = false);

using TMessageHook = std::function<void(TMessage& msg, bool& handled)>;

// The installed hook (possibly empty).
const TMessageHook& AppMessageHook();
// Installs a hook and returns the one installed before.
TMessageHook SetAppMessageHook(TMessageHook hook);
// Called by the message loop for every message; true when the hook claimed it.
bool OfferToAppMessageHook(TMessage& msg);

}  // namespace corvane::platform
