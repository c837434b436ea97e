#include <gtest/gtest.h>

#include "tests/win32/view_rig.h"

using corvane::win32test::TWin32ViewRig;

namespace {

std::string ClipboardAs(HWND owner, UINT format) {
  std::string text;
  if (!OpenClipboard(owner)) return "(not open)";
  if (const HANDLE data = GetClipboardData(format)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Copied bytes are OEM text; pasted text is read as Unicode, so that
// characters beyond both 8-bit pages (and beyond 16 bits) arrive whole.
TEST(Win32Ports, ClipboardTextIsOemSoThatAccentedLettersSurvive) {
  TWin32ViewRig rig;
  rig.Clipboard.SetText("caf\x82");                        // e acute in code page 437
  EXPECT_EQ(ClipboardAs(rig.Hwnd(), CF_TEXT), "caf\xE9");  // the same letter in code page 1252
  EXPECT_EQ(rig.Clipboard.Text(), U"caf\u00E9");
  rig.Clipboard.SetText("\xDA\xC4");  // line drawing
  EXPECT_EQ(rig.Clipboard.Text(), U"\u250C\u2500");
  rig.Clipboard.SetText("");
  EXPECT_EQ(rig.Clipboard.Text(), U"");
}

// The Xterm screen's text goes as Unicode: characters of no 8-bit page and
// beyond 16 bits come back whole, and programs reading ANSI text get it
// converted.
TEST(Win32Ports, UnicodeClipboardTextComesBackWhole) {
  TWin32ViewRig rig;
  rig.Clipboard.SetUnicodeText(U"caf\u00E9\r\n\u4E2D\U0001F600");
  EXPECT_EQ(rig.Clipboard.Text(), U"caf\u00E9\r\n\u4E2D\U0001F600");
  EXPECT_EQ(ClipboardAs(rig.Hwnd(), CF_TEXT).substr(0, 6), "caf\xE9\r\n");
}

}  // namespace
