#include "gui/win32/main_form.h"

#include <commctrl.h>

#include "app/form_layout.h"
#include "gui/win32/about_box.h"
#include "gui/win32/form_font.h"
#include "gui/win32/object_window.h"
#include "platform/message_loop.h"
#include "platform/win32/message_pump.h"

namespace corvane::gui::win32 {
namespace {

constexpr char kClassName[] = "TForm1";

// Positions and sizes in pixels at 96 dots per inch.
constexpr SIZE kClientSize{kDesignedClientSize.Width, kDesignedClientSize.Height};
constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
constexpr RECT kAddress{8, 4, 117, 25};
constexpr int kAddressListHeight = 150;
constexpr int kAddressItemHeight = 13;
constexpr RECT kConnect{128, 4, 209, 29};
constexpr RECT kDisconnect{216, 4, 297, 29};
constexpr int kPanelRightEdges[3] = {100, 300, 500};

enum TCommand : int {
  idAddress = 100,
  idConnect,
  idDisconnect,
  idCapture,
  idExit,
  idCopy,
  idPaste,
  idAbout,
  idXterm,
  idBreak,
  idAreYouThere
};

struct THint {
  int Id;
  const char* Text;
};
constexpr THint kHints[] = {
    {idAddress, "Enter a valid TCP/IP address or select from the list"},
    {idConnect, "Establish a connection with the remote device"},
    {idDisconnect, "Terminate the connection"},
};
constexpr const char* kStatusHint = "Indicates current connection and capture status";

struct TMenuItem {
  int Id;  // 0: a separator
  const char* Caption;
};
constexpr TMenuItem kFileMenu[] = {{idCapture, "&Capture"}, {0, ""}, {idExit, "E&xit"}};
constexpr TMenuItem kEditMenu[] = {{idCopy, "&Copy\tCtrl+C"}, {idPaste, "&Paste\tCtrl+V"}};
constexpr TMenuItem kTerminalMenu[] = {
    {idXterm, "&Xterm emulation"}, {0, ""}, {idBreak, "Send &Break"}, {idAreYouThere, "&Are You There"}};
constexpr TMenuItem kHelpMenu[] = {{idAbout, "&About..."}};

// The handler each command runs.
struct TCommandHandler {
  int Id;
  void (TMainWindow::*Handler)();
};
constexpr TCommandHandler kCommandHandlers[] = {
    {idConnect, &TMainWindow::bConnectClick}, {idDisconnect, &TMainWindow::bDisconnectClick},
    {idCapture, &TMainWindow::CaptureClick},  {idExit, &TMainWindow::Exit1Click},
    {idCopy, &TMainWindow::Copy1Click},       {idPaste, &TMainWindow::Paste1Click},
    {idAbout, &TMainWindow::About1Click},     {idXterm, &TMainWindow::EmulationClick},
    {idBreak, &TMainWindow::SendBreakClick},  {idAreYouThere, &TMainWindow::AreYouThereClick},
};

ACCEL kAccelerators[] = {{FCONTROL | FVIRTKEY, 'C', idCopy}, {FCONTROL | FVIRTKEY, 'V', idPaste}};

template <std::size_t N>
HMENU Popup(const TMenuItem (&items)[N]) {
  const HMENU menu = CreatePopupMenu();
  for (const TMenuItem& item : items) {
    if (item.Id == 0)
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.Id), item.Caption);
  }
  return menu;
}

void AddTool(HWND tooltip, HWND owner, HWND control, const char* text) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<char*>(text);
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

SIZE SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

void Place(HWND child, const TRect& r) { MoveWindow(child, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, TRUE); }

RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The outer size of a window of kStyle with a menu and this client size.
SIZE OuterSize(TSize client) {
  RECT outer{0, 0, client.Width, client.Height};
  AdjustWindowRect(&outer, kStyle, TRUE);
  return SizeOf(outer);
}

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

TForm1::TForm1() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterObjectClass(kClassName, WindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
  font_ = CreateFormFont();
  CreateMenus();
  RECT outer{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRect(&outer, kStyle, TRUE);
  CreateWindowExA(0, kClassName, kProgramTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                  outer.bottom - outer.top, nullptr, menu_, GetModuleHandleA(nullptr), this);
  clipboard_ = std::make_unique<TWin32Clipboard>(hwnd_);
  messageBox_ = std::make_unique<TWin32MessageBox>(hwnd_);
  CreateTop();
  CreateTerminal();
  CreateStatusBar();
  CreateHints();
  LayOut(TSize{kClientSize.cx, kClientSize.cy});
  handlers_ = std::make_unique<TMainWindow>(*this, *tZuzeRI, *terminalWindow_, *clipboard_);
  UseLoop();
}

// The terminal goes before its window, which must not call into it meanwhile.
TForm1::~TForm1() {
  terminalWindow_->Attach(nullptr);
  handlers_.reset();
  tZuzeRI.reset();
  terminalWindow_.reset();
  SetLoopWindow(nullptr, nullptr);
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  DestroyAcceleratorTable(accelerators_);
  DeleteObject(font_);
}

// The top panel's controls are the window's own children, so that their
// notifications come here; the panel is the raised edge the window paints.
void TForm1::CreateTop() {
  RECT dropped = kAddress;
  dropped.bottom += kAddressListHeight;
  cbAddress_ = CreateControl(hwnd_, font_, "COMBOBOX", "",
                             CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, dropped, idAddress);
  SendMessageA(cbAddress_, CB_SETITEMHEIGHT, 0, kAddressItemHeight);
  bConnect_ = CreateControl(hwnd_, font_, "BUTTON", "Connect", BS_DEFPUSHBUTTON | WS_TABSTOP, kConnect, idConnect);
  bDisconnect_ =
      CreateControl(hwnd_, font_, "BUTTON", "&Disconnect", BS_PUSHBUTTON | WS_TABSTOP, kDisconnect, idDisconnect);
  EnableWindow(bDisconnect_, FALSE);
}

void TForm1::CreateTerminal() {
  terminalWindow_ = std::make_unique<TWin32ViewWindow>(
      hwnd_, LayoutForClient({kClientSize.cx, kClientSize.cy}).Terminal, WS_EX_CLIENTEDGE);
  TViewPorts ports;
  ports.Window = terminalWindow_.get();
  ports.FrameClock = terminalWindow_.get();
  ports.Keyboard = &keyboard_;
  ports.Clipboard = clipboard_.get();
  ports.MessageBox = messageBox_.get();
  tZuzeRI = std::make_unique<TTnZuzeRI>(std::move(ports));
  terminalWindow_->Attach(tZuzeRI.get());
  ApplyDesignedSettings(*tZuzeRI);
}

void TForm1::CreateStatusBar() {
  sbStatus_ = CreateControl(hwnd_, font_, STATUSCLASSNAMEA, "", CCS_NORESIZE | CCS_NOPARENTALIGN,
                            ToRECT(LayoutForClient({kClientSize.cx, kClientSize.cy}).StatusBar), 0);
  SendMessageA(sbStatus_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(kPanelRightEdges));
  SetPanelText(0, kDisconnectedText);
  SetPanelText(1, kCaptureOffText);
}

void TForm1::CreateMenus() {
  menu_ = CreateMenu();
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup(kFileMenu)), "&File");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup(kEditMenu)), "&Edit");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup(kTerminalMenu)), "&Terminal");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup(kHelpMenu)), "&Help");
  SetSessionCommandsEnabled(false);
  accelerators_ = CreateAcceleratorTableA(kAccelerators, static_cast<int>(std::size(kAccelerators)));
}

// The address box's edit field is a window of its own under the pointer.
void TForm1::CreateHints() {
  const HWND tooltip =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (const THint& hint : kHints) {
    const HWND control = GetDlgItem(hwnd_, hint.Id);
    AddTool(tooltip, hwnd_, control, hint.Text);
    if (const HWND inner = GetWindow(control, GW_CHILD)) AddTool(tooltip, hwnd_, inner, hint.Text);
  }
  AddTool(tooltip, hwnd_, sbStatus_, kStatusHint);
}

void TForm1::UseLoop() { SetLoopWindow(hwnd_, accelerators_); }

void TForm1::FormCreate(const TCommandLine& commandLine) {
  RunGuarded([&] { handlers_->FormCreate(commandLine); });
}

void TForm1::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return RouteToObject(hwnd, message, wparam, lparam, &TForm1::hwnd_, &TForm1::OnMessage);
}

LRESULT TForm1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case DM_GETDEFID:  // Enter outside a control that wants it presses Connect
      return MAKELRESULT(idConnect, DC_HASDEFID);
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      const HDC dc = BeginPaint(hwnd_, &ps);
      RECT panel = topPanel_;
      DrawEdge(dc, &panel, BDR_RAISEDINNER, BF_RECT);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED && terminalWindow_) OnResized(TSize{LOWORD(lparam), HIWORD(lparam)});
      return 0;
    case WM_GETMINMAXINFO: {
      const SIZE smallest = OuterSize(minClient_);
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {smallest.cx, smallest.cy};
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

void TForm1::OnCommand(int id) {
  for (const TCommandHandler& command : kCommandHandlers)
    if (command.Id == id) RunGuarded([&] { (handlers_.get()->*command.Handler)(); });
}

std::string TForm1::AddressText() { return WindowText(cbAddress_); }

void TForm1::SetAddressText(const std::string& text) { SetWindowTextA(cbAddress_, text.c_str()); }

std::vector<std::string> TForm1::AddressItems() {
  std::vector<std::string> items;
  const auto count = SendMessageA(cbAddress_, CB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
    std::string item(static_cast<std::size_t>(SendMessageA(cbAddress_, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
    item.resize(
        static_cast<std::size_t>(SendMessageA(cbAddress_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(item);
  }
  return items;
}

// The sorted list puts the item in its place; the edit text stays as it was.
void TForm1::AddAddressItem(const std::string& text) {
  SendMessageA(cbAddress_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TForm1::SetConnectEnabled(bool enabled) { EnableWindow(bConnect_, enabled); }
void TForm1::SetDisconnectEnabled(bool enabled) { EnableWindow(bDisconnect_, enabled); }

void TForm1::SetPanelText(int panel, const std::string& text) {
  SendMessageA(sbStatus_, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

void TForm1::SetEmulationChecked(bool checked) {
  CheckMenuItem(menu_, idXterm, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void TForm1::SetSessionCommandsEnabled(bool enabled) {
  for (const int id : {idBreak, idAreYouThere})
    EnableMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TForm1::SetTitle(const std::string& title) {
  std::wstring wide(title.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, title.data(), static_cast<int>(title.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(std::max(length, 0)));
  SetWindowTextW(hwnd_, wide.c_str());
}

void TForm1::SetCaptureChecked(bool checked) {
  CheckMenuItem(menu_, idCapture, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

int TForm1::OuterWidth() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}

int TForm1::OuterHeight() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}

int TForm1::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int TForm1::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void TForm1::MoveTo(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window grows by what the terminal's client area grows; its WM_SIZE
// lays the controls out.
void TForm1::SetTerminalClientSize(TSize size) {
  if (IsZoomed(hwnd_)) return;  // a maximised window keeps its size
  RECT terminal{};
  GetClientRect(terminalWindow_->Hwnd(), &terminal);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const SIZE window =
      OuterSize({client.right + size.Width - terminal.right, client.bottom + size.Height - terminal.bottom});
  SetWindowPos(hwnd_, nullptr, 0, 0, window.cx, window.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The terminal's edge lies outside its client area.
void TForm1::SetTerminalMinimumSize(TSize size) {
  RECT outer{}, inner{};
  GetWindowRect(terminalWindow_->Hwnd(), &outer);
  GetClientRect(terminalWindow_->Hwnd(), &inner);
  minClient_ =
      ClientForTerminal({size.Width + SizeOf(outer).cx - inner.right, size.Height + SizeOf(outer).cy - inner.bottom});
}

void TForm1::OnResized(TSize client) {
  LayOut(client);
  if (handlers_) RunGuarded([this] { handlers_->TerminalResized(); });
}

// The top panel is the raised edge the window paints; its controls keep
// their places.
void TForm1::LayOut(TSize client) {
  const TFormLayout layout = LayoutForClient(client);
  topPanel_ = ToRECT(layout.TopPanel);
  Place(terminalWindow_->Hwnd(), layout.Terminal);
  Place(sbStatus_, layout.StatusBar);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TForm1::RepaintNow() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

// The dialog's keys apply while it is shown; the window's own afterwards.
void TForm1::ShowAboutBox() {
  if (aboutBox_ == nullptr) return;
  aboutBox_->ShowModal(hwnd_);
  UseLoop();
}

void TForm1::CloseApplication() { DestroyWindow(hwnd_); }

}  // namespace corvane::gui::win32
