#pragma once
// The forms' font as designed: "MS Sans Serif", 11 pixels high, and the
// forms' controls, which use it.
#include <windows.h>

namespace corvane::gui::win32 {

// The caller deletes the font.
inline HFONT CreateFormFont() {
  return CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

// A visible child control of `parent` at `bounds` in its client pixels.
inline HWND CreateControl(HWND parent, HFONT font, const char* className, const char* text, DWORD style,
                          const RECT& bounds, int id = 0) {
  const HWND control =
      CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, bounds.left, bounds.top,
                      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

}  // namespace corvane::gui::win32
