// A handler may destroy the view that raised its event: afterwards neither
// the view nor the key mapping touches it, and the handler, which the view
// held, still runs to its end. Checked under AddressSanitizer, one case per
// event.
#include <gtest/gtest.h>

#include <string>

#include "tests/view/support/view_rig.h"

namespace corvane {
namespace {

constexpr int kUp = 38, kUpScan = 0x48, kA = 65, kAScan = 0x1E;

class ViewDestroyedIn : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    previous_ = platform::SetAppMessageHook({});
    rig.View->FocusGained();
  }
  void TearDown() override { platform::SetAppMessageHook(std::move(previous_)); }

  // A key-down message on the view's window, as the message loop offers it.
  void Key(int vk, int scan, bool ext) {
    platform::TMessage msg = platform::MakeKeyDown(rig.Window.Handle(), vk, scan, ext);
    platform::OfferToAppMessageHook(msg);
  }

  recording::TViewRig rig;
  int fired = 0;

 private:
  platform::TMessageHook previous_;
};

TEST_P(ViewDestroyedIn, Event) {
  // Uses its captures after the view, which holds it, is gone.
  const auto destroy = [this](auto&&...) {
    rig.View.reset();
    ++fired;
  };
  TZuzeRI& view = *rig.View;
  const std::string& event = GetParam();
  view.LocalEcho = true;
  if (event == "KeyPress" || event == "KeyPressOfATableKey") view.OnKeyPress = destroy;
  if (event == "KeyBuffer") view.OnKeyBuffer = destroy;
  if (event == "MouseDown") view.OnMouseDown = destroy;
  if (event == "MouseUp") view.OnMouseUp = destroy;
  if (event == "Click") view.OnClick = destroy;
  if (event == "MouseMove") view.OnMouseMove = destroy;

  if (event == "KeyPress") Key(kA, kAScan, false);
  if (event == "KeyPressOfATableKey" || event == "KeyBuffer") Key(kUp, kUpScan, true);
  if (event == "MouseDown") view.LeftButtonDown(0, 10, 10);
  if (event == "MouseUp" || event == "Click") view.ButtonDown(TMouseButton::mbLeft, 0, 10, 10);
  if (event == "MouseUp" || event == "Click") view.ButtonUp(TMouseButton::mbLeft, 0, 10, 10);
  if (event == "MouseMove") view.MouseMoved(0, 10, 10);
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(rig.View);
}

INSTANTIATE_TEST_SUITE_P(Events, ViewDestroyedIn,
                         ::testing::Values("KeyPress", "KeyPressOfATableKey", "KeyBuffer", "MouseDown", "MouseUp",
                                           "Click", "MouseMove"),
                         [](const ::testing::TestParamInfo<std::string>& c) { return c.param; });

}  // namespace
}  // namespace corvane
