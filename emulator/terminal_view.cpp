#include "emulator/terminal_view.h"

#include <algorithm>

#include "emulator/pixel_math.h"
#include "platform/headless.h"

namespace corvane {
namespace {
constexpr int kCaretWidth = 2;
constexpr int kLastTopLine = kMaxRows - 1;

template <typename Port>
Port* OrHeadless(Port* port, Port& headless) {
  return port != nullptr ? port : &headless;
}

std::unique_ptr<platform::TCaptureFilePort> OrPlatformFile(
    std::unique_ptr<platform::TCaptureFilePort> file) {
  return file ? std::move(file) : platform::NewCaptureFile();
}
}  // namespace

TCustomZuzeRI::TCustomZuzeRI(TViewPorts ports)
    : FWindow(OrHeadless(ports.Window, platform::HeadlessWindow())),
      FKeyboard(OrHeadless(ports.Keyboard, platform::HeadlessKeyboard())),
      FClipboard(OrHeadless(ports.Clipboard, platform::HeadlessClipboard())),
      FMessageBox(OrHeadless(ports.MessageBox, platform::HeadlessMessageBox())),
      FScreen(std::make_unique<TScreen>()),
      FLog(OrPlatformFile(std::move(ports.LogFile))) {
  MeasureFont();
  FScreen->XlatTable = &AsciiTable;
  FScreen->OnCursorVisibility = [this](TScreen& sender) { CursorVisibilityChanged(sender); };
  FScreen->SetCursor(0, 0);
  FScreen->FeedText("ZuzeRI");
  FScreen->SetCursor(0, 1);
}

// A destructor cannot report a failed closing marker; the file is closed anyway.
TCustomZuzeRI::~TCustomZuzeRI() {
  if (Log()) {
    try {
      SetLog(false);
    } catch (const EInOutError&) {
    }
  }
  // The application's hook must never call into a destroyed view.
  if (FHookInstalled) platform::SetAppMessageHook(std::move(FSavedOnMessage));
}

void TCustomZuzeRI::SetFont(const platform::TFont& Value) {
  FFont = Value;
  FFont.Pitch = platform::TFontPitch::Fixed;
  MeasureFont();
  MoveCaret();
}

void TCustomZuzeRI::MeasureFont() {
  auto dc = FWindow->ScreenCanvas();
  dc->SelectFont(FFont);
  const platform::TTextMetrics metrics = dc->TextMetrics();
  dc->RestoreFont();
  FCharWidth = metrics.MaxCharWidth;
  LineHeight = metrics.Height;
  FInternalLeading = metrics.InternalLeading;
}

void TCustomZuzeRI::SetXlat(bool Value) {
  FScreen->XlatIn = !Value;
  FScreen->XlatDefault = !Value;
}

// The screen keeps Rows within 1..50 and Cols within 1..132; a value outside
// is clamped before it is compared.
void TCustomZuzeRI::SetRows(int Value) {
  if (std::clamp(Value, 1, kMaxRows) == FScreen->Rows()) return;
  FScreen->SetRows(Value);
  FScreen->ClearScreen();
  FWindow->RepaintNow();
}

void TCustomZuzeRI::SetCols(int Value) {
  if (std::clamp(Value, 1, kMaxCols) == FScreen->Cols()) return;
  FScreen->SetCols(Value);
  FScreen->ClearScreen();
  FWindow->RepaintNow();
}

void TCustomZuzeRI::LogByte(char Ch) {
  if (Log()) FLog.LogByte(Ch);
}

void TCustomZuzeRI::WriteByte(char Ch) {
  HideCaret();
  LogByte(Ch);
  FScreen->FeedChar(static_cast<std::uint8_t>(Ch));
  if (AutoRepaint) UpdateScreen();
}

void TCustomZuzeRI::WriteText(std::string_view Str) {
  HideCaret();
  for (char ch : Str) {
    LogByte(ch);
    FScreen->FeedChar(static_cast<std::uint8_t>(ch));
  }
  if (AutoRepaint) UpdateScreen();
}

int TCustomZuzeRI::CellX(int Col) const {
  return pixel::Add(pixel::Mul(Col, FCharWidth), kLeftMargin);
}

int TCustomZuzeRI::CellY(int Row) const {
  return pixel::Add(pixel::Mul(Row, LineHeight), kTopMargin);
}

void TCustomZuzeRI::UpdateScreen() {
  const TScreen& s = *FScreen;
  if (s.RepaintAll) {
    FWindow->Invalidate(FWindow->ClientRect());
  } else if (s.DirtyLeft <= s.DirtyRight && s.DirtyTop <= s.DirtyBottom) {
    FWindow->Invalidate({CellX(s.DirtyLeft), pixel::Add(CellY(s.DirtyTop), FInternalLeading),
                         CellX(pixel::Add(s.DirtyRight, 1)),
                         pixel::Add(CellY(pixel::Add(s.DirtyBottom, 1)), FInternalLeading)});
  }
  const int x = CellX(s.Col);
  const int y = CellY(s.Row);
  FWindow->Invalidate({x, y, pixel::Add(x, FCharWidth), pixel::Add(y, LineHeight)});
  FScreen->ResetDirty();
  if (FCaretCreated) ShowCaret();
  MoveCaret();
}

void TCustomZuzeRI::Clear() { FScreen->ClearScreen(); }

void TCustomZuzeRI::MoveCaret() {
  FWindow->MoveCaret(CellX(FScreen->Col), CellY(pixel::Sub(FScreen->Row, FTopLine)));
}

void TCustomZuzeRI::ShowCaret() {
  if (!FCaretCreated || FCaretShown) return;
  FWindow->ShowCaret();
  FCaretShown = true;
}

void TCustomZuzeRI::HideCaret() {
  if (!FCaretCreated || !FCaretShown) return;
  FWindow->HideCaret();
  FCaretShown = false;
}

// A hidden cursor keeps the caret hidden until the next UpdateScreen.
void TCustomZuzeRI::CursorVisibilityChanged(TScreen& Sender) {
  if (Sender.CursorHidden)
    HideCaret();
  else if (Sender.HasFocus)
    ShowCaret();
}

int TCustomZuzeRI::PixelToRow(int Y) const {
  return std::max(0, pixel::Div(pixel::Sub(Y, kTopMargin), LineHeight));
}

int TCustomZuzeRI::PixelToCol(int X) const {
  return std::max(0, pixel::Div(pixel::Sub(X, kLeftMargin), FCharWidth));
}

int TCustomZuzeRI::SnapPixelY(int Y) const { return CellY(PixelToRow(Y)); }

int TCustomZuzeRI::SnapPixelX(int X) const { return CellX(PixelToCol(X)); }

void TCustomZuzeRI::FocusGained() {
  FScreen->HasFocus = true;
  FWindow->CreateCaret(kCaretWidth, LineHeight);
  FCaretCreated = true;
  FCaretShown = false;
  MoveCaret();
  if (!FScreen->CursorHidden) ShowCaret();
  // A repeated focus message must not chain the view's hook to itself.
  if (FHookInstalled) return;
  FSavedOnMessage = platform::SetAppMessageHook(
      [this](platform::TMessage& msg, bool& handled) { AppMessageHandler(msg, handled); });
  FHookInstalled = true;
}

void TCustomZuzeRI::FocusLost() {
  FScreen->HasFocus = false;
  HideCaret();
  if (FCaretCreated) {
    FWindow->DestroyCaret();
    FCaretCreated = false;
  }
  if (!FHookInstalled) return;
  platform::SetAppMessageHook(std::move(FSavedOnMessage));
  FSavedOnMessage = nullptr;
  FHookInstalled = false;
}

void TCustomZuzeRI::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(*this, Button, Shift, X, Y);
}

void TCustomZuzeRI::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(*this, Shift, X, Y);
}

void TCustomZuzeRI::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(*this, Button, Shift, X, Y);
}

void TCustomZuzeRI::Click() {
  if (OnClick) OnClick(*this);
}

void TCustomZuzeRI::LeftButtonDown(TShiftState Shift, int X, int Y) {
  ButtonDown(TMouseButton::mbLeft, Shift, X, Y);
  FWindow->SetFocus();
}

// A click is a left press and release on the view.
void TCustomZuzeRI::ButtonDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft) FLeftDown = true;
  MouseDown(Button, Shift, X, Y);
}

void TCustomZuzeRI::ButtonUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool click = Button == TMouseButton::mbLeft && FLeftDown;
  if (Button == TMouseButton::mbLeft) FLeftDown = false;
  MouseUp(Button, Shift, X, Y);
  if (click) Click();
}

void TCustomZuzeRI::MouseMoved(TShiftState Shift, int X, int Y) { MouseMove(Shift, X, Y); }

void TCustomZuzeRI::VScrollBarScroll(TScrollCode Code) {
  if (Code == TScrollCode::scLineUp) --FTopLine;
  if (Code == TScrollCode::scLineDown) ++FTopLine;
  FTopLine = std::clamp(FTopLine, 0, kLastTopLine);
  FWindow->RepaintNow();
  FWindow->SetFocus();
}

}  // namespace corvane
