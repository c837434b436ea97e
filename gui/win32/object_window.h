#pragma once
// Windows whose messages go to one C++ object each: the object comes as the
// creation parameter with WM_NCCREATE and is let go at WM_NCDESTROY, when its
// handle member becomes null. Messages before the object is known, and the
// last one, take the default path.
#include <windows.h>

namespace corvane::gui::win32 {

// Registers the window class `name` with the arrow cursor on first use.
inline void RegisterObjectClass(const char* name, WNDPROC proc, HBRUSH background = nullptr, HICON icon = nullptr,
                                UINT style = 0) {
  WNDCLASSA wc{};
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoA(instance, name, &wc)) return;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

template <class T>
LRESULT RouteToObject(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, HWND T::*handle,
                      LRESULT (T::*onMessage)(UINT, WPARAM, LPARAM)) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    created->*handle = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->*handle = nullptr;
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  return (self->*onMessage)(message, wparam, lparam);
}

}  // namespace corvane::gui::win32
