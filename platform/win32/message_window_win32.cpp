// Hidden message-only windows and the thread's message loop.
#include <windows.h>

#include <vector>

#include "platform/message_loop.h"
#include "platform/win32/message_pump.h"

namespace corvane::platform {
namespace {

constexpr char kClassName[] = "CorvaneNotifyWindow";

LRESULT CALLBACK NotifyWindowProc(HWND window, UINT message, WPARAM word, LPARAM lparam) {
  const auto* impl = reinterpret_cast<const MessageHandler*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (impl != nullptr && message >= WM_USER) {
    // A copy: the handler may destroy its own window.
    const MessageHandler handler = *impl;
    InvokeHandler(handler, message, word, lparam);
    return 0;
  }
  return DefWindowProcA(window, message, word, lparam);
}

void RegisterNotifyClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
}

HWND ToHwnd(WindowId id) { return reinterpret_cast<HWND>(id); }

// Posting a window message is safe from any thread; a window that is gone
// refuses it.
class WindowInbox final : public LoopInbox {
 public:
  bool Post(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) override {
    return PostMessageA(ToHwnd(window), message, word, lparam) != 0;
  }
};

}  // namespace

struct MessageWindow::Impl {
  MessageHandler handler;
  HWND window = nullptr;
};

MessageWindow::MessageWindow(MessageHandler handler) : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  RegisterNotifyClass();
  impl_->window =
      CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(impl_->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&impl_->handler));
}

MessageWindow::~MessageWindow() {
  SetWindowLongPtrA(impl_->window, GWLP_USERDATA, 0);
  DestroyWindow(impl_->window);
}

WindowId MessageWindow::Id() const { return reinterpret_cast<WindowId>(impl_->window); }

void MessageWindow::Post(std::uint32_t message, MessageWord word, MessageLong lparam) {
  PostMessageA(impl_->window, message, word, lparam);
}

void MessageWindow::Purge(std::uint32_t message, MessageWord word) {
  std::vector<MSG> kept;
  MSG m;
  while (PeekMessageA(&m, impl_->window, message, message, PM_REMOVE)) {
    if (m.wParam != word) kept.push_back(m);
  }
  for (const MSG& k : kept) PostMessageA(k.hwnd, k.message, k.wParam, k.lParam);
}

bool PostToWindow(WindowId window, std::uint32_t message, MessageWord word, MessageLong lparam) {
  return PostMessageA(ToHwnd(window), message, word, lparam) != 0;
}

std::shared_ptr<LoopInbox> ThisThreadInbox() {
  static const std::shared_ptr<LoopInbox> inbox = std::make_shared<WindowInbox>();
  return inbox;
}

void ProcessMessages() { win32::PumpPending(); }

bool WaitAndProcessMessages(int timeout_ms) {
  if (win32::PumpPending()) return true;
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms), QS_ALLINPUT);
  return win32::PumpPending();
}

}  // namespace corvane::platform
