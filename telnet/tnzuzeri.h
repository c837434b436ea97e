#pragma once
// TTnZuzeRI: the terminal view joined to one telnet connection. It connects
// and disconnects with status lines written into the terminal, shows what the
// host sends, sends what the user types, lets the user mark a rectangle of
// text with the mouse and loads per-host settings from an INI file.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "emulator/terminal_view.h"
#include "emulator/text_decoder.h"
#include "platform/message_loop.h"
#include "telnet/tncnx.h"

namespace corvane {

class TTnZuzeRI;

using TTnZuzeRINotify = std::function<void(TTnZuzeRI& Sender)>;
// The handler may lower Len (only the first Len bytes are shown) or set it to
// 0 or less (nothing is shown); a larger value counts as the block's length.
using TTnZuzeRIDataAvailable = std::function<void(TTnZuzeRI& Sender, const char* Buffer, int& Len)>;
using TTnZuzeRITitle = std::function<void(TTnZuzeRI& Sender, std::string_view Utf8)>;

class TTnZuzeRI : public TZuzeRI {
 public:
  explicit TTnZuzeRI(TViewPorts ports = {});
  ~TTnZuzeRI() override;

  std::string IniFilename = "TNZUZERI.INI";
  // Stored for the owner; nothing here reads them.
  std::string SectionName = "Windows";
  std::string KeyName = "TnZuzeRI";
  // The error number of the last session-connected or session-closed event.
  std::uint16_t Error = 0;
  // The host to connect to, and the INI section that LoadSettings reads.
  std::string HostName;
  std::string Port = "telnet";
  int Tag = 0;
  const std::string& Location() const { return FTnCnx->Location; }
  void SetLocation(const std::string& Value) { FTnCnx->Location = Value; }
  // Typed letters a to z are sent as capitals.
  bool UpperLock = false;
  // The Xterm emulation's settings: the character set of the host's text,
  // and the terminal type answered while Xterm is chosen (the classic
  // terminal answers "VT100").
  TCharset Charset() const { return FCharset; }
  void SetCharset(TCharset Value);
  std::string XtermTermType = "xterm";

  TTnZuzeRINotify OnSessionConnected;
  TTnZuzeRINotify OnSessionClosed;
  TTnZuzeRIDataAvailable OnDataAvailable;
  // The connection's own event: its Sender is the TTnCnx.
  const TTnNotifyEvent& OnEndOfRecord() const { return FTnCnx->OnEndOfRecord; }
  void SetOnEndOfRecord(TTnNotifyEvent Value) { FTnCnx->OnEndOfRecord = std::move(Value); }
  TTnZuzeRINotify OnSendLoc;
  TTnZuzeRINotify OnTermType;
  TTnZuzeRINotify OnNamesClick;
  // The window title a host set in Xterm (OSC 0, 1 or 2), as UTF-8: raised
  // once after the block that set it is shown, with the last one it set.
  TTnZuzeRITitle OnTitle;
  // The host changed the Xterm grid's size itself (132 or 80 columns): raised
  // after the block that did it is shown, once the host has been told.
  TTnZuzeRINotify OnGridChanged;
  // Raised from the message loop when a failing capture file has switched
  // capture off during received data or a status line, just before the
  // failure is raised to the application's error report.
  TTnZuzeRINotify OnCaptureFailed;

  // Clears the screen and connects to HostName:Port, writing "Connecting to
  // 'host'"; the outcome arrives as OnSessionConnected. An empty HostName
  // does nothing; socket errors are raised before anything is written.
  void Connect();
  void Disconnect();
  // Sends the bytes as they are (no UpperLock, no echo); raises unless
  // connected.
  int SendStr(const std::string& Str);
  // Pasted text as the bytes a typed key would send: code page 1252, then the
  // keyboard translation when Xlat is True; a bare LF becomes CR LF. In Xterm
  // the host's character set, between the bracket marks when the host asked.
  std::string PasteBytes(std::u32string_view Text) const;
  // Loads the settings of section HostName from IniFilename (tn_settings.cpp).
  // An `Emulation` given here (the command line's) takes the place of the
  // section's. Returns why the file found could not be read, the defaults
  // then applied; empty when it was read or there was none.
  std::string LoadSettings(std::optional<TEmulation> Emulation = std::nullopt);
  // Writes a status text into the terminal and repaints it at once. A
  // capture failure is raised after the text is shown.
  void DisplayText(std::string_view Str);

  // The selected rectangle's rows, separated by CR LF, in a buffer of Size
  // bytes: at most Size - 1 characters and a 0 byte. Returns the count.
  int GetSelectedText(char* Buffer, int Size) const;
  // The whole selection, in a buffer sized for it.
  std::string SelectedText() const;
  // Puts the selection on the clipboard as the screen shows it: the classic
  // screen's code page 437 bytes (SelectedText), the Xterm screen's Unicode
  // characters.
  void CopySelection(platform::TClipboardPort& Clipboard) const;

  TTnCnx& TnCnx() { return *FTnCnx; }

  void DoKeyBuffer(const char* Buffer, int Len) override;
  void KeyPress(char& Key) override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EmulationChanged() override;
  void GridResized() override;

 private:
  struct TCellRange {
    int FirstRow, LastRow, FirstCol, LastCol;
  };

  void CnxDataAvailable(const char* Buffer, int Len);
  void CnxSessionConnected(std::uint16_t AError);
  void CnxSessionClosed(std::uint16_t AError);
  void ShowStatus(std::string_view Str);
  char KeyboardXlat(char Key) const;
  void ReportLater(const EInOutError& E);
  void RaiseReport(std::uint32_t Message, platform::MessageWord Word);
  void AnswerHost();
  void CnxTermType();

  // tn_selection.cpp
  void StartDrag(int X, int Y);
  void DrawFocusRect();
  int EdgeScroll(int Y);
  int AnchorY() const;
  TCellRange SelectedCells(int Rows, int Cols) const;
  std::u32string XtermSelectedText() const;

  std::unique_ptr<TTnCnx> FTnCnx;
  platform::MessageWindow FReports;
  TCharset FCharset = TCharset::Utf8;
  // What the Xterm screen gave while a block was being shown: its answers
  // for the host and the last title, handled once the block is done.
  std::string FReplies;
  std::optional<std::string> FTitle;
  bool FGridChanged = false;

  bool FMouseDown = false;
  bool FMouseCaptured = false;
  int FAnchorX = 0;
  int FAnchorY = 0;
  std::int64_t FAnchorTop = 0;  // the view's top row when the drag began
  bool FFocusDrawn = false;
  platform::TRect FFocusRect{};
};

}  // namespace corvane
