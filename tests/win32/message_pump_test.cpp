#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "platform/frame_clock.h"
#include "platform/message_loop.h"
#include "platform/win32/message_pump.h"
#include "tests/win32/view_rig.h"

using namespace corvane;
using corvane::win32test::Pump;
using corvane::win32test::TWin32ViewRig;

namespace {

LPARAM KeyData(int scan, bool extended = false) {
  return static_cast<LPARAM>(1 | (scan << 16) | (extended ? 1 << 24 : 0));
}

// A focused view in the VT100 table whose loop errors are collected.
class MessagePump : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::SetHandlerExceptionSink([this](const std::string& m) { errors.push_back(m); });
    SetFocus(rig.Hwnd());
  }
  void TearDown() override { platform::SetHandlerExceptionSink(std::move(previous_)); }

  void Post(UINT message, WPARAM vk, LPARAM data) {
    PostMessageA(rig.Hwnd(), message, vk, data);
    Pump();
  }

  TWin32ViewRig rig;
  std::vector<std::string> errors;

 private:
  platform::HandlerExceptionSink previous_;
};

TEST_F(MessagePump, ClaimedKeysAreMappedAndNeverTranslated) {
  Post(WM_KEYDOWN, VK_UP, KeyData(0x48, true));
  Post(WM_KEYDOWN, 'A', KeyData(0x1E));
  rig.View->FKeys = 0;
  Post(WM_SYSKEYDOWN, VK_F10, KeyData(0x44));
  EXPECT_EQ(rig.Buffers, (std::vector<std::string>{"\x1b[A", "\x1b[V"}));
  EXPECT_EQ(rig.Keys, "a");  // once: no character message followed the key
}

TEST_F(MessagePump, OtherKeysAreTranslatedAndTheirCharactersReachKeyPressAsBytes) {
  Post(WM_KEYDOWN, '5', KeyData(0x06));
  Post(WM_CHAR, 0xE9, KeyData(0x12));
  EXPECT_EQ(rig.Keys, "5\xE9");
}

// An Alt combination that no row of the XTERM table claims is translated
// into its character, which reaches the host after ESC; under the other
// tables the system keeps it for the menus.
TEST_F(MessagePump, AltWithACharacterReachesAnXtermHostAsEscapeAndTheCharacter) {
  const LPARAM alt = 1 << 29;
  rig.View->SetEmulation(TEmulation::Xterm);
  rig.View->FKeys = 3;
  Post(WM_SYSKEYDOWN, 'X', KeyData(0x2D) | alt);
  Pump();
  Post(WM_SYSCHAR, 0x80, KeyData(0x12) | alt);  // the euro sign in the ANSI code page
  Post(WM_SYSKEYDOWN, VK_LEFT, KeyData(0x4B, true) | alt);
  EXPECT_EQ(rig.Buffers, (std::vector<std::string>{"\x1b", "\x1b", "\x1b[1;3D"}));
  EXPECT_EQ(rig.Keys, "x\xE2\x82\xAC");
  rig.View->FKeys = 1;
  Post(WM_SYSCHAR, 'y', KeyData(0x15) | alt);
  EXPECT_EQ(rig.Buffers.size(), 3u);
  EXPECT_EQ(rig.Keys, "x\xE2\x82\xAC");
}

TEST_F(MessagePump, ExceptionsFromTheHookAndFromHandlersAreReportedAndTheLoopGoesOn) {
  auto previous = platform::SetAppMessageHook([](platform::TMessage& m, bool&) {
    if (m.Msg == WM_KEYDOWN) throw std::runtime_error("hook failed");
  });
  Post(WM_KEYDOWN, '5', KeyData(0x06));  // dropped: no character follows it
  platform::SetAppMessageHook(std::move(previous));
  rig.View->OnKeyPress = [](TCustomZuzeRI&, char&) { throw std::runtime_error("send failed"); };
  Post(WM_CHAR, 'x', 0);
  rig.View->OnKeyPress = [this](TCustomZuzeRI&, char& key) { rig.Keys += key; };
  Post(WM_CHAR, 'y', 0);
  EXPECT_EQ(errors, (std::vector<std::string>{"hook failed", "send failed"}));
  EXPECT_EQ(rig.Keys, "y");
}

TEST_F(MessagePump, APaintThatRaisesIsReportedOnceAndTheWindowGoesOn) {
  rig.View->SetLineHeight(INT_MAX);  // the row arithmetic overflows
  rig.Window.RepaintNow();
  Pump();
  EXPECT_EQ(errors, (std::vector<std::string>{"Integer overflow"}));
  rig.View->SetLineHeight(12);
  rig.Window.RepaintNow();
  EXPECT_EQ(errors.size(), 1u);
}

// A handler that posts to itself cannot hold the caller, also when it
// processes messages itself.
TEST_F(MessagePump, PendingMessagesAreHandledButNotThoseTheirHandlersPost) {
  int handled = 0;
  std::unique_ptr<platform::MessageWindow> target;
  target = std::make_unique<platform::MessageWindow>([&](std::uint32_t, platform::MessageWord, platform::MessageLong) {
    target->Post(platform::kUserMessage, 0, 0);
    if (++handled == 1) Pump();
  });
  target->Post(platform::kUserMessage, 0, 0);
  Pump();
  EXPECT_EQ(handled, 2);  // the first and, in the nested call, its repost
  Pump();
  EXPECT_EQ(handled, 3);
}

void CALLBACK QuitTheLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

// A socket that streams always has a notification posted; the frame clock's
// tick and the paint it asks for must still come out within frames, and the
// quit message must not be lost to those passes.
TEST_F(MessagePump, TheLoopTakesTicksAndPaintsWhilePostedMessagesNeverRunOut) {
  const DWORD start = GetTickCount();
  int ticks = 0;
  bool paintedBetweenTicks = false;
  bool stop = false;
  std::unique_ptr<platform::MessageWindow> stream;
  stream = std::make_unique<platform::MessageWindow>([&](std::uint32_t, platform::MessageWord, platform::MessageLong) {
    if (stop) {
      Sleep(2 * platform::kFrameMs);  // the loop's next pass takes what was held back
      return PostQuitMessage(7);
    }
    if (GetTickCount() - start > 3000) {  // starved: the ticks never came
      stop = true;
      return PostQuitMessage(0);
    }
    stream->Post(platform::kUserMessage, 0, 0);
  });
  rig.Window.Start([&] {
    if (++ticks < 2) return;
    paintedBetweenTicks = !GetUpdateRect(rig.Hwnd(), nullptr, FALSE);
    stop = true;
  });
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, QuitTheLoop);  // a quit that was lost
  InvalidateRect(rig.Hwnd(), nullptr, FALSE);
  stream->Post(platform::kUserMessage, 0, 0);
  const int exitCode = platform::win32::RunMessageLoop();
  KillTimer(nullptr, watchdog);
  rig.Window.Stop();
  EXPECT_EQ(exitCode, 7);
  EXPECT_TRUE(paintedBetweenTicks);
}

TEST_F(MessagePump, ProcessingPendingMessagesLeavesTheQuitMessageForTheLoop) {
  PostQuitMessage(3);
  Pump();
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
