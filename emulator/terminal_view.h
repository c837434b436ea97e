#pragma once
// The terminal view: owns the screen model, feeds received bytes into it (and
// into the capture log), paints it through the canvas port, keeps the caret on
// the cursor and turns key-down messages into the bytes a host expects.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/capture_log.h"
#include "emulator/colour_table.h"
#include "emulator/emulation.h"
#include "emulator/key_tables.h"
#include "emulator/screen.h"
#include "emulator/scroll_strip.h"
#include "emulator/xterm_screen.h"
#include "net/lifeline.h"
#include "platform/capture_file.h"
#include "platform/clipboard.h"
#include "platform/frame_clock.h"
#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/message_hook.h"
#include "platform/window.h"

namespace corvane {

// What the view talks to. Missing ports become window-less stand-ins; a missing
// capture file becomes the platform's file adapter. The window and the other
// ports must outlive the view; the capture file is the view's own.
struct TViewPorts {
  platform::TWindowPort* Window = nullptr;
  platform::TKeyboardPort* Keyboard = nullptr;
  platform::TClipboardPort* Clipboard = nullptr;
  platform::TMessageBoxPort* MessageBox = nullptr;
  std::unique_ptr<platform::TCaptureFilePort> LogFile;
  // Paces the updates of streaming text; without one every write updates.
  platform::TFrameClockPort* FrameClock = nullptr;
};

enum class TBorderStyle { bsNone, bsSingle };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};

// The vertical scroll strip at the right edge; shown while rows are kept.
struct TScrollBar {
  bool Visible = false;
  int Width = 16;
};

class TCustomZuzeRI {
 public:
  using TNotifyEvent = std::function<void(TCustomZuzeRI& Sender)>;
  using TMouseEvent = std::function<void(TCustomZuzeRI& Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
  using TMouseMoveEvent = std::function<void(TCustomZuzeRI& Sender, TShiftState Shift, int X, int Y)>;
  using TKeyPressEvent = std::function<void(TCustomZuzeRI& Sender, char& Key)>;
  using TKeyBufferEvent = std::function<void(TCustomZuzeRI& Sender, const char* Buffer, int Len)>;

  explicit TCustomZuzeRI(TViewPorts ports = {});
  virtual ~TCustomZuzeRI();
  TCustomZuzeRI(const TCustomZuzeRI&) = delete;
  TCustomZuzeRI& operator=(const TCustomZuzeRI&) = delete;

  // Received text. While capture is on, the bytes go to the capture file in
  // one piece before any of them reaches the screen. A failing capture file
  // is closed and capture switched off; the bytes are still shown and the
  // error is raised (EInOutError) after the screen has been updated.
  void WriteByte(char Ch);
  void WriteText(std::string_view Str);
  void UpdateScreen();
  // UpdateScreen now, or at the next frame while text streams in (view_frames.cpp).
  void RequestUpdate();
  void Clear();
  void MoveCaret();

  // Client pixels to cells and back to the cell's top-left pixel.
  int PixelToRow(int Y) const;
  int PixelToCol(int X) const;
  int SnapPixelY(int Y) const;
  int SnapPixelX(int X) const;
  // The row of a pixel, above the first row too (negative): for frames that
  // reach above the view.
  int FrameRow(int Y) const;

  // Window messages, delivered by the window adapter. PaintRequest uses the
  // given canvas, or opens a paint bracket when there is none.
  void PaintRequest(platform::TCanvasPort* dc = nullptr);
  void FocusGained();
  void FocusLost();
  void LeftButtonDown(TShiftState Shift, int X, int Y);
  void ButtonDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void ButtonUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void MouseMoved(TShiftState Shift, int X, int Y);
  void PaletteNotice() {}
  void VScrollBarScroll(TScrollCode Code);

  // Keyboard mapping (key_mapping.cpp).
  void AppMessageHandler(platform::TMessage& Msg, bool& Handled);
  const TFuncKey* FindFKey(int ScanCode, TShiftState Shift, bool Ext) const;
  bool ProcessFKeys(int ScanCode, TShiftState Shift, bool Ext);
  virtual void DoKeyBuffer(const char* Buffer, int Len);
  virtual void KeyPress(char& Key);
  // A character the platform's key translation made: KeyPress with its code
  // page 1252 code, in Xterm with each of its bytes in the host's character
  // set (typed_text.h).
  void CharTyped(char32_t Ch);

  TScreen& Screen() { return *FScreen; }
  const TScreen& Screen() const { return *FScreen; }

  // The Xterm emulation keeps its own screen: null while Classic is chosen.
  // Choosing one starts it afresh at the current rows and columns.
  TEmulation Emulation() const { return FXterm ? TEmulation::Xterm : TEmulation::Classic; }
  void SetEmulation(TEmulation Value);
  // Both sides of the Xterm grid at once, so that the host hears of one new
  // size; the classic grid is left alone.
  void SetXtermGrid(int ARows, int ACols) {
    if (FXterm) ResizeXterm(ARows, ACols);
  }
  TXtermScreen* Xterm() { return FXterm.get(); }
  const TXtermScreen* Xterm() const { return FXterm.get(); }
  // The host's character set in Xterm, for its text and for what is typed;
  // kept across changes of the emulation.
  TCharset Charset() const { return FCharset; }
  void SetCharset(TCharset Value);
  const TColorTable& ColorTable() const { return FColorTable; }
  int InternalLeading() const { return FInternalLeading; }
  // The line height that shows every glyph of the font whole: `Designed`,
  // or the font's height below its leading where that is taller.
  int WholeGlyphLineHeight(int Designed) const;
  // The client size that shows every row and column with the margins around them.
  platform::TSize GridClientSize() const;
  int TopLine() const { return FTopLine; }
  bool CaretCreated() const { return FCaretCreated; }
  bool CaretShown() const { return FCaretShown; }
  TScrollBar VScrollBar() const { return {ScrollBarShown(), FVScrollBar.Width}; }

  // Scrollback (view_scrollback.cpp): how many rows scrolled off the screen
  // are kept (0: none) and how far back into them the view shows (0: at the
  // bottom). New output and keys return the view to the bottom.
  int Scrollback() const { return FScrollback; }
  void SetScrollback(int Lines);
  int HistoryRows() const;
  int ScrollOffset() const { return FScrollOffset; }
  // Rows > 0 move back into the kept rows, < 0 towards the bottom.
  void ScrollHistory(int Rows);
  void ScrollToBottom() { ScrollHistory(-FScrollOffset); }
  // A turn of the mouse wheel in 1/120 notches, positive away from the user.
  void WheelTurned(int Delta);
  // What visible row V shows: a screen row, or above the screen a kept one.
  const TLine& ShownLine(int V) const;
  const TXtermRow& ShownXtermRow(int V) const;
  // The row at the top of the view, numbered from the first row ever kept
  // (view_selection.cpp): the same text keeps its number as it scrolls.
  std::int64_t ShownTopRow() const;
  // How many rows lower the view now shows what it showed when its top was
  // row Top (negative: higher); bounded to a distance no row is shown at.
  int RowsMovedSince(std::int64_t Top) const;

  // The initial size; the owner sizes the window.
  int Width = 250;
  int Height = 100;

 protected:
  // Published by TZuzeRI, in this order.
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnClick;
  TKeyPressEvent OnKeyPress;
  TKeyBufferEvent OnKeyBuffer;
  TBorderStyle BorderStyle = TBorderStyle::bsSingle;
  bool AutoRepaint = true;
  const platform::TFont& Font() const { return FFont; }
  void SetFont(const platform::TFont& Value);
  bool LocalEcho = false;
  bool AutoLF() const { return FScreen->AutoLF; }
  void SetAutoLF(bool Value) { FScreen->AutoLF = Value; }
  bool AutoCR() const { return FScreen->AutoCR; }
  void SetAutoCR(bool Value) { FScreen->AutoCR = Value; }
  // Automatic margins: a character after the last column starts a new line.
  bool AutoWrap() const { return FScreen->AutoWrap; }
  void SetAutoWrap(bool Value) { FScreen->AutoWrap = FScreen->AutoWrapDefault = Value; }
  bool Xlat() const { return !FScreen->XlatDefault; }
  void SetXlat(bool Value);
  bool MonoChrome = false;
  bool Log() const { return FLog.On(); }
  void SetLog(bool Value) { FLog.SetOn(Value); }
  int Rows() const { return FXterm ? FXterm->Rows() : FScreen->Rows(); }
  void SetRows(int Value);
  int Cols() const { return FXterm ? FXterm->Cols() : FScreen->Cols(); }
  void SetCols(int Value);
  // Stored only: no repaint, no caret change. At least 1, since every pixel
  // conversion divides by it.
  int LineHeight() const { return FLineHeight; }
  void SetLineHeight(int Value);
  int CharWidth() const { return FCharWidth; }
  int FKeys = 1;

  // The inherited mouse operations; each fires its event.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Click();
  // After SetEmulation has chosen the other emulation, and after the grid's
  // rows or columns have changed: a derived view tells its host. Each is
  // the last step of the call that raises it.
  virtual void EmulationChanged() {}
  virtual void GridResized() {}

  // Selection frame in client pixels as the view stood when it was marked,
  // its top row then FSelectTop; Top = -1: no selection. The owner
  // maintains it (SetSelection), the view paints it where its rows are now.
  platform::TRect FSelectRect{-1, -1, -1, -1};
  std::int64_t FSelectTop = 0;
  void SetSelection(const platform::TRect& Frame);
  // The frame where the marked rows are shown now; Top = -1 when none of
  // them is in view.
  platform::TRect SelectionFrame() const;

  platform::TWindowPort& Window() { return *FWindow; }
  // An event's handler may destroy the view: code that raises one takes a
  // watch first and touches nothing of the view once the watch says it is gone.
  TLifeline::Watch Watch() const { return FLifeline.Take(); }

 private:
  // The text grid starts this far from the client area's left and top edges.
  static constexpr int kLeftMargin = 6;
  static constexpr int kTopMargin = 4;
  // The last column's run also paints this much beyond it.
  static constexpr int kRightMargin = 6;

  void MeasureFont();
  void ShowCaret();
  void HideCaret();
  void CursorVisibilityChanged(TScreen& Sender);
  int Capture(std::string_view Bytes);
  int CellX(int Col) const;
  int CellY(int Row) const;
  platform::TRect WithMargins(platform::TRect Cells, int FirstCol, int LastCol);
  void InvalidateCells(const TDirtyRect& Cells);

  // view_paint.cpp
  void PaintCanvas(platform::TCanvasPort& dc, const platform::TRect& P);
  platform::TRect RowBand(int y) const;
  void PaintRow(platform::TCanvasPort& dc, int y, int Row);
  void PaintLine(platform::TCanvasPort& dc, int y, const TLine& Line);
  void PaintRun(platform::TCanvasPort& dc, int y, const TLine& Line, int s, int e);
  void PaintSelection(platform::TCanvasPort& dc);
  // view_selection.cpp: true once after the marked rows have moved in the view.
  bool SelectionMoved();

  // view_frames.cpp
  bool Streaming() const { return FFrameClock != nullptr && FClockRunning; }
  bool MovePixels(const TDirtyRect& Dirty, int Scrolled);
  int PendingScroll() const;
  void FrameTick();
  void StopFrameClock();

  // The Xterm emulation's share of writing, updating and painting (view_xterm.cpp).
  void ResizeXterm(int ARows, int ACols);
  TCellPos CursorCell() const;
  bool CursorShown() const;
  // The changes since the last update: their bounds in Dirty, and in
  // FChangedBands the cells to repaint, one rectangle for each band of rows.
  void TakeChanges(TDirtyRect& Dirty, bool& All, int& Scrolled);
  platform::TRGB MarginColour() const;
  const TColorTable& Palette() const;
  void PaintXtermLine(platform::TCanvasPort& dc, int y, int Row);
  void PaintXtermRun(platform::TCanvasPort& dc, int y, const TXtermRow& Line, int s, int e);
  void PaintClusters(platform::TCanvasPort& dc, int y, const TXtermRow& Line, int s, int e, platform::TRGB Colour);
  void WidenForLineSizes(TDirtyRect& Dirty) const;

  // key_mapping.cpp
  struct TKeyDown {
    int Vk = 0;
    TShiftState Shift = 0;
    bool CapsLock = false;
    int ScanCode = 0;
    bool Ext = false;
  };
  TKeyDown ReadKeyDown(const platform::TMessage& Msg) const;
  bool HandleTableKey(const TKeyDown& Key);
  bool HandleKeyDown(const TKeyDown& Key);
  void ShowKeyDefinition(int ScanCode, TShiftState Shift, bool Ext);

  // view_xterm_keys.cpp
  bool XtermKeys() const;
  bool HandleXtermKey(const TKeyDown& Key);
  bool NewLineReturn(const TKeyDown& Key);
  bool AltCharTyped(char32_t Ch);

  // view_scrollback.cpp
  bool HistoryKey(const TKeyDown& Key);
  bool ScrollBarShown() const;
  TStripLayout StripLayout() const;
  void PaintScrollBar(platform::TCanvasPort& dc);
  bool StripPressed(int X, int Y);
  void StripDragged(int Y);

  platform::TWindowPort* FWindow;
  platform::TKeyboardPort* FKeyboard;
  platform::TClipboardPort* FClipboard;
  platform::TMessageBoxPort* FMessageBox;
  platform::TFrameClockPort* FFrameClock;
  bool FClockRunning = false;  // an update was made less than a frame ago
  bool FUpdateDue = false;     // changes wait for the next tick
  // A paint showed rows that scrolled after the last update: their pixels
  // are no longer those from before the scroll, and must not be moved.
  bool FPaintedAhead = false;

  std::unique_ptr<TScreen> FScreen;
  std::unique_ptr<TXtermScreen> FXterm;
  TCharset FCharset = TCharset::Utf8;
  std::vector<TDirtyRect> FChangedBands;             // see TakeChanges; kept to save allocations
  std::u32string FRunCells;                          // one run's cells while painting, kept to save allocations
  TXtermLineSize FRunSize = TXtermLineSize::Single;  // of the row being painted
  TCaptureLog FLog;
  bool FCaretShown = false;
  bool FCaretCreated = false;
  int FLineHeight = 1;
  int FCharWidth = 1;
  int FInternalLeading = 0;
  int FFontHeight = 0;
  platform::TFont FFont;
  TScrollBar FVScrollBar;
  int FTopLine = 0;
  int FScrollback = kDefaultScrollback;
  int FScrollOffset = 0;
  std::int64_t FSelectSeenTop = 0;  // the view's top row at the last update
  int FWheelRest = 0;               // a part of a notch not yet turned into rows
  int FStripGrab = -1;              // while the thumb is dragged: the pointer below its top
  mutable TXtermRow FFittedRow;     // a kept row of another width, fitted to the screen's
  platform::TMessageHook FSavedOnMessage;
  bool FHookInstalled = false;
  bool FCircumflexPending = false;
  bool FDiaeresisPending = false;
  bool FLeftDown = false;
  TColorTable FColorTable = InitialColorTable;
  TLifeline FLifeline;
};

// The published view: exactly the custom view, with its properties public.
class TZuzeRI : public TCustomZuzeRI {
 public:
  using TCustomZuzeRI::TCustomZuzeRI;

  using TCustomZuzeRI::AutoCR;
  using TCustomZuzeRI::AutoLF;
  using TCustomZuzeRI::AutoRepaint;
  using TCustomZuzeRI::AutoWrap;
  using TCustomZuzeRI::BorderStyle;
  using TCustomZuzeRI::CharWidth;
  using TCustomZuzeRI::Cols;
  using TCustomZuzeRI::FKeys;
  using TCustomZuzeRI::Font;
  using TCustomZuzeRI::LineHeight;
  using TCustomZuzeRI::LocalEcho;
  using TCustomZuzeRI::Log;
  using TCustomZuzeRI::MonoChrome;
  using TCustomZuzeRI::OnClick;
  using TCustomZuzeRI::OnKeyBuffer;
  using TCustomZuzeRI::OnKeyPress;
  using TCustomZuzeRI::OnMouseDown;
  using TCustomZuzeRI::OnMouseMove;
  using TCustomZuzeRI::OnMouseUp;
  using TCustomZuzeRI::Rows;
  using TCustomZuzeRI::SetAutoCR;
  using TCustomZuzeRI::SetAutoLF;
  using TCustomZuzeRI::SetAutoWrap;
  using TCustomZuzeRI::SetCols;
  using TCustomZuzeRI::SetFont;
  using TCustomZuzeRI::SetLineHeight;
  using TCustomZuzeRI::SetLog;
  using TCustomZuzeRI::SetRows;
  using TCustomZuzeRI::SetXlat;
  using TCustomZuzeRI::Xlat;
};

}  // namespace corvane
