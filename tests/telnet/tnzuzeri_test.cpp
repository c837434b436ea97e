// The telnet terminal as the user meets it, against scripted servers on
// loopback and the view's recording adapters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/socket_errors.h"
#include "platform/diagnostics.h"
#include "telnet/tnzuzeri.h"
#include "tests/telnet/telnet_peer.h"
#include "tests/view/support/view_rig.h"

namespace corvane::tntest {
namespace {

using Lines = std::vector<std::string>;

// A terminal on recording ports that logs its session events and beeps.
struct Terminal {
  recording::TViewRig rig;
  TTnZuzeRI term;
  Lines events;

  // A paced terminal updates streaming text at the ticks of the rig's clock.
  explicit Terminal(bool paced = false) : term(paced ? rig.PacedPorts() : rig.Ports()) {
    term.OnSessionConnected = [this](TTnZuzeRI& t) { events.push_back("connected:" + std::to_string(t.Error)); };
    term.OnSessionClosed = [this](TTnZuzeRI& t) { events.push_back("closed:" + std::to_string(t.Error)); };
    platform::SetAlertSink([this] { events.push_back("beep"); });
  }
  ~Terminal() { platform::SetAlertSink({}); }

  void Connect(const std::string& port) {
    term.HostName = "127.0.0.1";
    term.Port = port;
    term.Connect();
  }
  bool ConnectTo(ScriptedServer& server) {
    Connect(server.Port());
    return server.Accept() && PumpUntil([&] { return !events.empty(); });
  }
  // The first rows of the screen, without trailing blanks.
  Lines Rows(int count) const {
    Lines rows;
    for (int r = 0; r < count; ++r) {
      std::string text(reinterpret_cast<const char*>(term.Screen().Lines[r]->Chars.data()), 80);
      rows.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
    }
    return rows;
  }
};

// The closing text appears whether the host or the user ends the session.
TEST(TnZuzeRISession, AConnectCycleShowsItsStatusLinesAroundTheData) {
  for (const bool hostCloses : {true, false}) {
    ScriptedServer server;
    Terminal t;
    ASSERT_TRUE(t.ConnectTo(server));
    EXPECT_EQ(t.rig.Window.CallsStartingWith("SetFocus").size(), 1u);
    ASSERT_TRUE(server.Feed(t.term.TnCnx(), "hello"));
    hostCloses ? server.Hangup() : t.term.Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return t.events.size() == 2; }));
    EXPECT_EQ(t.Rows(5), (Lines{"Connecting to '127.0.0.1'", "Connected", "hello", "*** Server has closed ***", ""}));
    EXPECT_EQ(t.events, (Lines{"connected:0", "closed:0"}));
  }
}

// OnEndOfRecord is the connection's own event; the others name the terminal.
TEST(TnZuzeRISession, NegotiationEventsReachTheTerminalsHandlers) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  t.term.SetLocation("Desk 7");
  t.term.OnSendLoc = [&](TTnZuzeRI& s) { t.events.push_back(&s == &t.term ? "sendloc" : "?"); };
  t.term.OnTermType = [&](TTnZuzeRI& s) { t.events.push_back(&s == &t.term ? "termtype" : "?"); };
  t.term.SetOnEndOfRecord([&](TTnCnx& s) { t.events.push_back(&s == &t.term.TnCnx() ? "eor" : "?"); });
  ASSERT_TRUE(server.Feed(t.term.TnCnx(), B({255, 253, 23, 255, 250, 24, 1, 255, 240, 255, 239})));
  EXPECT_EQ(t.events, (Lines{"connected:0", "sendloc", "termtype", "eor"}));
  EXPECT_NE(server.TakeReplies(25).find("Desk 7"), std::string::npos);
}

// In Xterm the host is told "xterm" and the grid's size, now and whenever it
// changes; its queries are answered once the block is shown, its title and
// bell reach the owner. Classic refuses the size and stays "VT100".
TEST(TnZuzeRISession, XtermAnswersTheHostAndReportsTheSizeClassicDoesNot) {
  const std::string ask = B({255, 253, 24, 255, 253, 31, 255, 250, 24, 1, 255, 240});
  for (const bool xterm : {true, false}) {
    ScriptedServer server;
    Terminal t;
    if (xterm) t.term.SetEmulation(TEmulation::Xterm);
    t.term.OnTitle = [&](TTnZuzeRI& s, std::string_view title) {
      t.events.push_back(&s == &t.term ? "title:" + std::string(title) : "?");
    };
    ASSERT_TRUE(t.ConnectTo(server));
    ASSERT_TRUE(server.Feed(t.term.TnCnx(), ask + "\x1b]0;one\x07\x1b]2;\xC3\xA9t\xC3\xA9\x07\x1b[6n\x07"));
    const std::string xtermReplies =
        B({255, 251, 24, 255, 251, 31, 255, 250, 31, 0, 80, 0, 25, 255, 240, 255, 250, 24, 0}) + "xterm" +
        B({255, 240}) + "\x1b[3;1R";
    const std::string classicReplies = B({255, 251, 24, 255, 252, 31, 255, 250, 24, 0}) + "VT100" + B({255, 240});
    EXPECT_EQ(server.TakeReplies(xterm ? xtermReplies.size() : classicReplies.size()),
              xterm ? xtermReplies : classicReplies);
    t.term.SetRows(40);
    EXPECT_EQ(server.TakeReplies(xterm ? 9 : 0, xterm ? 2000 : 100),
              xterm ? B({255, 250, 31, 0, 80, 0, 40, 255, 240}) : "");
    // The title follows the block; the classic terminal rings at every BEL.
    EXPECT_EQ(t.events, xterm ? (Lines{"connected:0", "beep", "title:\xC3\xA9t\xC3\xA9"})
                              : (Lines{"connected:0", "beep", "beep", "beep"}));
  }
}

// Going back to Classic in a session stops the size reports and the xterm type.
TEST(TnZuzeRISession, LeavingXtermStopsTheSizeReportsAndAnswersVt100) {
  ScriptedServer server;
  Terminal t;
  t.term.SetEmulation(TEmulation::Xterm);
  t.term.XtermTermType = "xterm-mono";
  ASSERT_TRUE(t.ConnectTo(server));
  ASSERT_TRUE(server.Feed(t.term.TnCnx(), B({255, 253, 31, 255, 250, 24, 1, 255, 240})));
  EXPECT_EQ(server.TakeReplies(25),
            B({255, 251, 31, 255, 250, 31, 0, 80, 0, 25, 255, 240, 255, 250, 24, 0}) + "xterm-mono" + B({255, 240}));
  t.term.SetEmulation(TEmulation::Classic);
  t.term.SetCols(100);
  ASSERT_TRUE(server.Feed(t.term.TnCnx(), B({255, 250, 24, 1, 255, 240})));
  EXPECT_EQ(server.TakeReplies(14), B({255, 252, 31, 255, 250, 24, 0}) + "VT100" + B({255, 240}));
}

// A host that ends inside a sequence or in line drawing cannot swallow or
// garble the closing status line.
TEST(TnZuzeRISession, XtermStatusLinesFollowAnUnfinishedSequence) {
  for (const char* left : {"\x1b]0;title", "\x1b[12", "\x1b(0", "\x1b)0\x0e"}) {
    ScriptedServer server;
    Terminal t;
    t.term.SetEmulation(TEmulation::Xterm);
    ASSERT_TRUE(t.ConnectTo(server));
    ASSERT_TRUE(server.Feed(t.term.TnCnx(), left));
    server.Hangup();
    ASSERT_TRUE(PumpUntil([&] { return t.events.size() == 2; }));
    std::string row;
    for (int c = 0; c < 25; ++c) row += static_cast<char>(t.term.Xterm()->Cell(3, c).Ch);
    EXPECT_EQ(row, "*** Server has closed ***") << left;
  }
}

TEST(TnZuzeRISession, ARefusedConnectionShowsTheErrorTextBeepsAndEndsClosed) {
  Terminal t;
  t.Connect(FreePort());
  ASSERT_TRUE(PumpUntil([&] { return t.events.size() == 3; }));
  EXPECT_EQ(t.Rows(4), (Lines{"Connecting to '127.0.0.1'", "Connection failed: " + SocketErrorDesc(10061), "",
                              "*** Server has closed ***"}));
  EXPECT_EQ(t.events, (Lines{"beep", "connected:10061", "closed:0"}));
  EXPECT_EQ(t.term.Error, 0);
}

TEST(TnZuzeRISession, NoHostDoesNothingAndARejectedAddressWritesNothing) {
  Terminal t;
  t.rig.ClearRecords();
  t.term.Connect();
  EXPECT_EQ(t.Rows(1), Lines{"ZuzeRI"});
  EXPECT_TRUE(t.rig.Window.Calls.empty());
  EXPECT_THROW(t.Connect("no-such-service"), ESocketException);
  EXPECT_EQ(t.Rows(1), Lines{""});
}

TEST(TnZuzeRISession, ADataHandlerMayShortenOrEmptyTheBlock) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  for (const auto& [len, shown] :
       std::vector<std::pair<int, std::string>>{{6, "abcdef"}, {3, "abc"}, {0, ""}, {-4, ""}, {99, "abcdef"}}) {
    t.term.OnDataAvailable = [&, len = len](TTnZuzeRI&, const char* buffer, int& n) {
      EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)), "abcdef");
      n = len;
    };
    t.term.Clear();
    ASSERT_TRUE(server.Feed(t.term.TnCnx(), "abcdef"));
    EXPECT_EQ(t.Rows(1)[0], shown) << len;
  }
}

// Blocks that follow each other within a frame are shown at its tick; status
// texts are painted at once all the same.
TEST(TnZuzeRISession, StreamingBlocksWaitForTheFrameStatusTextsDoNot) {
  ScriptedServer server;
  Terminal t(true);
  ASSERT_TRUE(t.ConnectTo(server));
  while (t.rig.Clock.Tick()) {
  }
  t.rig.ClearRecords();
  for (const char* block : {"one ", "two ", "three"}) ASSERT_TRUE(server.Feed(t.term.TnCnx(), block));
  EXPECT_EQ(t.rig.Window.CallsStartingWith("MoveCaret").size(), 1u);
  t.term.DisplayText("status");
  EXPECT_EQ(t.rig.Window.CallsStartingWith("RepaintNow").size(), 1u);
  EXPECT_TRUE(t.rig.Clock.Tick());
  EXPECT_EQ(t.rig.Window.CallsStartingWith("MoveCaret").size(), 2u);
  EXPECT_EQ(t.Rows(3)[2], "one two threestatus");
}

// Typed characters are not echoed, and with Xlat True only those above ASCII
// are translated; key sequences go out as the table has them, lower-case
// letters included.
TEST(TnZuzeRIKeys, UpperLockCapitalisesTypedLettersOnly) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  t.term.UpperLock = t.term.LocalEcho = true;
  t.term.SetXlat(true);
  t.term.FKeys = 0;
  t.term.OnKeyPress = [](TCustomZuzeRI&, char& key) { key = key == 'x' ? 0 : key; };
  for (char key : std::string("lsx1\xA3")) t.term.KeyPress(key);
  t.rig.Keyboard.Ctrl = true;
  platform::TMessage ctrlF1 = platform::MakeKeyDown(t.rig.Window.Handle(), 112, 0x3B, false);
  bool handled = false;
  t.term.AppMessageHandler(ctrlF1, handled);
  EXPECT_EQ(server.TakeReplies(7), "LS1\x9C\x1b[k");
  EXPECT_EQ(t.Rows(3)[2], "");

  t.term.Disconnect();
  char key = 'a';
  EXPECT_NO_THROW(t.term.KeyPress(key));  // typing while disconnected sends nothing, silently
  EXPECT_THROW(t.term.DoKeyBuffer("\x1b[A", 3), ESocketException);
  EXPECT_THROW(t.term.SendStr("x"), ESocketException);
}

// Typed and pasted characters reach the host alike: code page 1252, then the
// keyboard translation when Xlat is True (the host uses the font's page).
TEST(TnZuzeRIKeys, TypedAndPastedCharactersGoAsCodePage1252ThroughTheKeyboardTranslation) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  const std::u32string typed = U"\u00E9\u00FC\u2500q";
  for (const auto& [xlat, sent] : {std::pair{false, std::string("\xE9\xFC?q")}, {true, "\x82\x81?q"}}) {
    t.term.SetXlat(xlat);
    t.term.Screen().XlatTable = &GraphicsTable;  // line drawing left on by the host changes no typed letter
    for (const char32_t ch : typed) t.term.CharTyped(ch);
    t.term.SendStr(t.term.PasteBytes(typed + U"\n"));
    EXPECT_EQ(server.TakeReplies(2 * sent.size() + 2), sent + sent + "\r\n") << xlat;
  }
}

// An Xterm host gets typed and pasted text in its own character set, without
// the keyboard translation, and a paste between bracket marks once it asks.
TEST(TnZuzeRIKeys, AnXtermHostGetsItsCharsetAndBracketedPastes) {
  ScriptedServer server;
  Terminal t;
  t.term.SetEmulation(TEmulation::Xterm);
  t.term.SetXlat(true);
  ASSERT_TRUE(t.ConnectTo(server));
  t.term.CharTyped(U'\u00E9');
  t.term.SendStr(t.term.PasteBytes(U"\u00E9\n"));
  EXPECT_EQ(server.TakeReplies(6), "\xC3\xA9\xC3\xA9\r\n");
  ASSERT_TRUE(server.Send("\x1b[?2004h"));
  ASSERT_TRUE(PumpUntil([&] { return t.term.Xterm()->Modes().BracketedPaste; }));
  t.term.SetCharset(TCharset::Latin1);
  t.term.SendStr(t.term.PasteBytes(U"\u00E9\x1b[201~\n"));
  EXPECT_EQ(server.TakeReplies(16), "\x1b[200~\xE9\r\n\x1b[201~");
}

// The keyboard translation turns the currency sign into SI: typed, it goes
// as the table says; pasted, a symbol never becomes a control character.
TEST(TnZuzeRIKeys, APastedSymbolNeverBecomesAControlCharacter) {
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  t.term.SetXlat(true);
  t.term.SendStr(t.term.PasteBytes(U"\u00A4\u00A7\u00B6x"));
  EXPECT_EQ(server.TakeReplies(4), "???x");
}

// A new session starts the screen afresh, and the closing text stays readable
// whatever the host left unfinished: a pass-through count or a dangling ESC,
// line drawing, a region, a colour and a hidden cursor.
TEST(TnZuzeRISession, TheLastHostsStateReachesNeitherTheClosingTextNorTheNextSession) {
  for (const std::string leftover :
       {"\x0e\x1b[2;5r\x1b[31m\x1b[?25l\x1b[1;999I", "\x0e\x1b[2;5r\x1b[31m\x1b[?25l\x1b"}) {
    Terminal t;
    t.term.SetXlat(false);  // the default settings: received text is translated
    {
      ScriptedServer server;
      ASSERT_TRUE(t.ConnectTo(server));
      ASSERT_TRUE(server.Feed(t.term.TnCnx(), leftover));
      server.Hangup();
      ASSERT_TRUE(PumpUntil([&] { return t.events.size() == 2; }));
      EXPECT_EQ(t.Rows(4)[3], "*** Server has closed ***");
    }
    ScriptedServer server;
    t.Connect(server.Port());
    ASSERT_TRUE(server.Accept() && PumpUntil([&] { return t.events.size() == 3; }));
    const TScreen& s = t.term.Screen();
    EXPECT_EQ(t.Rows(2), (Lines{"Connecting to '127.0.0.1'", "Connected"}));
    EXPECT_EQ(s.Lines[0]->Attrs[0], kDefaultAttr);
    EXPECT_EQ(s.Region.Bottom, 24);
    EXPECT_FALSE(s.CursorHidden);
    EXPECT_EQ(s.XlatTable, &AsciiTable);
    EXPECT_TRUE(s.XlatIn);
  }
}

// A failing capture file hides neither data nor status lines: capture goes
// off and each failure is reported once, from the message loop.
TEST(TnZuzeRICapture, AFailingCaptureFileEndsCaptureButEverythingIsStillShown) {
  Lines reports;
  platform::SetHandlerExceptionSink([&](const std::string& message) { reports.push_back(message); });
  ScriptedServer server;
  Terminal t;
  ASSERT_TRUE(t.ConnectTo(server));
  for (const bool closing : {false, true}) {
    t.rig.Disk.WriteError = 0;
    t.term.SetLog(true);
    t.rig.Disk.WriteError = 28;
    if (closing)
      t.term.Disconnect();
    else
      ASSERT_TRUE(server.Feed(t.term.TnCnx(), "first") && server.Feed(t.term.TnCnx(), " second"));
    EXPECT_FALSE(t.term.Log());
    EXPECT_TRUE(PumpUntil([&] { return reports.size() == (closing ? 2u : 1u); }));
  }
  platform::WaitAndProcessMessages(20);
  platform::SetHandlerExceptionSink({});
  EXPECT_EQ(t.Rows(4), (Lines{"Connecting to '127.0.0.1'", "Connected", "first second", "*** Server has closed ***"}));
  EXPECT_EQ(t.events, (Lines{"connected:0", "closed:0"}));
  const std::string report = "ZUZERI.LOG: " + platform::CaptureErrorText(28) + " (I/O error 28)";
  EXPECT_EQ(reports, (Lines{report, report}));
}

}  // namespace
}  // namespace corvane::tntest
