// Socket readiness, posted messages and errors inside Qt's event loop: the
// test waits only in Qt's loop, never in the reactor's own.
#include "platform/qt/qt_message_loop.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QTest>
#include <algorithm>
#include <stdexcept>

#include "loopback_peer.h"
#include "net/wsocket.h"
#include "platform/qt/qt_clipboard.h"
#include "qt_test_app.h"

namespace corvane {
namespace {

std::string Pattern(std::size_t size) {
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>('a' + i * 7 % 26);
  return data;
}

TEST(QtMessageLoopTest, ASessionRunsEntirelyInQtsLoop) {
  test::TestApp();
  const std::string sent = Pattern(300000);
  test::LoopbackPeer peer([&](test::PeerLink& link) {
    link.SendAll(sent);
    link.ShutdownSend();
  });
  std::vector<std::string> log;
  std::string received;
  TWSocket sock;
  sock.OnSessionConnected = [&](TWSocket&, std::uint16_t e) { log.push_back("connected " + std::to_string(e)); };
  sock.OnDataAvailable = [&](TWSocket& s, std::uint16_t) {
    char buffer[2048];
    const int n = s.Receive(buffer, sizeof buffer);
    if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
  };
  sock.OnSessionClosed = [&](TWSocket&, std::uint16_t e) { log.push_back("closed " + std::to_string(e)); };
  sock.SetPort(peer.Port());
  sock.SetAddr("127.0.0.1");
  sock.Connect();
  EXPECT_TRUE(QTest::qWaitFor([&] { return log.size() == 2; }, 10000));
  EXPECT_EQ(log, (std::vector<std::string>{"connected 0", "closed 0"}));
  EXPECT_TRUE(received == sent) << received.size() << " of " << sent.size() << " bytes";
}

class TThrower : public QObject {
 public:
  bool event(QEvent*) override { throw std::runtime_error("thrown from an event"); }
};

TEST(QtMessageLoopTest, ErrorsOfHandlersAreReportedAndTheProgramGoesOn) {
  test::TestApp();
  test::TReportCatcher reports;
  std::vector<platform::MessageWord> words;
  platform::MessageWindow window([&](std::uint32_t, platform::MessageWord word, platform::MessageLong) {
    if (word == 2) throw std::runtime_error("thrown from a message");
    words.push_back(word);
  });
  for (platform::MessageWord word : {1u, 2u, 3u}) window.Post(platform::kUserMessage, word, 0);
  TThrower thrower;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&thrower, &event);
  EXPECT_TRUE(QTest::qWaitFor([&] { return reports.texts.size() == 2; }));
  EXPECT_EQ(words, (std::vector<platform::MessageWord>{1, 3}));
  std::sort(reports.texts.begin(), reports.texts.end());
  EXPECT_EQ(reports.texts, (std::vector<std::string>{"thrown from a message", "thrown from an event"}));
  window.Post(platform::kUserMessage, 4, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return words.size() == 3; }));
}

// Pasting reads the clipboard as Unicode; the view decides the bytes.
TEST(QtClipboardTest, CopiedBytesArePastedElsewhereAsTheTextTheScreenShowed) {
  test::TestApp();
  platform::qt::TQtClipboard clipboard;
  clipboard.SetText("\xDA\xC4\xBF caf\x82\r\nnext");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\u250C\u2500\u2510 caf\u00E9\nnext"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("\u00E9t\u00E9 \u20AC\n"));
  EXPECT_EQ(clipboard.Text(), U"\u00E9t\u00E9 \u20AC\n");
}

}  // namespace
}  // namespace corvane
