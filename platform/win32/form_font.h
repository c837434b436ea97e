#pragma once
// The forms' font as designed: "MS Sans Serif", 11 pixels high.
#include <windows.h>

namespace corvane::platform::win32 {

// The caller deletes the font.
inline HFONT CreateFormFont() {
  return CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

}  // namespace corvane::platform::win32
