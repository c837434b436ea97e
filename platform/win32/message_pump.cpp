#include "platform/win32/message_pump.h"

#include <algorithm>
#include <string>

#include "platform/frame_clock.h"
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

// A system character message carries a code of the ANSI code page; the hook
// takes the character's code point.
std::uint32_t HookWParam(const MSG& msg) {
  if (msg.message != WM_SYSCHAR) return static_cast<std::uint32_t>(msg.wParam);
  const char code = static_cast<char>(msg.wParam & 0xFF);
  wchar_t wide = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &code, 1, &wide, 1) != 1) return 0xFFFD;
  return static_cast<char16_t>(wide);
}

// Key messages fit the hook's narrower fields; the hook sees the others only
// to pass them on.
TMessage ToHookMessage(const MSG& msg) {
  return {msg.hwnd, msg.message, HookWParam(msg), static_cast<std::int32_t>(msg.lParam)};
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
  if (loop.Accelerators != nullptr && TranslateAcceleratorA(loop.Window, loop.Accelerators, &msg)) return true;
  return IsDialogMessageA(loop.Window, &msg) != 0;
}

// Posted messages come out in the order they were posted: a marker posted
// first thing ends the messages that were pending before it. Calls may nest
// (a handler processing messages), so each has its own marker number and
// ends once its marker or a later one has come out.
constexpr UINT kMarkerMessage = WM_APP + 0x2F00;

HWND MarkerWindow() {
  static const HWND window =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  return window;
}

WPARAM& MarkersPosted() {
  static WPARAM count = 0;
  return count;
}

WPARAM& MarkersSeen() {
  static WPARAM count = 0;
  return count;
}

enum class TTaken { Nothing, Marker, Message };

// Takes one message (of the kinds and range asked for) and puts it through
// the loop's order. The quit message, which comes out whatever the range,
// is put back and counts as nothing.
TTaken TakeOne(UINT filter, UINT first = 0, UINT last = 0) {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, first, last, PM_REMOVE | filter)) return TTaken::Nothing;
  if (msg.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return TTaken::Nothing;
  }
  if (msg.hwnd == MarkerWindow() && msg.message == kMarkerMessage) {
    MarkersSeen() = std::max(MarkersSeen(), msg.wParam);
    return TTaken::Marker;
  }
  PumpMessage(msg);
  return TTaken::Message;
}

// The system hands out timer, keyboard, mouse and paint messages only while
// no posted message waits, and a socket that streams keeps one waiting: the
// window would neither show a frame nor take a key until the stream ended.
// So once a frame's time has passed, the loop takes what waits behind the
// posted messages: the frame clock's tick first, then input and paint.
void TakeHeldBack() {
  while (TakeOne(0, WM_TIMER, WM_TIMER) == TTaken::Message) {
  }
  while (TakeOne(PM_QS_INPUT | PM_QS_PAINT) == TTaken::Message) {
  }
}

}  // namespace

bool PumpPending() {
  const WPARAM marker = ++MarkersPosted();
  if (!PostMessageA(MarkerWindow(), kMarkerMessage, marker, 0)) return false;
  bool handled = false;
  for (TTaken taken = TTaken::Marker; taken != TTaken::Nothing && MarkersSeen() < marker;) {
    taken = TakeOne(0);
    handled = handled || taken == TTaken::Message;
  }
  // Keyboard, mouse and paint messages come out after the posted ones.
  while (TakeOne(PM_QS_INPUT | PM_QS_PAINT) == TTaken::Message) handled = true;
  return handled;
}

void SetLoopWindow(HWND window, HACCEL accelerators) { LoopWindow() = {window, accelerators}; }

void PumpMessage(MSG& msg) {
  if (ClaimedByHook(msg) || TakenByMainWindow(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int RunMessageLoop() {
  MSG msg;
  DWORD served = GetTickCount();
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    PumpMessage(msg);
    if (GetTickCount() - served < static_cast<DWORD>(kFrameMs)) continue;
    TakeHeldBack();
    served = GetTickCount();
  }
  return static_cast<int>(msg.wParam);
}

void ReportErrorsInMessageBox(const char* caption) {
  const std::string title = caption;
  SetHandlerExceptionSink([title](const std::string& message) {
    MessageBoxA(GetActiveWindow(), message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  });
}

}  // namespace corvane::platform::win32
