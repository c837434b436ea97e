#include "telnet/tnzuzeri.h"

#include <algorithm>
#include <utility>

#include "emulator/typed_text.h"
#include "net/socket_errors.h"
#include "platform/diagnostics.h"

namespace corvane {
namespace {
// Posted to the terminal's own target to raise a capture failure from the
// message loop, where the application reports it.
constexpr std::uint32_t kCaptureFailed = platform::kUserMessage + 1;
constexpr const char* kClassicTermType = "VT100";
// More answers than a received block can ask for are dropped.
constexpr std::size_t kMaxReplies = 1 << 16;
// Cancels a sequence the host left unfinished and puts the ASCII set back.
constexpr std::string_view kXtermStatusPrefix = "\x18\x0f\x1b(B";
}  // namespace

TTnZuzeRI::TTnZuzeRI(TViewPorts ports)
    : TZuzeRI(std::move(ports)),
      FTnCnx(std::make_unique<TTnCnx>()),
      FReports([this](std::uint32_t m, platform::MessageWord w, platform::MessageLong) { RaiseReport(m, w); }) {
  FTnCnx->OnDataAvailable = [this](TTnCnx&, const char* b, int n) { CnxDataAvailable(b, n); };
  FTnCnx->OnSessionClosed = [this](TTnCnx&, std::uint16_t e) { CnxSessionClosed(e); };
  FTnCnx->OnSessionConnected = [this](TTnCnx&, std::uint16_t e) { CnxSessionConnected(e); };
  FTnCnx->OnSendLoc = [this](TTnCnx&) { RaiseEvent(OnSendLoc, *this); };
  FTnCnx->OnTermType = [this](TTnCnx&) { CnxTermType(); };
  FSelectRect.Top = -1;
}

// The connection goes first: its socket closes silently while the view
// still exists.
TTnZuzeRI::~TTnZuzeRI() { FTnCnx.reset(); }

// Closing an open session first raises OnSessionClosed, whose handler may
// destroy the terminal.
void TTnZuzeRI::Connect() {
  if (HostName.empty()) return;
  // Nothing the last host set may reach the new session.
  Screen().Reset();
  Clear();
  FReplies.clear();
  FTitle.reset();
  FGridChanged = false;
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
  RequestUpdate();
  AnswerHost();
}

// Sending may end the session, whose handler may destroy the terminal: that
// waits until the screen has finished the block.
void TTnZuzeRI::AnswerHost() {
  const auto alive = Watch();
  if (const std::string replies = std::exchange(FReplies, {}); !replies.empty()) {
    try {
      FTnCnx->Send(replies.data(), static_cast<int>(replies.size()));
    } catch (const std::exception&) {
      // The session has ended: nobody is left to answer.
    }
  }
  if (alive && std::exchange(FGridChanged, false)) {
    GridResized();
    RaiseEvent(OnGridChanged, *this);
  }
  if (!alive || !FTitle) return;
  const std::string title = *std::exchange(FTitle, std::nullopt);
  RaiseEvent(OnTitle, *this, std::string_view(title));
}

void TTnZuzeRI::CnxTermType() {
  if (Emulation() == TEmulation::Xterm) FTnCnx->TermType = XtermTermType;
  RaiseEvent(OnTermType, *this);
}

void TTnZuzeRI::SetCharset(TCharset Value) {
  FCharset = Value;
  if (TXtermScreen* xterm = Xterm()) xterm->SetCharset(Value);
}

void TTnZuzeRI::EmulationChanged() {
  const auto alive = Watch();
  if (TXtermScreen* xterm = Xterm()) {
    xterm->SetCharset(FCharset);
    xterm->SetHooks({[this](std::string_view bytes) {
                       if (FReplies.size() + bytes.size() <= kMaxReplies) FReplies += bytes;
                     },
                     [this](std::string_view title) { FTitle = std::string(title); }, [] { platform::AlertSound(); },
                     [this] { FGridChanged = true; }});
  } else {
    FTnCnx->TermType = kClassicTermType;
  }
  try {
    FTnCnx->SetNegotiation(Xterm() ? TnNegotiation::Xterm : TnNegotiation::Classic);
  } catch (const std::exception&) {
    // A full send queue has ended the session.
  }
  if (alive) GridResized();
}

void TTnZuzeRI::GridResized() {
  try {
    FTnCnx->SetWindowSize(Cols(), Rows());
  } catch (const std::exception&) {
    // A full send queue has ended the session.
  }
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
  // The host may have left a sequence unfinished or line drawing on.
  Screen().EndSequence();
  if (TXtermScreen* xterm = Xterm()) xterm->Feed(kXtermStatusPrefix);
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

// Capture is already off: the owner learns it first, then the report follows.
void TTnZuzeRI::RaiseReport(std::uint32_t Message, platform::MessageWord Word) {
  if (Message != kCaptureFailed) return;
  if (OnCaptureFailed) OnCaptureFailed(*this);
  throw EInOutError(static_cast<int>(Word));
}

// A host that uses the font's code page (Xlat True) gets the code page 437
// code of a typed character above ASCII; ASCII goes as it is, whatever table
// the host selected. An Xterm host gets its own character set untranslated.
char TTnZuzeRI::KeyboardXlat(char Key) const {
  const auto code = static_cast<unsigned char>(Key);
  return Xlat() && !Xterm() && code >= 0x80 ? static_cast<char>(AsciiTable[code]) : Key;
}

// Pasting a symbol never sends a control character: a letter the keyboard
// translation turns into one (the currency sign into SI) goes as "?".
std::string TTnZuzeRI::PasteBytes(std::u32string_view Text) const {
  if (const TXtermScreen* xterm = Xterm()) {
    std::string bytes = PastedBytes(Text, Charset());
    return xterm->Modes().BracketedPaste ? BracketedPaste(bytes) : bytes;
  }
  std::string bytes = PastedBytes(Text);
  for (char& byte : bytes) {
    const char sent = KeyboardXlat(byte);
    byte = static_cast<unsigned char>(byte) >= 0x80 && static_cast<unsigned char>(sent) < 0x20 ? '?' : sent;
  }
  return bytes;
}

// Typed characters are not echoed: the host echoes what it wants shown.
void TTnZuzeRI::KeyPress(char& Key) {
  Key = KeyboardXlat(Key);
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
