#pragma once
// The main window's handlers, written once for every platform. The form of
// each platform shows the controls and implements TMainWindowControls; the
// handlers decide what happens, in the order the window is designed to act.
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/terminal_area.h"
#include "platform/clipboard.h"
#include "platform/window.h"
#include "telnet/tnzuzeri.h"

namespace corvane {

// Texts of the status bar's panels.
inline constexpr const char* kConnectedText = "Connected";
inline constexpr const char* kDisconnectedText = "Disconnected";
inline constexpr const char* kCaptureOnText = "Capture ON --> ZUZERI.LOG";
inline constexpr const char* kCaptureOffText = "Capture OFF";
inline constexpr const char* kProgramTitle = "Corvane Telnet";

// The controls of the form as the handlers use them.
class TMainWindowControls {
 public:
  virtual ~TMainWindowControls() = default;

  // cbAddress: its edit text and its drop-down list, which keeps itself sorted.
  virtual std::string AddressText() = 0;
  virtual void SetAddressText(const std::string& text) = 0;
  virtual std::vector<std::string> AddressItems() = 0;
  virtual void AddAddressItem(const std::string& text) = 0;

  virtual void SetConnectEnabled(bool enabled) = 0;
  virtual void SetDisconnectEnabled(bool enabled) = 0;
  virtual void SetPanelText(int panel, const std::string& text) = 0;
  virtual void SetCaptureChecked(bool checked) = 0;
  // Terminal, Xterm emulation: checked while the session uses it.
  virtual void SetEmulationChecked(bool checked) = 0;
  // Terminal, Send Break and Are You There: enabled while connected.
  virtual void SetSessionCommandsEnabled(bool enabled) = 0;
  // The window's title, UTF-8.
  virtual void SetTitle(const std::string& title) = 0;

  // The window's outer size and the screen's, for centring.
  virtual int OuterWidth() = 0;
  virtual int OuterHeight() = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual void MoveTo(int left, int top) = 0;
  // Gives the terminal control this client size; the window grows with it
  // and the controls beside and below it follow.
  virtual void SetTerminalClientSize(platform::TSize size) = 0;
  // The smallest client size the terminal control may be given: the window
  // is never made smaller than what leaves it this much.
  virtual void SetTerminalMinimumSize(platform::TSize size) = 0;
  virtual void RepaintNow() = 0;

  virtual void ShowAboutBox() = 0;
  // Ends the application: its message loop stops.
  virtual void CloseApplication() = 0;
};

// The smallest grid an Xterm window may be made to show.
inline constexpr TGridSize kMinXtermGrid{4, 20};

// The terminal's stored settings as the window is designed with them.
void ApplyDesignedSettings(TTnZuzeRI& terminal);

class TMainWindow {
 public:
  // `terminalWindow` is the terminal's window port; it measures its font.
  TMainWindow(TMainWindowControls& form, TTnZuzeRI& terminal, platform::TWindowPort& terminalWindow,
              platform::TClipboardPort& clipboard);

  void FormCreate(const TCommandLine& commandLine);
  void bConnectClick();
  void bDisconnectClick();
  void tZuzeRISessionConnected(TTnZuzeRI& Sender);
  void tZuzeRISessionClosed(TTnZuzeRI& Sender);
  void CaptureClick();
  void EmulationClick();
  // The form has laid its terminal out anew (the window resized or maximised).
  void TerminalResized();
  void SendBreakClick();
  void AreYouThereClick();
  void tZuzeRITitle(TTnZuzeRI& Sender, std::string_view Title);
  void Copy1Click();
  void Paste1Click();
  void About1Click();
  void Exit1Click();

 private:
  // Runs `action`, then shows the capture state, also when it raised.
  template <class TAction>
  void ShowingCaptureState(TAction action);
  std::string ApplyHostSettings(std::optional<TEmulation> emulation);
  void ShowWholeGrid();
  void ShowAttempt();
  platform::TSize TerminalClient();
  TGridGeometry Geometry() const;
  void ShowCaptureState();
  void RememberAddress(const std::string& address);

  TMainWindowControls& form_;
  TTnZuzeRI& terminal_;
  platform::TWindowPort& terminalWindow_;
  platform::TClipboardPort& clipboard_;
  // The command line's emulation, for every connection of the run.
  std::optional<TEmulation> emulation_;
  // The terminal's port while a port typed in the address box replaces it.
  std::optional<std::string> portBeforeTyped_;
};

}  // namespace corvane
