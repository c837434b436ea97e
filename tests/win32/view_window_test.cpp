#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_hook.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/message_pump.h"
#include "tests/win32/view_rig.h"

using namespace corvane;
using corvane::win32test::TWin32ViewRig;

namespace {

constexpr COLORREF kColour6 = RGB(0, 112, 216);  // cyan in the colour table
constexpr COLORREF kColour4 = RGB(0, 0, 168);

int RowTop(const TWin32ViewRig& rig, int row) { return 4 + row * rig.View->LineHeight() + rig.View->InternalLeading(); }

TEST(Win32ViewWindow, RunsAndMarginsArePaintedInThePaletteColours) {
  TWin32ViewRig rig;
  rig.View->WriteText("\x1b[2J\x1b[H\x1b[46mAB\x1b[44m");
  const int y = RowTop(rig, 0) + 1;
  EXPECT_EQ(rig.Pixel(2, y), kColour6);                                      // the first run paints the left margin
  EXPECT_EQ(rig.Pixel(6 + 5 * rig.View->CharWidth() + 1, y), RGB(0, 0, 0));  // blank cells
  EXPECT_EQ(rig.Pixel(200, 1), kColour4);  // the top band takes the current background
}

TEST(Win32ViewWindow, OnePaletteIsReusedAndDeletedWithTheWindow) {
  HPALETTE palette = nullptr;
  {
    TWin32ViewRig rig;
    rig.View->WriteText("x");
    UpdateWindow(rig.Hwnd());
    palette = rig.Window.Palette();
    ASSERT_NE(palette, nullptr);
    rig.Window.RepaintNow();
    EXPECT_EQ(rig.Window.Palette(), palette);
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
  }
  EXPECT_EQ(GetObjectType(palette), 0u);
}

TEST(Win32ViewWindow, TheFontIsFixedPitchOemAndItsCellIsTheCharacterAdvance) {
  TWin32ViewRig rig;
  const HDC dc = GetDC(nullptr);
  const HFONT font = platform::win32::CreateTerminalFont(rig.View->Font(), dc);
  LOGFONTA logFont{};
  GetObjectA(font, sizeof logFont, &logFont);
  EXPECT_EQ(logFont.lfCharSet, OEM_CHARSET);
  EXPECT_EQ(logFont.lfPitchAndFamily & 3, FIXED_PITCH);
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, "MMMM", 4, &size);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(rig.View->CharWidth() * 4, size.cx);
}

// The window's timer is the view's frame clock: it ticks from the program's
// loop (timer messages come when nothing is posted) until stopped, and a tick
// may stop it.
void RunLoopFor(DWORD ms, const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!done() && GetTickCount() - start < ms) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) platform::win32::PumpMessage(msg);
    Sleep(1);
  }
}

TEST(Win32ViewWindow, TheFrameClockTicksFromTheLoopUntilStopped) {
  TWin32ViewRig rig;
  int ticks = 0;
  rig.Window.Start([&] {
    if (++ticks == 3) rig.Window.Stop();
  });
  RunLoopFor(5000, [&] { return ticks >= 3; });
  EXPECT_EQ(ticks, 3);
  RunLoopFor(100, [] { return false; });
  EXPECT_EQ(ticks, 3);
}

// A horizontal line glyph crosses its whole cell in one pixel row at least.
TEST(Win32ViewWindow, CodePage437LineDrawingShowsAsLines) {
  TWin32ViewRig rig;
  rig.View->SetXlat(true);  // received bytes are cell codes as they are
  rig.View->WriteText("\x1b[2J\x1b[H\x1b[37;40m\xC4\xC4\xC4");
  UpdateWindow(rig.Hwnd());
  const int cw = rig.View->CharWidth();
  bool line = false;
  for (int y = RowTop(rig, 0); y < RowTop(rig, 1) && !line; ++y) {
    line = true;
    for (int x = 6 + cw; x < 6 + 2 * cw; ++x) line = line && rig.Pixel(x, y) != RGB(0, 0, 0);
  }
  EXPECT_TRUE(line);
}

// The client area's pixels as the screen shows them, after painting what waits.
std::vector<std::uint32_t> Picture(HWND hwnd) {
  UpdateWindow(hwnd);
  RECT r{};
  GetClientRect(hwnd, &r);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const HDC dc = GetDC(hwnd);
  const HDC memory = CreateCompatibleDC(dc);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first,
                                    first + static_cast<std::size_t>(r.right) * static_cast<std::size_t>(r.bottom));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd, dc);
  return pixels;
}

// Lines that scroll the whole screen move the pixels on the window; painted
// or still waiting to be, the picture ends as a full repaint paints it.
TEST(Win32ViewWindow, StreamedLinesLeaveThePictureOfAFullRepaint) {
  TWin32ViewRig rig;
  rig.View->SetEmulation(TEmulation::Xterm);
  rig.View->WriteText("\x1b[99H");
  for (int i = 0; i < 40; ++i) {
    rig.View->WriteText("\x1b[3" + std::to_string(i % 7 + 1) + "mline " + std::to_string(i) + "\r\n");
    if (i % 3 == 0) win32test::Pump();
  }
  const std::vector<std::uint32_t> streamed = Picture(rig.Hwnd());
  rig.Window.RepaintNow();
  const std::vector<std::uint32_t> repainted = Picture(rig.Hwnd());
  ASSERT_EQ(streamed.size(), repainted.size());
  EXPECT_EQ(std::mismatch(streamed.begin(), streamed.end(), repainted.begin()).first - streamed.begin(),
            static_cast<std::ptrdiff_t>(streamed.size()));
}

// A paint bracket's canvas sees the update region, not its bounding box:
// two bands invalidated far apart leave the rows between outside.
TEST(Win32ViewWindow, APaintBracketSeesOnlyTheInvalidatedBands) {
  TWin32ViewRig rig;
  UpdateWindow(rig.Hwnd());
  rig.Window.Invalidate({0, 20, 400, 40});
  rig.Window.Invalidate({100, 200, 200, 220});
  platform::TRect paint;
  const auto canvas = rig.Window.BeginPaint(paint);
  EXPECT_EQ(paint, (platform::TRect{0, 20, 400, 220}));
  EXPECT_TRUE(canvas->RectVisible({0, 25, 400, 30}));
  EXPECT_TRUE(canvas->RectVisible({0, 210, 400, 215}));
  EXPECT_FALSE(canvas->RectVisible({0, 60, 400, 180}));
  EXPECT_FALSE(canvas->RectVisible({200, 200, 400, 220}));
}

// The two pixels the view leaves at the right and bottom edges show the
// face colour, also where a shrink brought the edges over earlier text.
TEST(Win32ViewWindow, TheRimShowsTheFaceColourAfterAShrink) {
  TWin32ViewRig rig;
  rig.View->SetEmulation(TEmulation::Xterm);
  rig.View->SetRows(10);
  rig.View->SetCols(30);
  rig.View->WriteText("\x1b[7m" + std::string(300, 'x'));
  rig.Pixel(0, 0);
  SetWindowPos(rig.Hwnd(), nullptr, 0, 0, TWin32ViewRig::kWidth - 37, TWin32ViewRig::kHeight - 29,
               SWP_NOMOVE | SWP_NOZORDER);
  RECT client{};
  GetClientRect(rig.Hwnd(), &client);
  EXPECT_EQ(rig.Pixel(client.right - 1, client.bottom / 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(rig.Pixel(client.right / 2, client.bottom - 1), GetSysColor(COLOR_BTNFACE));
}

TEST(Win32ViewWindow, FocusCreatesTheCaretOnTheCursorAndInstallsTheHook) {
  TWin32ViewRig rig;
  rig.View->WriteText("\x1b[3;5H");
  SetFocus(rig.Hwnd());
  EXPECT_TRUE(rig.View->CaretCreated());
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_EQ(caret.x, 6 + 4 * rig.View->CharWidth());
  EXPECT_EQ(caret.y, 4 + 2 * rig.View->LineHeight());
  EXPECT_TRUE(platform::AppMessageHook());
  SetFocus(nullptr);
  EXPECT_FALSE(rig.View->CaretCreated());
  EXPECT_FALSE(platform::AppMessageHook());
}

TEST(Win32ViewWindow, MousePressTakesFocusAndCapturedPointsMayBeNegative) {
  TWin32ViewRig rig;
  std::vector<int> seen;
  auto record = [&](TCustomZuzeRI&, TMouseButton, TShiftState s, int x, int y) { seen.insert(seen.end(), {s, x, y}); };
  rig.View->OnMouseDown = record;
  rig.View->OnMouseUp = record;
  SetFocus(nullptr);
  SendMessageA(rig.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 12));
  EXPECT_EQ(GetFocus(), rig.Hwnd());
  SendMessageA(rig.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-5, -7));
  EXPECT_EQ(seen, (std::vector<int>{ssShift | ssLeft, 10, 12, 0, -5, -7}));
}

TEST(Win32ViewWindow, DragCapturesTheMouseAndConfinesThePointerInScreenPixels) {
  TWin32ViewRig rig;
  rig.Window.SetMouseCapture();
  EXPECT_EQ(GetCapture(), rig.Hwnd());
  rig.Window.ConfinePointer({0, 0, 100, 50});
  RECT clip{};
  GetClipCursor(&clip);
  const int left = TWin32ViewRig::kLeft, top = TWin32ViewRig::kTop;
  EXPECT_EQ((std::vector<LONG>{clip.left, clip.top, clip.right, clip.bottom}),
            (std::vector<LONG>{left, top, left + 100, top + 50}));
  rig.Window.ReleasePointer();
  rig.Window.ReleaseMouseCapture();
  GetClipCursor(&clip);
  EXPECT_GT(clip.right - clip.left, 100);
}

TEST(Win32ViewWindow, TheRubberBandInvertsTheWindowAndDrawingItAgainRemovesIt) {
  TWin32ViewRig rig;
  auto topEdge = [&] {
    std::vector<COLORREF> pixels;
    for (int x = 20; x < 80; ++x) pixels.push_back(rig.Pixel(x, 40));
    return pixels;
  };
  const std::vector<COLORREF> before = topEdge();
  rig.Window.WindowCanvas()->FocusRect({20, 40, 80, 90});
  EXPECT_NE(topEdge(), before);  // dotted: every other pixel inverted
  rig.Window.WindowCanvas()->FocusRect({20, 40, 80, 90});
  EXPECT_EQ(topEdge(), before);
  EXPECT_EQ(rig.Window.FontPixelHeight({"Terminal", 9}), 12);  // at 96 dots per inch
}

}  // namespace
