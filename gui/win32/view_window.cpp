#include "gui/win32/view_window.h"

#include "gui/win32/object_window.h"
#include "platform/message_loop.h"
#include "platform/win32/gdi_canvas.h"

namespace corvane::gui::win32 {
namespace {

constexpr char kClassName[] = "CorvaneTerminalView";
constexpr UINT_PTR kFrameTimer = 1;

// Mouse coordinates are signed: a captured drag reports points left of or
// above the window.
int MouseX(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
int MouseY(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

TShiftState MouseShift(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  return shift;
}

// A character message of this ANSI window as the character it stands for;
// the view decides the byte it sends.
char32_t TypedChar(WPARAM wparam) {
  const char code = static_cast<char>(wparam & 0xFF);
  wchar_t wide = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &code, 1, &wide, 1) != 1) return U'\uFFFD';
  return static_cast<char16_t>(wide);
}

TMouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return TMouseButton::mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return TMouseButton::mbMiddle;
    default:
      return TMouseButton::mbLeft;
  }
}

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
TRect FromRect(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

}  // namespace

TWin32ViewWindow::TWin32ViewWindow(HWND parent, const TRect& bounds, DWORD exStyle) {
  // A new size paints it all: the margins and the rim move with the edges.
  RegisterObjectClass(kClassName, WindowProc, nullptr, nullptr, CS_HREDRAW | CS_VREDRAW);
  const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS : WS_POPUP | WS_VISIBLE;
  CreateWindowExA(exStyle, kClassName, "", style, bounds.Left, bounds.Top, bounds.Right - bounds.Left,
                  bounds.Bottom - bounds.Top, parent, nullptr, GetModuleHandleA(nullptr), this);
}

TWin32ViewWindow::~TWin32ViewWindow() {
  view_ = nullptr;
  tick_ = nullptr;
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void TWin32ViewWindow::Attach(TCustomZuzeRI* view) {
  view_ = view;
  if (view_ != nullptr && GetFocus() == hwnd_) RunGuarded([this] { view_->FocusGained(); });
}

LRESULT CALLBACK TWin32ViewWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return RouteToObject(hwnd, message, wparam, lparam, &TWin32ViewWindow::hwnd_, &TWin32ViewWindow::OnMessage);
}

LRESULT TWin32ViewWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted by WM_PAINT; erasing would only flicker
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_PAINT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_TIMER:
      if (wparam != kFrameTimer || !tick_) return DefWindowProcA(hwnd_, message, wparam, lparam);
      RunGuarded(std::function<void()>(tick_));  // the tick may stop the clock
      return 0;
    default:
      if (view_ != nullptr && ToView(message, wparam, lparam)) return 0;
      return DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

// The messages the view handles itself; false for the others.
bool TWin32ViewWindow::ToView(UINT message, WPARAM wparam, LPARAM lparam) {
  TCustomZuzeRI& view = *view_;
  const int x = MouseX(lparam);
  const int y = MouseY(lparam);
  switch (message) {
    case WM_SETFOCUS:
      RunGuarded([&] { view.FocusGained(); });
      return true;
    case WM_KILLFOCUS:
      RunGuarded([&] { view.FocusLost(); });
      return true;
    case WM_PALETTECHANGED:
      view.PaletteNotice();
      return true;
    case WM_CHAR:
      RunGuarded([&] { view.CharTyped(TypedChar(wparam)); });
      return true;
    case WM_LBUTTONDOWN:
      RunGuarded([&] { view.LeftButtonDown(MouseShift(wparam), x, y); });
      return true;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      RunGuarded([&] { view.ButtonDown(ButtonOf(message), MouseShift(wparam), x, y); });
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      RunGuarded([&] { view.ButtonUp(ButtonOf(message), MouseShift(wparam), x, y); });
      return true;
    case WM_MOUSEMOVE:
      RunGuarded([&] { view.MouseMoved(MouseShift(wparam), x, y); });
      return true;
    case WM_MOUSEWHEEL:
      RunGuarded([&] { view.WheelTurned(GET_WHEEL_DELTA_WPARAM(wparam)); });
      return true;
    default:
      return false;
  }
}

// A paint that raised leaves nothing to repaint, so that the error is
// reported once and not on every following paint message.
void TWin32ViewWindow::Paint(HDC given) {
  if (view_ == nullptr) {
    ValidateRect(hwnd_, nullptr);
    return;
  }
  const bool painted = RunGuarded([&] {
    if (given == nullptr) {
      view_->PaintRequest();
      return;
    }
    TGdiCanvas canvas(given, objects_);
    view_->PaintRequest(&canvas);
  });
  if (!painted) ValidateRect(hwnd_, nullptr);
}

TRect TWin32ViewWindow::ClientRect() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return FromRect(r);
}

void TWin32ViewWindow::Invalidate(const TRect& rect) {
  const RECT r = ToRect(rect);
  InvalidateRect(hwnd_, &r, FALSE);
}

// The rows uncovered inside the area are invalidated; what waited to be
// painted goes with its pixels and is painted again where it went. Rows
// below the client area have no pixels to bring up, so only its visible
// part moves and the rows that come into view are uncovered ones.
void TWin32ViewWindow::ScrollPixels(const TRect& rect, int dy) {
  RECT r = ToRect(rect);
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (!IntersectRect(&r, &r, &client)) return;
  HRGN stale = CreateRectRgn(0, 0, 0, 0);
  const bool waiting = stale != nullptr && GetUpdateRgn(hwnd_, stale, FALSE) > NULLREGION;
  ScrollWindowEx(hwnd_, 0, dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
  if (waiting) {
    OffsetRgn(stale, 0, dy);
    InvalidateRgn(hwnd_, stale, FALSE);
  }
  if (stale != nullptr) DeleteObject(stale);
}

bool TWin32ViewWindow::UpdateRect(TRect& rect) {
  RECT r{};
  if (!GetUpdateRect(hwnd_, &r, FALSE)) return false;
  rect = FromRect(r);
  return true;
}

void TWin32ViewWindow::RepaintNow() {
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

std::unique_ptr<TCanvasPort> TWin32ViewWindow::BeginPaint(TRect& paintRect) {
  PAINTSTRUCT ps{};
  const HDC dc = ::BeginPaint(hwnd_, &ps);
  PaintRim(dc);
  paintRect = FromRect(ps.rcPaint);
  const HWND hwnd = hwnd_;
  return std::make_unique<TGdiCanvas>(dc, objects_, [hwnd, ps](HDC) { EndPaint(hwnd, &ps); });
}

// The view paints up to two pixels short of the right and bottom edges; the
// window's own face colour shows there, as beside the other controls.
void TWin32ViewWindow::PaintRim(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const RECT right{client.right - 2, 0, client.right, client.bottom};
  const RECT bottom{0, client.bottom - 2, client.right, client.bottom};
  FillRect(dc, &right, GetSysColorBrush(COLOR_BTNFACE));
  FillRect(dc, &bottom, GetSysColorBrush(COLOR_BTNFACE));
}

std::unique_ptr<TCanvasPort> TWin32ViewWindow::ScreenCanvas() {
  return std::make_unique<TGdiCanvas>(GetDC(nullptr), objects_, [](HDC dc) { ReleaseDC(nullptr, dc); });
}

std::unique_ptr<TCanvasPort> TWin32ViewWindow::WindowCanvas() {
  const HWND hwnd = hwnd_;
  return std::make_unique<TGdiCanvas>(GetDC(hwnd), objects_, [hwnd](HDC dc) { ReleaseDC(hwnd, dc); });
}

int TWin32ViewWindow::FontPixelHeight(const TFont& font) {
  const HDC dc = GetDC(nullptr);
  const int height = PointsToPixels(font.Size, dc);
  ReleaseDC(nullptr, dc);
  return height;
}

void TWin32ViewWindow::SetFocus() { ::SetFocus(hwnd_); }
void TWin32ViewWindow::SetMouseCapture() { SetCapture(hwnd_); }
void TWin32ViewWindow::ReleaseMouseCapture() { ReleaseCapture(); }

void TWin32ViewWindow::ConfinePointer(const TRect& rect) {
  RECT r = ToRect(rect);
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  ClipCursor(&r);
}

void TWin32ViewWindow::ReleasePointer() { ClipCursor(nullptr); }

void TWin32ViewWindow::CreateCaret(int width, int height) { ::CreateCaret(hwnd_, nullptr, width, height); }
void TWin32ViewWindow::DestroyCaret() { ::DestroyCaret(); }
void TWin32ViewWindow::ShowCaret() { ::ShowCaret(hwnd_); }
void TWin32ViewWindow::HideCaret() { ::HideCaret(hwnd_); }
void TWin32ViewWindow::MoveCaret(int x, int y) { SetCaretPos(x, y); }

void TWin32ViewWindow::Start(std::function<void()> tick) {
  const bool running = static_cast<bool>(tick_);
  tick_ = std::move(tick);
  if (!running) SetTimer(hwnd_, kFrameTimer, kFrameMs, nullptr);
}

void TWin32ViewWindow::Stop() {
  if (!tick_) return;
  tick_ = nullptr;
  KillTimer(hwnd_, kFrameTimer);
}

}  // namespace corvane::gui::win32
