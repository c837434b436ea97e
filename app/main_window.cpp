#include "app/main_window.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "app/address.h"
#include "app/centring.h"
#include "app/terminal_area.h"
#include "app/terminal_design.h"
#include "emulator/xterm_screen.h"
#include "platform/ascii_text.h"

namespace corvane {

void ApplyDesignedSettings(TTnZuzeRI& terminal) {
  terminal.SetFont(kTerminalFont);
  terminal.SetXlat(false);
  terminal.SetLineHeight(kTerminalLineHeight);
  terminal.HostName = kDefaultHost;
  terminal.SetLocation(kTerminalLocation);
}

TMainWindow::TMainWindow(TMainWindowControls& form, TTnZuzeRI& terminal, platform::TWindowPort& terminalWindow,
                         platform::TClipboardPort& clipboard)
    : form_(form), terminal_(terminal), terminalWindow_(terminalWindow), clipboard_(clipboard) {
  terminal_.OnSessionConnected = [this](TTnZuzeRI& sender) { tZuzeRISessionConnected(sender); };
  terminal_.OnSessionClosed = [this](TTnZuzeRI& sender) { tZuzeRISessionClosed(sender); };
  terminal_.OnCaptureFailed = [this](TTnZuzeRI&) { ShowCaptureState(); };
  terminal_.OnTitle = [this](TTnZuzeRI& sender, std::string_view title) { tZuzeRITitle(sender, title); };
  terminal_.OnGridChanged = [this](TTnZuzeRI&) { ShowWholeGrid(); };
}

template <class TAction>
void TMainWindow::ShowingCaptureState(TAction action) {
  struct TShowAfter {
    TMainWindow& Window;
    ~TShowAfter() { Window.ShowCaptureState(); }
  } show{*this};
  action();
}

// The settings are those of the host the command line names, else of the
// stored host. The command line's emulation replaces the settings' for every
// connection of the run. The window is centred at the size it shows the
// settings' grid with. The address box shows the command line's address as
// it would be typed, port included, so a Connect from it goes to the same place.
void TMainWindow::FormCreate(const TCommandLine& commandLine) {
  emulation_ = commandLine.Emulation;
  if (!commandLine.Host.empty()) terminal_.HostName = commandLine.Host;
  if (!commandLine.Port.empty()) terminal_.Port = commandLine.Port;
  const std::string settingsProblem = ApplyHostSettings(emulation_);
  const TOrigin at = CentredOrigin(form_.ScreenWidth(), form_.ScreenHeight(), form_.OuterWidth(), form_.OuterHeight());
  form_.MoveTo(at.Left, at.Top);
  if (!commandLine.Host.empty()) {
    form_.SetAddressText(FormatAddress(commandLine.Host, commandLine.Port));
    form_.RepaintNow();
    terminal_.Connect();
    ShowAttempt();
  }
  // Said once, by the application's error report, after start-up has done all it would do.
  if (!settingsProblem.empty()) throw std::runtime_error(settingsProblem);
}

// The host's settings (its section, else [Default], else the built-in ones),
// the line as tall as the font's whole glyphs and the window showing the grid.
std::string TMainWindow::ApplyHostSettings(std::optional<TEmulation> emulation) {
  std::string problem = terminal_.LoadSettings(emulation);
  form_.SetEmulationChecked(terminal_.Emulation() == TEmulation::Xterm);
  terminal_.SetLineHeight(terminal_.WholeGlyphLineHeight(std::abs(terminalWindow_.FontPixelHeight(terminal_.Font()))));
  ShowWholeGrid();
  return problem;
}

// The room on the screen is what the window leaves around its terminal. The
// classic grid never changes with the window (a change clears the screen):
// the window grows to show it and cannot be made smaller than it. In Xterm
// the window takes the settings' grid where the screen has room, and from
// then on the grid follows the window in whole cells.
void TMainWindow::ShowWholeGrid() {
  const bool xterm = terminal_.Emulation() == TEmulation::Xterm;
  const platform::TSize now = TerminalClient();
  const platform::TSize room{form_.ScreenWidth() - (form_.OuterWidth() - now.Width),
                             form_.ScreenHeight() - (form_.OuterHeight() - now.Height)};
  const TGridGeometry geometry = Geometry();
  const platform::TSize size = xterm ? platform::TSize{std::min(geometry.Client.Width, room.Width),
                                                       std::min(geometry.Client.Height, room.Height)}
                                     : TerminalClientSize(now, geometry.Client, room);
  // A classic grid larger than the screen still leaves a window that fits it.
  form_.SetTerminalMinimumSize(xterm ? GridClient(kMinXtermGrid, geometry)
                                     : platform::TSize{std::min(geometry.Client.Width, size.Width),
                                                       std::min(geometry.Client.Height, size.Height)});
  if (!(size == now)) form_.SetTerminalClientSize(size);
  TerminalResized();
}

// Xterm: the grid of whole cells the terminal's area holds now; the host
// learns of it when it changes.
void TMainWindow::TerminalResized() {
  if (terminal_.Emulation() != TEmulation::Xterm) return;
  const TGridSize grid = FittedGrid(TerminalClient(), Geometry(), {kXtermMaxRows, kXtermMaxCols});
  terminal_.SetXtermGrid(grid.Rows, grid.Cols);
}

platform::TSize TMainWindow::TerminalClient() {
  const platform::TRect client = terminalWindow_.ClientRect();
  return {client.Right - client.Left, client.Bottom - client.Top};
}

TGridGeometry TMainWindow::Geometry() const {
  return {{terminal_.Rows(), terminal_.Cols()},
          terminal_.GridClientSize(),
          {terminal_.CharWidth(), terminal_.LineHeight()}};
}

// The address box's text gives the host and the port; without a port the
// terminal's own (the command line's or the designed one), not one typed
// before. The host's settings apply before its first byte can arrive. The
// "Connecting to" line is captured too, and a failing file stops capture.
void TMainWindow::bConnectClick() {
  const TAddress address = ParseAddress(form_.AddressText());
  if (!address.Error.empty()) throw std::runtime_error(address.Error);
  if (address.Host.empty()) return;
  if (!address.Port.empty() && !portBeforeTyped_) portBeforeTyped_ = terminal_.Port;
  terminal_.HostName = address.Host;
  if (!address.Port.empty()) {
    terminal_.Port = address.Port;
  } else if (portBeforeTyped_) {
    terminal_.Port = *std::exchange(portBeforeTyped_, std::nullopt);
  }
  const std::string settingsProblem = ApplyHostSettings(emulation_);
  form_.RepaintNow();
  ShowingCaptureState([this] { terminal_.Connect(); });
  ShowAttempt();
  if (!settingsProblem.empty()) throw std::runtime_error(settingsProblem);
}

// A name being looked up or a connection under way may take long: Disconnect
// abandons it, so it is offered from the start.
void TMainWindow::ShowAttempt() {
  if (terminal_.TnCnx().CnxSocket()->State() != TSocketState::Connecting) return;
  form_.SetDisconnectEnabled(true);
  form_.SetConnectEnabled(false);
}

// The other emulation for the current session: the host's settings applied
// again with it, the screen started afresh; the connection stays.
void TMainWindow::EmulationClick() {
  const bool xterm = terminal_.Emulation() != TEmulation::Xterm;
  ApplyHostSettings(xterm ? TEmulation::Xterm : TEmulation::Classic);
  form_.SetTitle(kProgramTitle);
}

// A host's title (OSC 0, 1, 2 in Xterm) goes before the program's name.
void TMainWindow::tZuzeRITitle(TTnZuzeRI&, std::string_view Title) {
  form_.SetTitle(Title.empty() ? std::string(kProgramTitle) : std::string(Title) + " - " + kProgramTitle);
}

// An attempt abandoned during its look-up ends without a closed event: the
// buttons are put back here then.
void TMainWindow::bDisconnectClick() {
  terminal_.Disconnect();
  if (terminal_.TnCnx().CnxSocket()->State() == TSocketState::Closed) tZuzeRISessionClosed(terminal_);
}

// Not connected (the items are disabled then, but a shortcut may race the
// session's end), nothing is sent.
void TMainWindow::SendBreakClick() { terminal_.TnCnx().SendBreak(); }
void TMainWindow::AreYouThereClick() { terminal_.TnCnx().SendAreYouThere(); }

// Raised for failed attempts too: the address joins the history either way,
// and the closed event that follows a failure puts the buttons back.
void TMainWindow::tZuzeRISessionConnected(TTnZuzeRI& Sender) {
  form_.SetDisconnectEnabled(true);
  form_.SetConnectEnabled(false);
  form_.SetSessionCommandsEnabled(Sender.Error == 0);
  form_.SetPanelText(0, kConnectedText);
  RememberAddress(form_.AddressText());
}

// The host's title ends with its session.
void TMainWindow::tZuzeRISessionClosed(TTnZuzeRI&) {
  form_.SetDisconnectEnabled(false);
  form_.SetConnectEnabled(true);
  form_.SetSessionCommandsEnabled(false);
  form_.SetPanelText(0, kDisconnectedText);
  form_.SetTitle(kProgramTitle);
}

void TMainWindow::RememberAddress(const std::string& address) {
  const std::vector<std::string> items = form_.AddressItems();
  const bool known = std::any_of(items.begin(), items.end(), [&](const std::string& item) {
    return platform::SameNameIgnoringCase(item, address);
  });
  if (!known) form_.AddAddressItem(address);
}

// The check mark and the panel show the capture state as it is after the
// switch, also when switching failed: inverting them blindly would leave
// them showing the opposite of the truth.
void TMainWindow::CaptureClick() {
  ShowingCaptureState([this] { terminal_.SetLog(!terminal_.Log()); });
}

void TMainWindow::ShowCaptureState() {
  form_.SetCaptureChecked(terminal_.Log());
  form_.SetPanelText(1, terminal_.Log() ? kCaptureOnText : kCaptureOffText);
}

// The whole selection, however large: the buffer is sized to it.
void TMainWindow::Copy1Click() { terminal_.CopySelection(clipboard_); }

void TMainWindow::Paste1Click() { terminal_.SendStr(terminal_.PasteBytes(clipboard_.Text())); }

void TMainWindow::About1Click() { form_.ShowAboutBox(); }

void TMainWindow::Exit1Click() { form_.CloseApplication(); }

}  // namespace corvane
