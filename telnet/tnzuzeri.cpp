#include "telnet/tnzuzeri.h"

#include <algorithm>

#include "net/socket_errors.h"
#include "platform/diagnostics.h"

namespace corvane {
namespace {
// Posted to the terminal's own target to raise a capture failure from the
// message loop, where the application reports it.
constexpr std::uint32_t kCaptureFailed = platform::kUserMessage + 1;

void RaiseReport(std::uint32_t message, platform::MessageWord word, platform::MessageLong) {
  if (message == kCaptureFailed) throw EInOutError(static_cast<int>(word));
}
}  // namespace

TTnZuzeRI::TTnZuzeRI(TViewPorts ports)
    : TZuzeRI(std::move(ports)), FTnCnx(std::make_unique<TTnCnx>()), FReports(RaiseReport) {
  FTnCnx->OnDataAvailable = [this](TTnCnx&, const char* b, int n) { CnxDataAvailable(b, n); };
  FTnCnx->OnSessionClosed = [this](TTnCnx&, std::uint16_t e) { CnxSessionClosed(e); };
  FTnCnx->OnSessionConnected = [this](TTnCnx&, std::uint16_t e) { CnxSessionConnected(e); };
  FTnCnx->OnSendLoc = [this](TTnCnx&) { RaiseEvent(OnSendLoc, *this); };
  FTnCnx->OnTermType = [this](TTnCnx&) { RaiseEvent(OnTermType, *this); };
  FSelectRect.Top = -1;
}

// The connection goes first: its socket closes silently while the view
// still exists.
TTnZuzeRI::~TTnZuzeRI() { FTnCnx.reset(); }

// Closing an open session first raises OnSessionClosed, whose handler may
// destroy the terminal.
void TTnZuzeRI::Connect() {
  if (HostName.empty()) return;
  Clear();
  FTnCnx->Port = Port;
  FTnCnx->Host = HostName;
  const auto alive = Watch();
  FTnCnx->Connect();
  if (!alive) return;
  DisplayText("Connecting to '" + HostName + "'\r\n");
  Window().SetFocus();
}

void TTnZuzeRI::Disconnect() { FTnCnx->Close(); }

int TTnZuzeRI::SendStr(const std::string& Str) { return FTnCnx->SendStr(Str); }

void TTnZuzeRI::DisplayText(std::string_view Str) {
  WriteText(Str);
  Window().RepaintNow();
}

// The block always reaches the screen; a failing capture file has switched
// capture off and is reported once, later.
void TTnZuzeRI::CnxDataAvailable(const char* Buffer, int Len) {
  int len = Len;
  const auto alive = Watch();
  RaiseEvent(OnDataAvailable, *this, Buffer, len);
  len = std::min(len, Len);
  if (!alive || len <= 0) return;
  try {
    WriteText(std::string_view(Buffer, static_cast<std::size_t>(len)));
  } catch (const EInOutError& e) {
    ReportLater(e);
  }
  UpdateScreen();
}

void TTnZuzeRI::CnxSessionConnected(std::uint16_t AError) {
  if (AError != 0) {
    ShowStatus("Connection failed: " + SocketErrorDesc(AError) + "\r\n");
    platform::AlertSound();
  } else {
    ShowStatus("Connected\r\n");
  }
  Error = AError;
  RaiseEvent(OnSessionConnected, *this);
}

void TTnZuzeRI::CnxSessionClosed(std::uint16_t AError) {
  ShowStatus("\r\n*** Server has closed ***\r\n");
  Error = AError;
  RaiseEvent(OnSessionClosed, *this);
}

// Inside a connection event the session's own steps must still run, so a
// capture failure is reported later instead of unwinding through them.
void TTnZuzeRI::ShowStatus(std::string_view Str) {
  try {
    DisplayText(Str);
  } catch (const EInOutError& e) {
    Window().RepaintNow();
    ReportLater(e);
  }
}

// The socket's notification handling drops exceptions, so the failure is
// raised again from a message of the terminal's own.
void TTnZuzeRI::ReportLater(const EInOutError& E) {
  FReports.Post(kCaptureFailed, static_cast<platform::MessageWord>(E.ErrorCode), 0);
}

// Typed characters go to the host as they are: no code-page translation and
// no local echo, the host echoes what it wants shown.
void TTnZuzeRI::KeyPress(char& Key) {
  const auto alive = Watch();
  RaiseEvent(OnKeyPress, *this, Key);
  if (!alive) return;
  if (UpperLock && Key >= 'a' && Key <= 'z') Key = static_cast<char>(Key & ~0x20);
  if (Key == 0) return;
  try {
    FTnCnx->Send(&Key, 1);
  } catch (const std::exception&) {
    // Typing while not connected sends nothing, silently.
  }
}

void TTnZuzeRI::DoKeyBuffer(const char* Buffer, int Len) { FTnCnx->Send(Buffer, Len); }

}  // namespace corvane
