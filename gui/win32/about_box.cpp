#include "gui/win32/about_box.h"

#include <algorithm>

#include "app/about_content.h"
#include "app/centring.h"
#include "gui/win32/form_font.h"
#include "gui/win32/object_window.h"
#include "platform/win32/message_pump.h"

namespace corvane::gui::win32 {
namespace {

constexpr char kClassName[] = "TAboutBox";

// Positions and sizes in pixels at 96 dots per inch; the labels and the icon
// sit on the panel, whose origin is kPanel's.
constexpr SIZE kClientSize{298, 213};
constexpr RECT kPanel{8, 8, 289, 169};
constexpr POINT kIcon{8, 8};
constexpr RECT kOKButton{111, 180, 186, 205};
constexpr int kIconSize = 32;

struct TLabel {
  const char* Text;
  int Left, Top, Width;
  bool WordWrap;
};
constexpr TLabel kLabels[] = {
    {kProductName, 88, 16, 85, false},
    {kVersionText, 104, 44, 53, false},
    {kCopyrightText, 80, 80, 115, false},
    {kCommentsText, 84, 104, 90, true},
};
constexpr int kLineHeight = 13;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace

TAboutBox::TAboutBox(HWND owner) {
  RegisterObjectClass(kClassName, WindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  font_ = CreateFormFont();
  RECT outer{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRectEx(&outer, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, "About", kStyle, 0, 0, outer.right - outer.left,
                  outer.bottom - outer.top, owner, nullptr, GetModuleHandleA(nullptr), this);
  CreateControls();
}

TAboutBox::~TAboutBox() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  DeleteObject(font_);
}

// A label grows to its text: a word-wrapped one downwards, keeping its
// designed width, the others to the right, on one line.
void TAboutBox::Label(const char* text, int left, int top, int width, bool wordWrap) {
  const HDC dc = GetDC(hwnd_);
  const HGDIOBJ old = SelectObject(dc, font_);
  RECT needed{0, 0, width, kLineHeight};
  DrawTextA(dc, text, -1, &needed, DT_CALCRECT | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  const RECT bounds{kPanel.left + left, kPanel.top + top,
                    kPanel.left + left + std::max(width, static_cast<int>(needed.right)),
                    kPanel.top + top + std::max(kLineHeight, static_cast<int>(needed.bottom))};
  CreateControl(hwnd_, font_, "STATIC", text, (wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOPREFIX, bounds);
}

void TAboutBox::CreateControls() {
  const RECT iconBounds{kPanel.left + kIcon.x, kPanel.top + kIcon.y, kPanel.left + kIcon.x + kIconSize,
                        kPanel.top + kIcon.y + kIconSize};
  const HWND icon = CreateControl(hwnd_, font_, "STATIC", "", SS_ICON | SS_REALSIZECONTROL, iconBounds);
  const HANDLE image =
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
  for (const TLabel& label : kLabels) Label(label.Text, label.Left, label.Top, label.Width, label.WordWrap);
  CreateControl(hwnd_, font_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, kOKButton, IDOK);
}

void TAboutBox::FormCreate() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const TOrigin at =
      CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), r.right - r.left, r.bottom - r.top);
  SetWindowPos(hwnd_, nullptr, at.Left, at.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAboutBox::ShowModal(HWND owner) {
  EnableWindow(owner, FALSE);
  platform::win32::SetLoopWindow(hwnd_, nullptr);
  shown_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(GetDlgItem(hwnd_, IDOK));
  MSG msg;
  while (shown_) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    platform::win32::PumpMessage(msg);
  }
  EnableWindow(owner, TRUE);
  ShowWindow(hwnd_, SW_HIDE);
  SetActiveWindow(owner);
}

LRESULT CALLBACK TAboutBox::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCDESTROY) {
    if (auto* self = reinterpret_cast<TAboutBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) self->shown_ = false;
  }
  return RouteToObject(hwnd, message, wparam, lparam, &TAboutBox::hwnd_, &TAboutBox::OnMessage);
}

// OK, Enter (the default button) and Escape (cancel) all end the display.
LRESULT TAboutBox::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) shown_ = false;
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_PAINT: {  // the panel: lowered outside, raised inside, which is the etched edge
      PAINTSTRUCT ps{};
      const HDC dc = BeginPaint(hwnd_, &ps);
      RECT panel = kPanel;
      DrawEdge(dc, &panel, EDGE_ETCHED, BF_RECT);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_CLOSE:
      shown_ = false;
      return 0;
    default:
      return DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

}  // namespace corvane::gui::win32
