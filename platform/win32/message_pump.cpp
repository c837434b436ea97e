#include "platform/win32/message_pump.h"

#include <string>

#include "platform/message_hook.h"
#include "platform/message_loop.h"

namespace corvane::platform::win32 {
namespace {

struct TLoopWindow {
  HWND Window = nullptr;
  HACCEL Accelerators = nullptr;
};

TLoopWindow& LoopWindow() {
  static TLoopWindow loop;
  return loop;
}

// Key messages fit the hook's narrower fields; the hook sees the others only
// to pass them on.
TMessage ToHookMessage(const MSG& msg) {
  return {msg.hwnd, msg.message, static_cast<std::uint32_t>(msg.wParam),
          static_cast<std::int32_t>(msg.lParam)};
}

bool ClaimedByHook(const MSG& msg) {
  bool claimed = true;
  RunGuarded([&] {
    TMessage hooked = ToHookMessage(msg);
    claimed = OfferToAppMessageHook(hooked);
  });
  return claimed;
}

bool TakenByMainWindow(MSG& msg) {
  const TLoopWindow& loop = LoopWindow();
  if (loop.Window == nullptr) return false;
  if (loop.Accelerators != nullptr && TranslateAcceleratorA(loop.Window, loop.Accelerators, &msg))
    return true;
  return IsDialogMessageA(loop.Window, &msg) != 0;
}

}  // namespace

void SetLoopWindow(HWND window, HACCEL accelerators) { LoopWindow() = {window, accelerators}; }

void PumpMessage(MSG& msg) {
  if (ClaimedByHook(msg) || TakenByMainWindow(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) PumpMessage(msg);
  return static_cast<int>(msg.wParam);
}

void ReportErrorsInMessageBox(const char* caption) {
  const std::string title = caption;
  SetHandlerExceptionSink([title](const std::string& message) {
    MessageBoxA(GetActiveWindow(), message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  });
}

}  // namespace corvane::platform::win32
