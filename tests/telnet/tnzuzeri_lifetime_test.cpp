// A handler may destroy the telnet terminal that raised its event, from the
// network or from the user: afterwards nothing touches the terminal, and the
// handler, which the terminal held, still runs to its end. Checked under
// AddressSanitizer, one case per event.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/diagnostics.h"
#include "telnet/tnzuzeri.h"
#include "tests/telnet/telnet_peer.h"
#include "tests/view/support/view_rig.h"

namespace corvane::tntest {
namespace {

class TerminalDestroyedIn : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    platform::SetAlertSink([] {});
  }
  void TearDown() override { platform::SetAlertSink({}); }

  // Connects the terminal to the server; `connected` waits for the event.
  bool Connect(bool wait = true) {
    term->HostName = "127.0.0.1";
    term->Port = server.Port();
    term->Connect();
    return server.Accept() &&
           (!wait || PumpUntil([&] { return term->TnCnx().CnxSocket()->State() == TSocketState::Connected; }));
  }

  ScriptedServer server;
  recording::TViewRig rig;
  std::unique_ptr<TTnZuzeRI> term = std::make_unique<TTnZuzeRI>(rig.Ports());
  int fired = 0;
};

TEST_P(TerminalDestroyedIn, Event) {
  // Uses its captures after the terminal, which holds it, is gone.
  const auto destroy = [this](auto&&...) {
    term.reset();
    ++fired;
  };
  const std::string& event = GetParam();
  if (event == "SessionConnected") term->OnSessionConnected = destroy;
  if (event == "SessionClosed" || event == "SessionClosedByConnect") term->OnSessionClosed = destroy;
  if (event == "DataAvailable") term->OnDataAvailable = destroy;
  if (event == "SendLoc") term->OnSendLoc = destroy;
  if (event == "TermType") term->OnTermType = destroy;
  if (event == "KeyPress") term->OnKeyPress = destroy;
  if (event == "MouseDown") term->OnMouseDown = destroy;
  if (event == "MouseMove") term->OnMouseMove = destroy;
  if (event == "MouseUp") term->OnMouseUp = destroy;
  if (event == "Title") {
    term->SetEmulation(TEmulation::Xterm);
    term->OnTitle = destroy;
  }
  ASSERT_TRUE(Connect(event != "SessionConnected"));

  if (event == "SessionClosed") server.Hangup();
  if (event == "SessionClosedByConnect") term->Connect();
  const std::string bytes = event == "DataAvailable" ? "data"
                            : event == "SendLoc"     ? B({255, 253, 23})
                            : event == "TermType"    ? B({255, 250, 24, 1, 255, 240})
                            : event == "Title"       ? "\x1b[6n\x1b]2;title\x07\x1b[c"
                                                     : "";
  ASSERT_TRUE(bytes.empty() || server.Send(bytes));
  char key = 'k';
  if (event == "KeyPress") term->KeyPress(key);
  if (event == "MouseDown") term->LeftButtonDown(0, 10, 10);
  if (event == "MouseMove") term->ButtonDown(TMouseButton::mbLeft, 0, 10, 10);
  if (event == "MouseMove" || event == "MouseUp") term->MouseMoved(0, 40, 40);
  if (event == "MouseUp") term->ButtonUp(TMouseButton::mbLeft, 0, 40, 40);
  EXPECT_TRUE(PumpUntil([&] { return !term; }));
  platform::WaitAndProcessMessages(20);
  EXPECT_EQ(fired, 1);
}

INSTANTIATE_TEST_SUITE_P(Events, TerminalDestroyedIn,
                         ::testing::Values("SessionConnected", "SessionClosed", "SessionClosedByConnect",
                                           "DataAvailable", "SendLoc", "TermType", "KeyPress", "MouseDown", "MouseMove",
                                           "MouseUp", "Title"),
                         [](const ::testing::TestParamInfo<std::string>& c) { return c.param; });

}  // namespace
}  // namespace corvane::tntest
