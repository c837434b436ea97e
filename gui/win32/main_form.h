#pragma once
// TForm1 on Windows: the address box with its history, Connect and
// Disconnect, the terminal, the three-panel status bar, the menus and the
// tooltips, laid out in pixels as designed and stretched with the window.
// What the controls do is TMainWindow's.
#include <windows.h>

#include <memory>

#include "app/form_layout.h"
#include "app/main_window.h"
#include "gui/win32/view_window.h"
#include "platform/win32/view_ports.h"

namespace corvane::gui::win32 {

// The program stands on the ports and their Win32 adapters.
using namespace platform;
using namespace platform::win32;

class TAboutBox;

class TForm1 final : public TMainWindowControls {
 public:
  TForm1();
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The About box is created after the main window, as the program starts.
  void SetAboutBox(TAboutBox* aboutBox) { aboutBox_ = aboutBox; }

  // Runs the start-up handler; what it raises is reported and the window
  // is shown all the same.
  void FormCreate(const TCommandLine& commandLine);
  void Show();

  HWND Hwnd() const { return hwnd_; }
  TTnZuzeRI& Terminal() { return *tZuzeRI; }

  std::string AddressText() override;
  void SetAddressText(const std::string& text) override;
  std::vector<std::string> AddressItems() override;
  void AddAddressItem(const std::string& text) override;
  void SetConnectEnabled(bool enabled) override;
  void SetDisconnectEnabled(bool enabled) override;
  void SetPanelText(int panel, const std::string& text) override;
  void SetCaptureChecked(bool checked) override;
  void SetEmulationChecked(bool checked) override;
  void SetSessionCommandsEnabled(bool enabled) override;
  void SetTitle(const std::string& title) override;
  int OuterWidth() override;
  int OuterHeight() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  void MoveTo(int left, int top) override;
  void SetTerminalClientSize(TSize size) override;
  void SetTerminalMinimumSize(TSize size) override;
  void RepaintNow() override;
  void ShowAboutBox() override;
  void CloseApplication() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id);
  void CreateTop();
  void CreateTerminal();
  void CreateStatusBar();
  void CreateMenus();
  void CreateHints();
  void UseLoop();
  void OnResized(TSize client);
  void LayOut(TSize client);

  HWND hwnd_ = nullptr;
  HWND cbAddress_ = nullptr;
  HWND bConnect_ = nullptr;
  HWND bDisconnect_ = nullptr;
  HWND sbStatus_ = nullptr;
  RECT topPanel_{};
  TSize minClient_{kMinClientWidth, 0};
  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT font_ = nullptr;
  TAboutBox* aboutBox_ = nullptr;
  TWin32Keyboard keyboard_;
  std::unique_ptr<TWin32Clipboard> clipboard_;
  std::unique_ptr<TWin32MessageBox> messageBox_;
  std::unique_ptr<TWin32ViewWindow> terminalWindow_;
  std::unique_ptr<TTnZuzeRI> tZuzeRI;
  std::unique_ptr<TMainWindow> handlers_;
};

}  // namespace corvane::gui::win32
