// The Windows main window on real windows: its layout, the sorted address
// list, the Capture item and the Ctrl+C shortcut, which is the menu's only
// while the terminal does not have the focus.
#include "gui/win32/main_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "gui/win32/about_box.h"
#include "platform/message_loop.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/message_pump.h"
#include "tests/telnet/telnet_peer.h"
#include "tests/win32/view_rig.h"

namespace {

using corvane::gui::win32::TForm1;

// How many pixel rows of `area` hold a pixel that is not black.
template <typename PixelOf>
int InkRows(const RECT& area, PixelOf pixel) {
  int rows = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    bool ink = false;
    for (int x = area.left; x < area.right && !ink; ++x) ink = pixel(x, y) != RGB(0, 0, 0);
    rows += ink ? 1 : 0;
  }
  return rows;
}

// The same, for one glyph drawn in white by the canvas with room all around.
int FreeInkRows(const corvane::platform::TFont& font, char code) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 80, 80);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  corvane::platform::win32::TGdiObjects objects;
  {
    corvane::platform::win32::TGdiCanvas canvas(dc, objects, nullptr);
    canvas.SelectFont(font);
    canvas.TextRun(20, 20, {0, 0, 80, 80}, std::string(1, code), {255, 255, 255}, {0, 0, 0});
  }
  const int rows = InkRows({0, 0, 80, 80}, [dc](int x, int y) { return GetPixel(dc, x, y); });
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return rows;
}

class Win32MainForm : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = corvane::platform::SetHandlerExceptionSink([this](const std::string& m) { errors.push_back(m); });
    ShowWindow(form.Hwnd(), SW_SHOW);
    corvane::win32test::Pump();
  }
  void TearDown() override { corvane::platform::SetHandlerExceptionSink(std::move(previous_)); }

  HWND Find(const char* className) { return FindWindowExA(form.Hwnd(), nullptr, className, nullptr); }

  std::string Panel(int panel) {
    char text[128] = {};
    SendMessageA(Find(STATUSCLASSNAMEA), SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
    return text;
  }

  // A key-down with Ctrl held, through the program's loop.
  void CtrlKey(HWND target, WPARAM key) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
    corvane::platform::win32::PumpMessage(msg);
    corvane::win32test::Pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }

  HWND Terminal() { return FindWindowExA(form.Hwnd(), nullptr, "CorvaneTerminalView", nullptr); }

  // Paints what is pending, then reads a pixel of the terminal's client area.
  COLORREF TerminalPixel(int x, int y) {
    UpdateWindow(Terminal());
    const HDC dc = GetDC(Terminal());
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(Terminal(), dc);
    return colour;
  }

  TForm1 form;
  std::vector<std::string> errors;

 private:
  corvane::platform::HandlerExceptionSink previous_;
};

TEST_F(Win32MainForm, StartsDisconnectedInItsDesignedLayout) {
  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, 653);
  EXPECT_EQ(client.bottom, 380);
  char title[64] = {};
  GetWindowTextA(form.Hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "Corvane Telnet");
  EXPECT_EQ(Panel(0), "Disconnected");
  EXPECT_EQ(Panel(1), "Capture OFF");
  EXPECT_EQ(Panel(2), "");
  EXPECT_EQ(SendMessageA(form.Hwnd(), DM_GETDEFID, 0, 0) & 0xFFFF,
            GetDlgCtrlID(FindWindowExA(form.Hwnd(), nullptr, "BUTTON", "Connect")));
  EXPECT_FALSE(IsWindowEnabled(FindWindowExA(form.Hwnd(), nullptr, "BUTTON", "&Disconnect")));
}

TEST_F(Win32MainForm, TheAddressListSortsWithoutRegardToCaseAndKeepsTheEditText) {
  form.SetAddressText("typed");
  for (const char* item : {"zeta", "Alpha", "beta"}) form.AddAddressItem(item);
  EXPECT_EQ(form.AddressItems(), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
  EXPECT_EQ(form.AddressText(), "typed");
}

TEST_F(Win32MainForm, CaptureTogglesItsCheckMarkAndPanel) {
  const HMENU file = GetSubMenu(GetMenu(form.Hwnd()), 0);
  const auto capture = static_cast<WPARAM>(GetMenuItemID(file, 0));
  SendMessageA(form.Hwnd(), WM_COMMAND, capture, 0);
  EXPECT_EQ(Panel(1), "Capture ON --> ZUZERI.LOG");
  EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
  SendMessageA(form.Hwnd(), WM_COMMAND, capture, 0);
  EXPECT_EQ(Panel(1), "Capture OFF");
  EXPECT_FALSE(GetMenuState(file, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(errors.empty());
}

// Copy with no selection empties the clipboard; the terminal keeps the key.
TEST_F(Win32MainForm, CtrlCCopiesFromTheAddressBoxButNotFromTheTerminal) {
  corvane::platform::win32::TWin32Clipboard clipboard(form.Hwnd());
  clipboard.SetText("before");
  const HWND terminal = FindWindowExA(form.Hwnd(), nullptr, "CorvaneTerminalView", nullptr);
  SetFocus(terminal);
  CtrlKey(terminal, 'C');
  EXPECT_EQ(clipboard.Text(), U"before");
  const HWND edit = GetWindow(Find("COMBOBOX"), GW_CHILD);
  SetFocus(edit);
  CtrlKey(edit, 'C');
  EXPECT_EQ(clipboard.Text(), U"");
}

// Enter in the address box presses the default button, Connect.
TEST_F(Win32MainForm, EnterInTheAddressBoxConnectsAndTheAddressJoinsTheList) {
  corvane::tntest::ScriptedServer server;
  form.Terminal().Port = server.Port();
  form.SetAddressText("127.0.0.1");
  const HWND edit = GetWindow(Find("COMBOBOX"), GW_CHILD);
  SetFocus(edit);
  MSG enter{edit, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  corvane::platform::win32::PumpMessage(enter);
  ASSERT_TRUE(server.Accept());
  EXPECT_TRUE(corvane::tntest::PumpUntil([&] { return Panel(0) == "Connected"; }));
  EXPECT_EQ(form.AddressItems(), std::vector<std::string>{"127.0.0.1"});
  EXPECT_FALSE(IsWindowEnabled(FindWindowExA(form.Hwnd(), nullptr, "BUTTON", "Connect")));
  EXPECT_TRUE(errors.empty());
}

// Pasted text goes as code page 1252, as typed text does, whatever the
// clipboard's OEM form would say.
TEST_F(Win32MainForm, PasteSendsTheClipboardTextAsCodePage1252) {
  corvane::tntest::ScriptedServer server;
  form.Terminal().Port = server.Port();
  form.Terminal().SetXlat(false);  // the default settings
  form.SetAddressText("127.0.0.1");
  const HWND connect = FindWindowExA(form.Hwnd(), nullptr, "BUTTON", "Connect");
  SendMessageA(form.Hwnd(), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(connect)), reinterpret_cast<LPARAM>(connect));
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(corvane::tntest::PumpUntil([&] { return Panel(0) == "Connected"; }));
  const wchar_t text[] = L"caf\u00E9 \u2500\U0001F600\n";  // the face is a surrogate pair
  const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  std::memcpy(GlobalLock(data), text, sizeof text);
  GlobalUnlock(data);
  ASSERT_TRUE(OpenClipboard(form.Hwnd()));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
  const HMENU edit = GetSubMenu(GetMenu(form.Hwnd()), 1);
  SendMessageA(form.Hwnd(), WM_COMMAND, static_cast<WPARAM>(GetMenuItemID(edit, 1)), 0);
  EXPECT_EQ(server.TakeReplies(9), "caf\xE9 ??\r\n");
  EXPECT_TRUE(errors.empty());
}

// OK and Escape each end the modal display; a second showing has the same
// labels and gives the main window back its input.
TEST_F(Win32MainForm, TheAboutBoxShowsModallyAsOftenAsAsked) {
  corvane::gui::win32::TAboutBox about(form.Hwnd());
  for (const WPARAM ending : {IDOK, IDCANCEL}) {
    PostMessageA(about.Hwnd(), WM_COMMAND, ending, 0);
    about.ShowModal(form.Hwnd());
    EXPECT_TRUE(IsWindowEnabled(form.Hwnd()));
    EXPECT_FALSE(IsWindowVisible(about.Hwnd()));
    for (const char* label : {"Corvane Telnet", "Version 0.2", "Pre-release version"})
      EXPECT_NE(FindWindowExA(about.Hwnd(), nullptr, "STATIC", label), nullptr) << label;
  }
}

// The face that stands in for the raster terminal font is taller than the
// designed 12-pixel line: the dot of i, the top bar of [ and the crossbar of
// T must not be clipped away.
TEST_F(Win32MainForm, EveryGlyphIsDrawnWholeInItsCell) {
  form.FormCreate({});
  const corvane::TTnZuzeRI& view = form.Terminal();
  form.Terminal().WriteText("\x1b[2J\x1b[H\x1b[1;37mi[T");
  UpdateWindow(Terminal());
  const std::string glyphs = "i[T";
  for (int col = 0; col < 3; ++col) {
    const int left = 6 + col * view.CharWidth(), top = 4 + view.InternalLeading();
    const RECT cell{left, top, left + view.CharWidth(), top + view.LineHeight()};
    EXPECT_EQ(InkRows(cell, [this](int x, int y) { return TerminalPixel(x, y); }),
              FreeInkRows(view.Font(), glyphs[static_cast<std::size_t>(col)]))
        << glyphs[static_cast<std::size_t>(col)];
  }
}

// Rows=30 and Cols=100 from the INI file: the last cell is drawn and the
// status bar stays below the terminal, inside the window.
TEST_F(Win32MainForm, TheWindowShowsEveryRowAndColumnOfTheSettings) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string ini = std::string(folder) + "cv-form-grid.ini";
  std::ofstream(ini) << "[127.0.0.1]\r\nRows=30\r\nCols=100\r\n";
  form.Terminal().IniFilename = ini;
  form.FormCreate({});
  std::remove(ini.c_str());
  const corvane::TTnZuzeRI& view = form.Terminal();
  ASSERT_EQ(view.Rows(), 30);
  ASSERT_EQ(view.Cols(), 100);
  form.Terminal().WriteText("\x1b[30;100H\x1b[7m ");
  const int x = 6 + 99 * view.CharWidth() + view.CharWidth() / 2,
            y = 4 + 29 * view.LineHeight() + view.LineHeight() / 2;
  EXPECT_EQ(TerminalPixel(x, y), RGB(200, 200, 200));
  RECT terminal{}, status{}, client{};
  GetWindowRect(Terminal(), &terminal);
  GetWindowRect(Find(STATUSCLASSNAMEA), &status);
  EXPECT_GE(status.top, terminal.bottom);
  GetClientRect(form.Hwnd(), &client);
  MapWindowPoints(form.Hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_LE(status.bottom, client.bottom);
  EXPECT_LE(status.right, client.right);
}

// A window procedure in front of the form's that keeps the menu from opening
// and counts each attempt.
int menuOpenings = 0;
WNDPROC formProc = nullptr;
LRESULT CALLBACK CountMenuOpenings(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_KEYMENU) {
    ++menuOpenings;
    return 0;
  }
  return CallWindowProcA(formProc, hwnd, message, wparam, lparam);
}

// The VT100 table has no F10 row: the key still belongs to the terminal.
TEST_F(Win32MainForm, F10InTheTerminalNeverOpensTheMenu) {
  formProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(form.Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountMenuOpenings)));
  menuOpenings = 0;
  form.Terminal().FKeys = 1;
  SetFocus(Terminal());
  for (const UINT message : {WM_SYSKEYDOWN, WM_SYSKEYUP}) {
    MSG msg{Terminal(), message, VK_F10, static_cast<LPARAM>(1 | (0x44 << 16)), 0, {}};
    corvane::platform::win32::PumpMessage(msg);
    corvane::win32test::Pump();
  }
  SetWindowLongPtrA(form.Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProc));
  EXPECT_EQ(menuOpenings, 0);
  EXPECT_EQ(GetFocus(), Terminal());
}

// Send Break and Are You There, the Terminal menu's third and fourth items,
// are offered while connected and send their commands.
TEST_F(Win32MainForm, TheTerminalMenuSendsBreakAndAreYouThereWhileConnected) {
  const HMENU terminalMenu = GetSubMenu(GetMenu(form.Hwnd()), 2);
  const auto offered = [&](UINT position) {
    return (GetMenuState(terminalMenu, position, MF_BYPOSITION) & MF_GRAYED) == 0;
  };
  EXPECT_FALSE(offered(2) || offered(3));
  corvane::tntest::ScriptedServer server;
  form.SetAddressText("127.0.0.1:" + server.Port());
  SendMessageA(form.Hwnd(), WM_COMMAND,
               static_cast<WPARAM>(GetDlgCtrlID(FindWindowExA(form.Hwnd(), nullptr, "BUTTON", "Connect"))), 0);
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(corvane::tntest::PumpUntil([&] { return Panel(0) == "Connected"; }));
  EXPECT_TRUE(offered(2) && offered(3));
  for (const UINT position : {2u, 3u})
    SendMessageA(form.Hwnd(), WM_COMMAND, GetMenuItemID(terminalMenu, static_cast<int>(position)), 0);
  EXPECT_EQ(server.TakeReplies(4), corvane::tntest::B({255, 243, 255, 246}));
  EXPECT_TRUE(errors.empty());
}

// Resized as a user drags it: the Xterm grid follows in whole cells; the
// smallest classic window still shows the whole grid.
TEST_F(Win32MainForm, TheXtermGridFollowsTheWindowAndTheClassicGridSetsItsSmallestSize) {
  const corvane::TTnZuzeRI& view = form.Terminal();
  corvane::TCommandLine line;
  line.Emulation = corvane::TEmulation::Xterm;
  form.FormCreate(line);
  const int rows = view.Rows(), cols = view.Cols();
  RECT outer{};
  GetWindowRect(form.Hwnd(), &outer);
  SetWindowPos(form.Hwnd(), nullptr, 0, 0, outer.right - outer.left + 10 * view.CharWidth(),
               outer.bottom - outer.top + 5 * view.LineHeight(), SWP_NOMOVE | SWP_NOZORDER);
  corvane::win32test::Pump();
  EXPECT_EQ(view.Rows() * 1000 + view.Cols(), (rows + 5) * 1000 + cols + 10);
  form.FormCreate({});
  ASSERT_EQ(view.Emulation(), corvane::TEmulation::Classic);
  MINMAXINFO limits{};
  SendMessageA(form.Hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  SetWindowPos(form.Hwnd(), nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, SWP_NOMOVE | SWP_NOZORDER);
  corvane::win32test::Pump();
  RECT terminal{};
  GetClientRect(Terminal(), &terminal);
  EXPECT_GE(terminal.right, view.GridClientSize().Width);
  EXPECT_EQ(terminal.bottom, view.GridClientSize().Height);
  EXPECT_EQ(view.Rows() * 1000 + view.Cols(), 25080);
}

}  // namespace
