// The main window's handlers on a fake form, with the telnet terminal on
// recording ports; the Qt window's tests cover the rest with a real form.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include "app/centring.h"
#include "tests/support/temp_ini.h"
#include "tests/telnet/telnet_peer.h"
#include "tests/view/support/view_rig.h"

namespace corvane {
namespace {

class TFakeForm final : public TMainWindowControls {
 public:
  std::string Address;
  std::vector<std::string> Items;
  bool ConnectEnabled = true, DisconnectEnabled = false, CaptureChecked = false, EmulationChecked = false;
  std::string Title;
  std::string Panels[3] = {kDisconnectedText, kCaptureOffText, ""};
  TOrigin MovedTo{-1, -1};

  std::string AddressText() override { return Address; }
  void SetAddressText(const std::string& text) override { Address = text; }
  std::vector<std::string> AddressItems() override { return Items; }
  void AddAddressItem(const std::string& text) override { Items.push_back(text); }
  void SetConnectEnabled(bool enabled) override { ConnectEnabled = enabled; }
  void SetDisconnectEnabled(bool enabled) override { DisconnectEnabled = enabled; }
  void SetPanelText(int panel, const std::string& text) override { Panels[panel] = text; }
  void SetCaptureChecked(bool checked) override { CaptureChecked = checked; }
  void SetEmulationChecked(bool checked) override { EmulationChecked = checked; }
  void SetSessionCommandsEnabled(bool enabled) override { SessionCommandsEnabled = enabled; }
  bool SessionCommandsEnabled = false;
  void SetTitle(const std::string& title) override { Title = title; }
  int OuterWidth() override { return 661; }
  int OuterHeight() override { return 427; }
  int ScreenWidth() override { return Screen.Width; }
  int ScreenHeight() override { return Screen.Height; }
  platform::TSize Screen{1024, 768};
  void MoveTo(int left, int top) override { MovedTo = {left, top}; }
  // The terminal's window takes the size given, as a real form's does.
  void SetTerminalClientSize(platform::TSize size) override {
    TerminalClient = size;
    if (Window != nullptr) Window->Client = {0, 0, size.Width, size.Height};
  }
  void SetTerminalMinimumSize(platform::TSize size) override { TerminalMinimum = size; }
  platform::TSize TerminalClient{-1, -1}, TerminalMinimum{-1, -1};
  recording::TRecordingWindow* Window = nullptr;
  void RepaintNow() override {}
  void ShowAboutBox() override {}
  void CloseApplication() override {}
};

struct TWindowRig {
  TWindowRig() { form.Window = &rig.Window; }
  recording::TViewRig rig;
  TTnZuzeRI terminal{rig.Ports()};
  TFakeForm form;
  TMainWindow window{form, terminal, rig.Window, rig.Clipboard};
};

TEST(MainWindowTest, StartingCentresTheWindowMeasuresTheFontAndConnectsTheCommandLineHost) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.rig.Window.FontHeight = -15;
  w.window.FormCreate({});
  EXPECT_EQ(w.form.MovedTo, (TOrigin{181, 170}));
  EXPECT_EQ(w.terminal.LineHeight(), 15);
  EXPECT_EQ(w.form.Address, "");
  w.rig.Window.FontHeight = 0;  // a font without height still leaves rows of a pixel
  w.rig.Window.Metrics = {8, 0, 0};
  w.terminal.SetFont(w.terminal.Font());
  w.window.FormCreate({TCommandLine::TAction::Run, "127.0.0.1", server.Port(), ""});
  EXPECT_EQ(w.terminal.LineHeight(), 1);
  EXPECT_EQ(w.form.Address, "127.0.0.1:" + server.Port());
  ASSERT_TRUE(server.Accept());
  EXPECT_TRUE(tntest::PumpUntil([&] { return w.form.Panels[0] == kConnectedText; }));
  EXPECT_EQ(w.form.Items, (std::vector<std::string>{"127.0.0.1:" + server.Port()}));
}

// The address box shows the command line's address as it would be typed:
// with its port when one was given, an IPv6 literal then in brackets.
TEST(MainWindowTest, TheAddressBoxShowsTheCommandLinesAddressWithItsPort) {
  tntest::ScriptedServer server;
  const std::string port = server.Port();
  // Literal addresses: a name's lookup would run on past the rig's sockets.
  const std::pair<TCommandLine, std::string> cases[] = {
      {{TCommandLine::TAction::Run, "127.0.0.1", port, ""}, "127.0.0.1:" + port},
      {{TCommandLine::TAction::Run, "::1", port, ""}, "[::1]:" + port},
      {{TCommandLine::TAction::Run, "127.0.0.1", "", ""}, "127.0.0.1"},
  };
  for (const auto& [line, shown] : cases) {
    TWindowRig w;
    w.terminal.Port = port;  // the program's port, for the address without one
    w.window.FormCreate(line);
    EXPECT_EQ(w.form.Address, shown);
    w.window.bDisconnectClick();
  }
}

// An INI file that cannot be read leaves the defaults and is said once, by
// the error report, after start-up has done all the rest.
TEST(MainWindowTest, AnUnreadableIniFileIsReportedAfterStartUp) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.terminal.HostName = std::string("host");
  const std::string folder = ::testing::TempDir();
  w.terminal.IniFilename = folder;
  w.rig.Window.FontHeight = -15;
  try {
    w.window.FormCreate({TCommandLine::TAction::Run, "127.0.0.1", server.Port(), ""});
    ADD_FAILURE() << "nothing reported";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(e.what(), folder + std::string(" is not a regular file; the default settings are used"));
  }
  EXPECT_EQ(w.terminal.LineHeight(), 15);
  EXPECT_EQ(w.terminal.Rows(), 25);
  EXPECT_TRUE(server.Accept());
}

// A face taller than the designed line (the substitutes are) grows the line;
// a face whose leading is clipped keeps it. The terminal control grows to
// show the settings' whole grid and the scroll bar's 16-pixel strip beside
// it, within the room the screen leaves, and may be made no smaller than that.
TEST(MainWindowTest, TheLineHoldsTheWholeFontAndTheTerminalTheWholeGrid) {
  const test::TTempIni ini("[fits]\n[wide]\nRows=30\nCols=100\n[tall]\nRows=50\n");
  struct TCase {
    const char* Section;
    platform::TTextMetrics Metrics;
    int LineHeight;
    platform::TSize Terminal;
  };
  for (const TCase& c : {TCase{"fits", {8, 12, 0}, 12, {-1, -1}}, TCase{"fits", {8, 15, 3}, 12, {-1, -1}},
                         TCase{"wide", {8, 15, 0}, 15, {6 + 100 * 8 + 6 + 16, 4 + 30 * 15 + 4}},
                         TCase{"tall", {8, 16, 0}, 16, {700, 768 - (427 - 420)}}}) {
    TWindowRig w;
    w.rig.Window.Client = {0, 0, 700, 420};
    w.rig.Window.Metrics = c.Metrics;
    w.terminal.IniFilename = ini.Path();
    w.terminal.HostName = c.Section;
    w.window.FormCreate({});
    EXPECT_EQ(w.terminal.LineHeight(), c.LineHeight) << c.Section;
    EXPECT_EQ(w.form.TerminalClient, c.Terminal) << c.Section << " " << c.LineHeight;
    // The window may always be as small as it was made: a grid taller than the screen included.
    EXPECT_LE(w.form.TerminalMinimum.Height, w.rig.Window.Client.Bottom) << c.Section;
    EXPECT_LE(w.form.TerminalMinimum.Width, w.rig.Window.Client.Right) << c.Section;
  }
}

// The command line's emulation replaces the stored host's for the session:
// the grid may then grow past the classic 50 x 132 and the window with it,
// on a screen with room for it.
TEST(MainWindowTest, TheCommandLinesEmulationReplacesTheSettings) {
  const test::TTempIni ini("[big]\nEmulation=Classic\nRows=60\nCols=200\n");
  for (const auto emulation : {TEmulation::Xterm, TEmulation::Classic}) {
    TWindowRig w;
    w.form.Screen = {2000, 1200};
    w.rig.Window.Metrics = {8, 12, 0};
    w.terminal.IniFilename = ini.Path();
    w.terminal.HostName = "big";
    TCommandLine line;
    line.Emulation = emulation;
    w.window.FormCreate(line);
    const bool xterm = emulation == TEmulation::Xterm;
    EXPECT_EQ(w.terminal.Emulation(), emulation);
    EXPECT_EQ(w.terminal.Rows(), xterm ? 60 : 50);
    EXPECT_EQ(w.terminal.Cols(), xterm ? 200 : 132);
    EXPECT_EQ(w.terminal.FKeys, xterm ? 3 : 1);
  }
}

// The check mark and the panel show the state capture is really in, also
// after a switch that failed either way.
TEST(MainWindowTest, TheCaptureMarkAndPanelFollowTheCaptureState) {
  TWindowRig w;
  w.window.CaptureClick();
  EXPECT_EQ(w.form.Panels[1], kCaptureOnText);
  EXPECT_TRUE(w.form.CaptureChecked);
  w.rig.Disk.CloseError = 5;
  EXPECT_THROW(w.window.CaptureClick(), EInOutError);
  EXPECT_FALSE(w.terminal.Log());
  EXPECT_EQ(w.form.Panels[1], kCaptureOffText);
  EXPECT_FALSE(w.form.CaptureChecked);
  w.rig.Disk.OpenAppendError = w.rig.Disk.RewriteError = 5;
  EXPECT_THROW(w.window.CaptureClick(), EInOutError);
  EXPECT_EQ(w.form.Panels[1], kCaptureOffText);
  EXPECT_FALSE(w.form.CaptureChecked);
}

// A write that fails while data arrives (disk full) stops capture: the mark
// and the panel follow, and the report names the file and the reason. The
// same when the "Connecting to" line meets the failure.
TEST(MainWindowTest, ACaptureThatStoppedOnAFailedWriteShowsAsOff) {
  std::vector<std::string> reports;
  auto previous = platform::SetHandlerExceptionSink([&](const std::string& m) { reports.push_back(m); });
  tntest::ScriptedServer server;
  TWindowRig w;
  w.form.Address = "127.0.0.1";
  w.terminal.Port = server.Port();
  w.window.bConnectClick();
  ASSERT_TRUE(server.Accept());
  w.window.CaptureClick();
  w.rig.Disk.WriteError = 28;
  ASSERT_TRUE(server.Send("data"));
  EXPECT_TRUE(tntest::PumpUntil([&] { return !reports.empty(); }));
  EXPECT_EQ(w.form.Panels[1], kCaptureOffText);
  EXPECT_FALSE(w.form.CaptureChecked);
  ASSERT_EQ(reports.size(), 1u);
  const std::string& report = reports[0];
  EXPECT_TRUE(report.starts_with("ZUZERI.LOG: ") && report.ends_with(" (I/O error 28)") && report.size() > 27)
      << report;

  w.window.bDisconnectClick();
  EXPECT_TRUE(tntest::PumpUntil([&] { return w.form.Panels[0] == kDisconnectedText; }));
  w.rig.Disk.WriteError = 0;
  w.window.CaptureClick();
  w.rig.Disk.WriteError = 28;
  EXPECT_THROW(w.window.bConnectClick(), EInOutError);
  EXPECT_EQ(w.form.Panels[1], kCaptureOffText);
  EXPECT_FALSE(w.form.CaptureChecked);
  platform::SetHandlerExceptionSink(previous);
}

TEST(MainWindowTest, CopyTakesTheWholeSelectionHoweverLarge) {
  TWindowRig w;
  w.rig.Window.Client = {0, 0, 1200, 700};
  w.terminal.SetCols(132);
  w.terminal.SetRows(50);
  const int right = 6 + 131 * w.terminal.CharWidth() + 1, bottom = 4 + 45 * w.terminal.LineHeight() + 1;
  w.terminal.ButtonDown(TMouseButton::mbLeft, ssLeft, 7, 5);
  w.terminal.MouseMoved(ssLeft, 7, 5);
  w.terminal.MouseMoved(ssLeft, right, bottom);
  w.terminal.ButtonUp(TMouseButton::mbLeft, 0, right, bottom);
  w.window.Copy1Click();
  EXPECT_EQ(w.rig.Clipboard.Contents.size(), 46u * 132 + 45 * 2);  // rows and CR LFs, beyond 2500 bytes
}

// Pasted text reaches the host as typed text does, not as the screen's code
// page: with the default settings the host echoes the letters themselves.
TEST(MainWindowTest, PasteSendsTheClipboardTextAsCodePage1252) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.terminal.HostName = "127.0.0.1";
  w.terminal.Port = server.Port();
  w.terminal.SetXlat(false);  // the default settings
  w.terminal.Connect();
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Panels[0] == kConnectedText; }));
  w.rig.Clipboard.Pasted = U"caf\u00E9 \u2500\n";
  w.window.Paste1Click();
  EXPECT_EQ(server.TakeReplies(8), "caf\xE9 ?\r\n");
}

}  // namespace
// Terminal, Xterm emulation switches the session's emulation both ways and
// shows it checked; a host's title shows until its session ends.
TEST(MainWindowTest, TheEmulationItemSwitchesTheSessionAndTheHostsTitleLastsItsSession) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.window.FormCreate({TCommandLine::TAction::Run, "127.0.0.1", server.Port(), ""});
  ASSERT_TRUE(server.Accept());
  EXPECT_FALSE(w.form.EmulationChecked);
  w.window.EmulationClick();
  EXPECT_TRUE(w.form.EmulationChecked);
  ASSERT_NE(w.terminal.Xterm(), nullptr);
  ASSERT_TRUE(server.Feed(w.terminal.TnCnx(), "\x1b]2;demo@vm: ~\x07"));
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Title == "demo@vm: ~ - Corvane Telnet"; }));
  server.Hangup();
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Title == kProgramTitle; }));
  w.window.EmulationClick();
  EXPECT_FALSE(w.form.EmulationChecked);
  EXPECT_EQ(w.terminal.Xterm(), nullptr);
}

// Each Connect applies the settings of the host typed (its section, else
// [Default]) before the host's first byte: a host that sends at once is read
// with them. The menu's emulation lasts its session.
TEST(MainWindowTest, EachConnectAppliesTheTypedHostsSettingsFirst) {
  const test::TTempIni ini("[127.0.0.1]\nEmulation=Xterm\nRows=30\nCols=100\n[Default]\nRows=20\n");
  tntest::ScriptedServer server;
  TWindowRig w;
  w.terminal.IniFilename = ini.Path();
  const auto session = [&](const std::string& address) {
    w.form.Address = address;
    w.window.bConnectClick();
    EXPECT_TRUE(server.Accept()) << address;
    EXPECT_TRUE(server.Send("\x1b[2;3Hx"));
    EXPECT_TRUE(tntest::PumpUntil([&] { return w.terminal.Xterm() && w.terminal.Xterm()->Cell(1, 2).Ch == U'x'; }))
        << address;
    EXPECT_EQ(w.terminal.Rows() * 1000 + w.terminal.Cols(), 30100) << address;
  };
  session("127.0.0.1:" + server.Port());
  w.window.EmulationClick();
  EXPECT_EQ(w.terminal.Xterm(), nullptr);
  w.window.bDisconnectClick();
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Panels[0] == kDisconnectedText; }));
  session(" 127.0.0.1 " + server.Port() + " ");
  EXPECT_EQ(w.form.Items,
            (std::vector<std::string>{"127.0.0.1:" + server.Port(), " 127.0.0.1 " + server.Port() + " "}));
  w.window.bDisconnectClick();
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Panels[0] == kDisconnectedText; }));
  w.form.Address = "localhost:" + server.Port();
  w.window.bConnectClick();
  EXPECT_EQ(w.terminal.Rows() * 1000 + w.terminal.Cols(), 20080);
  EXPECT_EQ(w.terminal.Xterm(), nullptr);
}

// A bad address is reported and nothing else happens; one without a port
// takes the terminal's own (here the command line's), whatever was typed before.
TEST(MainWindowTest, TheAddressBoxGivesTheHostAndPortOrSaysWhyNot) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.window.FormCreate({TCommandLine::TAction::Run, "", server.Port(), ""});
  w.form.Address = "127.0.0.1:0";
  try {
    w.window.bConnectClick();
    ADD_FAILURE() << "nothing reported";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "bad port '0': give 1-65535 or a service name");
  }
  EXPECT_TRUE(w.form.ConnectEnabled);
  EXPECT_TRUE(w.form.Items.empty());
  w.form.Address = "127.0.0.1:" + tntest::FreePort();
  w.window.bConnectClick();
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Items.size() == 1 && w.form.ConnectEnabled; }));
  w.form.Address = "127.0.0.1";
  w.window.bConnectClick();
  EXPECT_EQ(w.terminal.Port, server.Port());
  EXPECT_TRUE(server.Accept());
}

// Send Break and Are You There are offered while connected and reach the
// host as telnet commands; after the session they are withdrawn, and the
// handlers send nothing even so.
TEST(MainWindowTest, BreakAndAreYouThereGoToTheConnectedHostOnly) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.window.SendBreakClick();
  w.form.Address = "127.0.0.1:" + server.Port();
  w.window.bConnectClick();
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.SessionCommandsEnabled; }));
  w.window.SendBreakClick();
  w.window.AreYouThereClick();
  EXPECT_EQ(server.TakeReplies(4), tntest::B({255, 243, 255, 246}));
  w.window.bDisconnectClick();
  ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.Panels[0] == kDisconnectedText; }));
  EXPECT_FALSE(w.form.SessionCommandsEnabled);
  w.window.AreYouThereClick();
}

// Xterm: the grid follows the terminal's area in whole cells, keeps its
// text and the host learns the new size; Classic: the grid stays, and the
// window may not be made smaller than it.
TEST(MainWindowTest, TheXtermGridFollowsTheWindowAndTheClassicGridStays) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.rig.Window.Metrics = {8, 12, 0};
  w.window.FormCreate({TCommandLine::TAction::Run, "127.0.0.1", server.Port(), "", TEmulation::Xterm});
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(server.Feed(w.terminal.TnCnx(), tntest::B({255, 253, 31}) + "kept"));
  server.TakeReplies(12);
  // Margins of 6 and 4 pixels around the cells, and the scroll bar's strip of 16.
  EXPECT_EQ(w.form.TerminalMinimum, (platform::TSize{6 + 20 * 8 + 6 + 16, 4 + 4 * 12 + 4}));
  w.rig.Window.Client = {0, 0, 6 + 120 * 8 + 6 + 16 + 7, 4 + 40 * 12 + 4 + 11};
  w.window.TerminalResized();
  EXPECT_EQ(w.terminal.Rows() * 1000 + w.terminal.Cols(), 40120);
  EXPECT_EQ(w.terminal.Xterm()->Cell(2, 3).Ch, U't');
  EXPECT_EQ(server.TakeReplies(9), tntest::B({255, 250, 31, 0, 120, 0, 40, 255, 240}));
  w.window.EmulationClick();
  const platform::TSize classic = w.terminal.GridClientSize();
  EXPECT_EQ(w.form.TerminalMinimum, classic);
  w.rig.Window.Client = {0, 0, 2000, 1000};
  w.window.TerminalResized();
  EXPECT_EQ(w.terminal.Rows() * 1000 + w.terminal.Cols(), 25080);
}

// The command line's emulation holds for every Connect of the run, over the
// host's own choice.
TEST(MainWindowTest, TheCommandLinesEmulationHoldsForEveryConnect) {
  const test::TTempIni ini("[127.0.0.1]\nEmulation=Xterm\n");
  tntest::ScriptedServer server;
  TWindowRig w;
  w.terminal.IniFilename = ini.Path();
  TCommandLine line;
  line.Emulation = TEmulation::Classic;
  w.window.FormCreate(line);
  for (int connect = 0; connect < 2; ++connect) {
    w.form.Address = "127.0.0.1:" + server.Port();
    w.window.bConnectClick();
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(w.terminal.Emulation(), TEmulation::Classic) << connect;
    EXPECT_FALSE(w.form.EmulationChecked);
    w.window.bDisconnectClick();
    ASSERT_TRUE(tntest::PumpUntil([&] { return w.form.ConnectEnabled; }));
  }
}

// Disconnect is offered while the attempt is under way and ends it: during
// the name's look-up (which ends without a closed event) and during the
// connection itself.
TEST(MainWindowTest, DisconnectAbandonsAnAttemptUnderWay) {
  tntest::ScriptedServer server;
  TWindowRig w;
  for (const std::string host : {"localhost", "127.0.0.1"}) {
    w.form.Address = host + ":" + server.Port();
    w.window.bConnectClick();
    EXPECT_TRUE(w.form.DisconnectEnabled) << host;
    EXPECT_FALSE(w.form.ConnectEnabled) << host;
    w.window.bDisconnectClick();
    EXPECT_FALSE(w.form.DisconnectEnabled) << host;
    EXPECT_TRUE(w.form.ConnectEnabled) << host;
    EXPECT_EQ(w.form.Panels[0], kDisconnectedText) << host;
    EXPECT_FALSE(tntest::PumpUntil([&] { return w.form.Panels[0] == kConnectedText; }, 300)) << host;
  }
}

// A host's 132-column mode (allowed by mode 40) widens the grid, tells the
// host and grows the window to show it.
TEST(MainWindowTest, AHostsColumnModeWidensTheWindowAndTellsTheHost) {
  tntest::ScriptedServer server;
  TWindowRig w;
  w.rig.Window.Metrics = {8, 12, 0};
  w.form.Screen = {2000, 1000};
  w.window.FormCreate({TCommandLine::TAction::Run, "127.0.0.1", server.Port(), "", TEmulation::Xterm});
  ASSERT_TRUE(server.Accept());
  ASSERT_TRUE(server.Feed(w.terminal.TnCnx(), tntest::B({255, 253, 31})));
  server.TakeReplies(12);
  ASSERT_TRUE(server.Feed(w.terminal.TnCnx(), "\x1b[?40h\x1b[?3h"));
  EXPECT_EQ(w.terminal.Cols(), 132);
  const auto rows = static_cast<unsigned char>(w.terminal.Rows());
  EXPECT_EQ(server.TakeReplies(9), tntest::B({255, 250, 31, 0, 132, 0, rows, 255, 240}));
  EXPECT_EQ(w.form.TerminalClient.Width, 6 + 132 * 8 + 6 + 16);
}

}  // namespace corvane
