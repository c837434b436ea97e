// The main window's handlers on a fake form, with the telnet terminal on
// recording ports and scripted servers on loopback.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include "app/centring.h"
#include "tests/telnet/loopback_peer.h"
#include "tests/view/support/view_rig.h"

namespace corvane {
namespace {

using tntest::PumpUntil;
using tntest::ScriptedServer;

class TFakeForm final : public TMainWindowControls {
 public:
  std::string Address;
  std::vector<std::string> Items;
  bool ConnectEnabled = true, DisconnectEnabled = false, CaptureChecked = false;
  std::string Panels[3] = {kDisconnectedText, kCaptureOffText, ""};
  TOrigin MovedTo{-1, -1};
  int Repaints = 0, AboutShown = 0, Closed = 0;

  std::string AddressText() override { return Address; }
  void SetAddressText(const std::string& text) override { Address = text; }
  std::vector<std::string> AddressItems() override { return Items; }
  void AddAddressItem(const std::string& text) override { Items.push_back(text); }
  void SetConnectEnabled(bool enabled) override { ConnectEnabled = enabled; }
  void SetDisconnectEnabled(bool enabled) override { DisconnectEnabled = enabled; }
  void SetPanelText(int panel, const std::string& text) override { Panels[panel] = text; }
  void SetCaptureChecked(bool checked) override { CaptureChecked = checked; }
  int OuterWidth() override { return 661; }
  int OuterHeight() override { return 427; }
  int ScreenWidth() override { return 1024; }
  int ScreenHeight() override { return 768; }
  void MoveTo(int left, int top) override { MovedTo = {left, top}; }
  void RepaintNow() override { ++Repaints; }
  void ShowAboutBox() override { ++AboutShown; }
  void CloseApplication() override { ++Closed; }
};

struct TWindowRig {
  recording::TViewRig rig;
  TTnZuzeRI terminal{rig.Ports()};
  TFakeForm form;
  TMainWindow window{form, terminal, rig.Window, rig.Clipboard};

  bool ConnectByAddress(ScriptedServer& server, const std::string& address) {
    terminal.Port = server.Port();
    form.Address = address;
    window.bConnectClick();
    return server.Accept() && PumpUntil([&] { return form.Panels[0] == kConnectedText; });
  }
};

TEST(MainWindowTest, StartingCentresTheWindowAndConnectsTheCommandLineHost) {
  ScriptedServer server;
  TWindowRig w;
  w.rig.Window.FontHeight = 0;  // a font without height still leaves rows of a pixel
  TCommandLine commandLine;
  commandLine.Host = "127.0.0.1";
  commandLine.Port = server.Port();
  w.window.FormCreate(commandLine);
  EXPECT_EQ(w.form.MovedTo, (TOrigin{181, 170}));
  EXPECT_EQ(w.terminal.LineHeight(), 1);
  EXPECT_EQ(w.form.Address, "127.0.0.1");
  ASSERT_TRUE(server.Accept());
  EXPECT_TRUE(PumpUntil([&] { return w.form.Panels[0] == kConnectedText; }));
  EXPECT_FALSE(w.form.ConnectEnabled);
  EXPECT_TRUE(w.form.DisconnectEnabled);
  EXPECT_EQ(w.form.Items, (std::vector<std::string>{"127.0.0.1"}));
}

TEST(MainWindowTest, StartingWithoutAHostOnlyMeasuresTheFont) {
  TWindowRig w;
  w.rig.Window.FontHeight = -15;
  w.window.FormCreate({});
  EXPECT_EQ(w.terminal.LineHeight(), 15);
  EXPECT_EQ(w.form.Address, "");
  EXPECT_TRUE(w.rig.Window.CallsStartingWith("SetFocus").empty());  // no connection attempt
}

TEST(MainWindowTest, TheHistoryHoldsEachAddressOnceWhateverItsCase) {
  ScriptedServer server;
  TWindowRig w;
  for (const char* address : {"LocalHost", "localhost"}) {
    ASSERT_TRUE(w.ConnectByAddress(server, address)) << address;
    w.window.bDisconnectClick();
    ASSERT_TRUE(PumpUntil([&] { return w.form.Panels[0] == kDisconnectedText; }));
    EXPECT_TRUE(w.form.ConnectEnabled);
    EXPECT_FALSE(w.form.DisconnectEnabled);
  }
  EXPECT_EQ(w.form.Items, (std::vector<std::string>{"LocalHost"}));
}

TEST(MainWindowTest, ARefusedAddressJoinsTheHistoryAndEndsDisconnected) {
  std::string port;
  {
    const ScriptedServer gone;  // its port refuses once it is closed
    port = gone.Port();
  }
  TWindowRig w;
  w.terminal.Port = port;
  w.form.Address = "127.0.0.1";
  w.window.bConnectClick();
  EXPECT_TRUE(PumpUntil([&] { return !w.form.Items.empty() && w.form.Panels[0] == kDisconnectedText; }));
  EXPECT_TRUE(w.form.ConnectEnabled);
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
  w.rig.Disk.OpenAppendError = 5;
  w.rig.Disk.RewriteError = 5;
  EXPECT_THROW(w.window.CaptureClick(), EInOutError);
  EXPECT_EQ(w.form.Panels[1], kCaptureOffText);
  EXPECT_FALSE(w.form.CaptureChecked);
  EXPECT_EQ(w.form.Panels[2], "");
}

TEST(MainWindowTest, CopyTakesTheWholeSelectionAndPasteSendsTheClipboard) {
  ScriptedServer server;
  TWindowRig w;
  w.rig.Window.Client = {0, 0, 1200, 700};
  w.terminal.SetCols(132);
  w.terminal.SetRows(50);
  w.window.Copy1Click();
  EXPECT_EQ(w.rig.Clipboard.Contents, "");  // no selection: an empty text
  const int cw = w.terminal.CharWidth(), lh = w.terminal.LineHeight();
  w.terminal.ButtonDown(TMouseButton::mbLeft, ssLeft, 7, 5);
  w.terminal.MouseMoved(ssLeft, 7, 5);
  w.terminal.MouseMoved(ssLeft, 6 + 131 * cw + 1, 4 + 45 * lh + 1);
  w.terminal.ButtonUp(TMouseButton::mbLeft, 0, 6 + 131 * cw + 1, 4 + 45 * lh + 1);
  w.window.Copy1Click();
  EXPECT_EQ(w.rig.Clipboard.Contents.size(), 46u * 132 + 45 * 2);  // beyond 2500 bytes

  EXPECT_THROW(w.window.Paste1Click(), std::exception);  // not connected
  ASSERT_TRUE(w.ConnectByAddress(server, "127.0.0.1"));
  w.rig.Clipboard.Contents = "ls -l\r\n";
  w.window.Paste1Click();
  EXPECT_EQ(server.TakeReplies(7), "ls -l\r\n");
}

TEST(MainWindowTest, AboutAndExitGoToTheForm) {
  TWindowRig w;
  w.window.About1Click();
  w.window.Exit1Click();
  EXPECT_EQ(w.form.AboutShown, 1);
  EXPECT_EQ(w.form.Closed, 1);
}

}  // namespace
}  // namespace corvane
