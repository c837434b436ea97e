// The telnet terminal as the user meets it, against scripted servers on
// loopback and the view's recording adapters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/socket_errors.h"
#include "platform/diagnostics.h"
#include "platform/message_loop.h"
#include "telnet/tnzuzeri.h"
#include "tests/telnet/loopback_peer.h"
#include "tests/view/support/view_rig.h"

namespace corvane::tntest {
namespace {

using Lines = std::vector<std::string>;

// A terminal on recording ports that logs its session events.
struct Terminal {
  recording::TViewRig rig;
  TTnZuzeRI term{rig.Ports()};
  Lines events;
  int alerts = 0;

  Terminal() {
    term.OnSessionConnected = [this](TTnZuzeRI& t) { events.push_back("connected:" + std::to_string(t.Error)); };
    term.OnSessionClosed = [this](TTnZuzeRI& t) { events.push_back("closed:" + std::to_string(t.Error)); };
    platform::SetAlertSink([this] { ++alerts; });
  }
  ~Terminal() { platform::SetAlertSink({}); }

  // Connects to the server and waits for the outcome.
  bool ConnectTo(ScriptedServer& server) {
    term.HostName = "127.0.0.1";
    term.Port = server.Port();
    term.Connect();
    return server.Accept() && PumpUntil([&] { return !events.empty(); });
  }
  // The screen's first rows, without trailing blanks.
  Lines Rows(int count) const {
    Lines rows;
    for (int r = 0; r < count; ++r) {
      std::string text(reinterpret_cast<const char*>(term.Screen().Lines[r]->Chars.data()), 80);
      rows.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
    }
    return rows;
  }
};

std::string RefusedPort() {
  ScriptedServer gone;
  return gone.Port();
}

// The session ends with the same text whether the host or the user closes it.
TEST(TnZuzeRISession, AConnectCycleShowsItsStatusLinesAroundTheData) {
  for (const bool hostCloses : {true, false}) {
    ScriptedServer server;
    Terminal t;
    ASSERT_TRUE(t.ConnectTo(server));
    EXPECT_EQ(t.rig.Window.CallsStartingWith("SetFocus").size(), 1u);
    ASSERT_TRUE(server.Feed(t.term.TnCnx(), "hello"));
    if (hostCloses)
      server.Hangup();
    else
      t.term.Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return t.events.size() == 2; }));
    EXPECT_EQ(t.Rows(5), (Lines{"Connecting to '127.0.0.1'", "Connected", "hello", "*** Server has closed ***", ""}));
    EXPECT_EQ(t.events, (Lines{"connected:0", "closed:0"}));
    EXPECT_EQ(t.alerts, 0);
  }
}

TEST(TnZuzeRISession, ARefusedConnectionShowsTheErrorTextBeepsAndEndsClosed) {
  Terminal t;
  t.term.HostName = "127.0.0.1";
  t.term.Port = RefusedPort();
  t.term.Connect();
  ASSERT_TRUE(PumpUntil([&] { return t.events.size() == 2; }));
  EXPECT_EQ(t.Rows(4), (Lines{"Connecting to '127.0.0.1'", "Connection failed: " + SocketErrorDesc(10061), "",
                              "*** Server has closed ***"}));
  EXPECT_EQ(t.events, (Lines{"connected:10061", "closed:0"}));
  EXPECT_EQ(t.term.Error, 0);
  EXPECT_EQ(t.alerts, 1);
}

TEST(TnZuzeRISession, ConnectDoesNothingWithoutAHostAndWritesNothingWhenTheAddressIsRejected) {
  Terminal t;
  t.rig.ClearRecords();
  t.term.Connect();
  EXPECT_EQ(t.Rows(1), Lines{"ZuzeRI"});
  EXPECT_TRUE(t.rig.Window.Calls.empty());

  t.term.HostName = "127.0.0.1";
  t.term.Port = "no-such-service";
  EXPECT_THROW(t.term.Connect(), ESocketException);
  EXPECT_EQ(t.Rows(1), Lines{""});
}

TEST(TnZuzeRISession, ADataHandlerMayShortenOrEmptyTheBlock) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  struct Case { int len; std::string shown; };
  const std::vector<Case> cases = {{6, "abcdef"}, {3, "abc"}, {0, ""}, {-4, ""}, {99, "abcdef"}};
  for (const Case& c : cases) {
    std::string seen;
    t.term.OnDataAvailable = [&](TTnZuzeRI&, const char* buffer, int& len) {
      seen.assign(buffer, static_cast<size_t>(len));
      len = c.len;
    };
    t.term.Screen().SetCursor(0, 5);
    t.term.Screen().FeedText("      ");
    t.term.Screen().SetCursor(0, 5);
    ASSERT_TRUE(server.Feed(t.term.TnCnx(), "abcdef"));
    EXPECT_EQ(seen, "abcdef");
    EXPECT_EQ(t.Rows(6)[5], c.shown) << c.len;
  }
}

// Typed characters are neither translated nor echoed; key sequences go out
// as the table has them, lower-case letters included.
TEST(TnZuzeRIKeys, UpperLockCapitalisesTypedLettersOnly) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  t.term.UpperLock = true;
  t.term.LocalEcho = true;
  t.term.SetXlat(true);
  t.term.FKeys = 0;
  t.term.OnKeyPress = [](TCustomZuzeRI&, char& key) {
    if (key == 'x') key = 0;
  };
  for (char key : std::string("lsx1\xA3")) t.term.KeyPress(key);
  t.rig.Keyboard.Ctrl = true;
  platform::TMessage ctrlF1 = platform::MakeKeyDown(t.rig.Window.Handle(), 112, 0x3B, false);
  bool handled = false;
  t.term.AppMessageHandler(ctrlF1, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(server.TakeReplies(8), "LS1\xA3\x1b[k");
  EXPECT_EQ(t.Rows(3)[2], "");
}

TEST(TnZuzeRIKeys, WithoutAConnectionTypingIsSilentAndSequencesRaise) {
  Terminal t;
  char key = 'a';
  EXPECT_NO_THROW(t.term.KeyPress(key));
  EXPECT_THROW(t.term.DoKeyBuffer("\x1b[A", 3), ESocketException);
  EXPECT_THROW(t.term.SendStr("x"), ESocketException);
}

// A failing capture file must not hide the host's data or the status lines:
// capture goes off and each failure is reported once, from the message loop.
TEST(TnZuzeRICapture, AFailingCaptureFileEndsCaptureButEverythingIsStillShown) {
  Lines reports;
  platform::SetHandlerExceptionSink([&](const std::string& message) { reports.push_back(message); });
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  t.term.SetLog(true);
  t.rig.Disk.WriteError = 28;
  ASSERT_TRUE(server.Feed(t.term.TnCnx(), "first"));
  ASSERT_TRUE(server.Feed(t.term.TnCnx(), " second"));
  EXPECT_FALSE(t.term.Log());
  EXPECT_TRUE(PumpUntil([&] { return !reports.empty(); }));

  t.rig.Disk.WriteError = 0;
  t.term.SetLog(true);
  t.rig.Disk.WriteError = 28;
  t.term.Disconnect();
  EXPECT_EQ(t.events, (Lines{"connected:0", "closed:0"}));
  EXPECT_TRUE(PumpUntil([&] { return reports.size() > 1; }));
  platform::WaitAndProcessMessages(20);
  platform::SetHandlerExceptionSink({});
  EXPECT_EQ(t.Rows(4), (Lines{"Connecting to '127.0.0.1'", "Connected", "first second", "*** Server has closed ***"}));
  EXPECT_EQ(reports, (Lines{"I/O error 28", "I/O error 28"}));
  EXPECT_FALSE(t.term.Log());
}

}  // namespace
}  // namespace corvane::tntest
