#include "emulator/terminal_view.h"

#include <algorithm>
#include <utility>

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

std::unique_ptr<platform::TCaptureFilePort> OrPlatformFile(std::unique_ptr<platform::TCaptureFilePort> file) {
  return file ? std::move(file) : platform::NewCaptureFile();
}
}  // namespace

TCustomZuzeRI::TCustomZuzeRI(TViewPorts ports)
    : FWindow(OrHeadless(ports.Window, platform::HeadlessWindow())),
      FKeyboard(OrHeadless(ports.Keyboard, platform::HeadlessKeyboard())),
      FClipboard(OrHeadless(ports.Clipboard, platform::HeadlessClipboard())),
      FMessageBox(OrHeadless(ports.MessageBox, platform::HeadlessMessageBox())),
      FFrameClock(ports.FrameClock),
      FScreen(std::make_unique<TScreen>()),
      FLog(OrPlatformFile(std::move(ports.LogFile))) {
  MeasureFont();
  FScreen->XlatTable = &AsciiTable;
  FScreen->History.SetCapacity(FScrollback);
  FScreen->OnCursorVisibility = [this](TScreen& sender) { CursorVisibilityChanged(sender); };
  FScreen->SetCursor(0, 0);
  FScreen->FeedText("ZuzeRI");
  FScreen->SetCursor(1, 0);
}

// A destructor cannot report a failed closing marker; the file is closed anyway.
TCustomZuzeRI::~TCustomZuzeRI() {
  StopFrameClock();
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
  // A font of size 0 measures 0; a cell of at least one pixel keeps the
  // pixel conversions defined.
  FCharWidth = std::max(1, metrics.MaxCharWidth);
  FLineHeight = std::max(1, metrics.Height);
  FInternalLeading = metrics.InternalLeading;
  FFontHeight = metrics.Height;
}

int TCustomZuzeRI::WholeGlyphLineHeight(int Designed) const {
  return std::max(Designed, FFontHeight - FInternalLeading);
}

platform::TSize TCustomZuzeRI::GridClientSize() const {
  const int strip = FScrollback > 0 ? FVScrollBar.Width : 0;
  return {pixel::Add(pixel::Add(CellX(Cols()), kLeftMargin), strip),
          pixel::Add(pixel::Add(CellY(Rows()), FInternalLeading), kTopMargin)};
}

void TCustomZuzeRI::SetLineHeight(int Value) { FLineHeight = std::max(1, Value); }

void TCustomZuzeRI::SetXlat(bool Value) {
  FScreen->XlatIn = !Value;
  FScreen->XlatDefault = !Value;
}

// The screen keeps Rows within 1..50 and Cols within 1..132; a value outside
// is clamped before it is compared. Clearing sends the cursor home, and a
// caret on the screen follows it at once.
void TCustomZuzeRI::SetRows(int Value) {
  if (FXterm) return ResizeXterm(Value, FXterm->Cols());
  if (std::clamp(Value, 1, kMaxRows) == FScreen->Rows()) return;
  FScreen->SetRows(Value);
  FScreen->ClearScreen();
  FWindow->RepaintNow();
  if (FCaretCreated) MoveCaret();
  GridResized();
}

void TCustomZuzeRI::SetCols(int Value) {
  if (FXterm) return ResizeXterm(FXterm->Rows(), Value);
  if (std::clamp(Value, 1, kMaxCols) == FScreen->Cols()) return;
  FScreen->SetCols(Value);
  FScreen->ClearScreen();
  FWindow->RepaintNow();
  if (FCaretCreated) MoveCaret();
  GridResized();
}

int TCustomZuzeRI::Capture(std::string_view Bytes) { return Log() && !Bytes.empty() ? FLog.Write(Bytes) : 0; }

void TCustomZuzeRI::WriteByte(char Ch) { WriteText(std::string_view(&Ch, 1)); }

// While text streams the caret stays where it is until the next frame's update.
void TCustomZuzeRI::WriteText(std::string_view Str) {
  if (!Streaming()) HideCaret();
  const int error = Capture(Str);
  ScrollToBottom();
  if (FXterm)
    FXterm->Feed(Str);
  else
    FScreen->FeedText(Str);
  if (AutoRepaint) RequestUpdate();
  if (error != 0) throw EInOutError(error);
}

int TCustomZuzeRI::CellX(int Col) const { return pixel::Add(pixel::Mul(Col, FCharWidth), kLeftMargin); }

int TCustomZuzeRI::CellY(int Row) const { return pixel::Add(pixel::Mul(Row, FLineHeight), kTopMargin); }

void TCustomZuzeRI::UpdateScreen() {
  FUpdateDue = false;
  TDirtyRect dirty;
  bool all = false;
  int scrolled = 0;
  TakeChanges(dirty, all, scrolled);
  const bool moved = SelectionMoved();
  const bool paintedAhead = std::exchange(FPaintedAhead, false);
  // Rows that moved and whose pixels could not follow are all painted again.
  if (scrolled > 0 && !all && !moved && (paintedAhead || !MovePixels(dirty, scrolled))) {
    dirty.Add(0, 0);
    dirty.Add(Rows() - 1, Cols() - 1);
    FChangedBands.assign(1, dirty);
  }
  if (all || moved) {
    FWindow->Invalidate(FWindow->ClientRect());
  } else {
    for (const TDirtyRect& band : FChangedBands) InvalidateCells(band);
  }
  const TCellPos cursor = CursorCell();
  const int x = CellX(cursor.Col);
  const int y = CellY(cursor.Row);
  FWindow->Invalidate(
      WithMargins({x, y, pixel::Add(x, FCharWidth), pixel::Add(y, FLineHeight)}, cursor.Col, cursor.Col));
  // The classic cursor shows again at every update; the Xterm one as the host says.
  if (FXterm && !CursorShown())
    HideCaret();
  else if (FCaretCreated)
    ShowCaret();
  MoveCaret();
}

void TCustomZuzeRI::InvalidateCells(const TDirtyRect& Cells) {
  FWindow->Invalidate(
      WithMargins({CellX(Cells.Left), pixel::Add(CellY(Cells.Top), FInternalLeading), CellX(pixel::Add(Cells.Right, 1)),
                   pixel::Add(CellY(pixel::Add(Cells.Bottom, 1)), FInternalLeading)},
                  Cells.Left, Cells.Right));
}

// The first column's run also paints the left margin, and the last column's
// run and the right margin take their colours at the same paint, so a change
// there repaints the margin beside it too.
platform::TRect TCustomZuzeRI::WithMargins(platform::TRect Cells, int FirstCol, int LastCol) {
  if (FirstCol <= 0) Cells.Left = 0;
  if (LastCol >= Cols() - 1) Cells.Right = std::max(Cells.Right, FWindow->ClientRect().Right);
  return Cells;
}

void TCustomZuzeRI::Clear() {
  if (FXterm)
    FXterm->FullReset();
  else
    FScreen->ClearScreen();
}

void TCustomZuzeRI::MoveCaret() {
  const TCellPos cursor = CursorCell();
  FWindow->MoveCaret(CellX(cursor.Col), CellY(pixel::Sub(pixel::Add(cursor.Row, FScrollOffset), FTopLine)));
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

int TCustomZuzeRI::PixelToRow(int Y) const { return std::max(0, pixel::Div(pixel::Sub(Y, kTopMargin), FLineHeight)); }

int TCustomZuzeRI::PixelToCol(int X) const { return std::max(0, pixel::Div(pixel::Sub(X, kLeftMargin), FCharWidth)); }

int TCustomZuzeRI::SnapPixelY(int Y) const { return CellY(PixelToRow(Y)); }

int TCustomZuzeRI::SnapPixelX(int X) const { return CellX(PixelToCol(X)); }

void TCustomZuzeRI::FocusGained() {
  FScreen->HasFocus = true;
  FWindow->CreateCaret(kCaretWidth, FLineHeight);
  FCaretCreated = true;
  FCaretShown = false;
  MoveCaret();
  if (CursorShown()) ShowCaret();
  // A repeated focus message must not chain the view's hook to itself.
  if (FHookInstalled) return;
  FSavedOnMessage =
      platform::SetAppMessageHook([this](platform::TMessage& msg, bool& handled) { AppMessageHandler(msg, handled); });
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
  RaiseEvent(OnMouseDown, *this, Button, Shift, X, Y);
}

void TCustomZuzeRI::MouseMove(TShiftState Shift, int X, int Y) { RaiseEvent(OnMouseMove, *this, Shift, X, Y); }

void TCustomZuzeRI::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  RaiseEvent(OnMouseUp, *this, Button, Shift, X, Y);
}

void TCustomZuzeRI::Click() { RaiseEvent(OnClick, *this); }

void TCustomZuzeRI::LeftButtonDown(TShiftState Shift, int X, int Y) {
  const auto alive = Watch();
  ButtonDown(TMouseButton::mbLeft, Shift, X, Y);
  if (alive) FWindow->SetFocus();
}

// A click is a left press and release on the view.
void TCustomZuzeRI::ButtonDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft && StripPressed(X, Y)) return;
  if (Button == TMouseButton::mbLeft) FLeftDown = true;
  MouseDown(Button, Shift, X, Y);
}

// A release outside the client area (the mouse is captured during a drag) is
// no click.
void TCustomZuzeRI::ButtonUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft && FStripGrab >= 0) {
    FStripGrab = -1;
    FWindow->ReleaseMouseCapture();
    return;
  }
  const bool inside = FWindow->ClientRect().Contains(X, Y);
  const bool click = Button == TMouseButton::mbLeft && FLeftDown && inside;
  if (Button == TMouseButton::mbLeft) FLeftDown = false;
  const auto alive = Watch();
  MouseUp(Button, Shift, X, Y);
  if (click && alive) Click();
}

void TCustomZuzeRI::MouseMoved(TShiftState Shift, int X, int Y) {
  if (FStripGrab >= 0) return StripDragged(Y);
  MouseMove(Shift, X, Y);
}

void TCustomZuzeRI::VScrollBarScroll(TScrollCode Code) {
  if (Code == TScrollCode::scLineUp) --FTopLine;
  if (Code == TScrollCode::scLineDown) ++FTopLine;
  FTopLine = std::clamp(FTopLine, 0, kLastTopLine);
  FWindow->RepaintNow();
  FWindow->SetFocus();
}

}  // namespace corvane
