#include "app/terminal_area.h"

#include <gtest/gtest.h>

#include "app/form_layout.h"

namespace corvane {
namespace {

// 80 x 25 cells of 8 x 12 with margins of 12 across and 10 down.
constexpr TGridGeometry kNow{{25, 80}, {652, 310}, {8, 12}};

TEST(TerminalAreaTest, TheGridIsTheWholeCellsTheAreaHoldsWithinItsLimits) {
  struct TCase {
    platform::TSize Client;
    TGridSize Grid;
  };
  for (const TCase& c : {TCase{{652, 310}, {25, 80}}, TCase{{659, 321}, {25, 80}}, TCase{{660, 322}, {26, 81}},
                         TCase{{651, 309}, {24, 79}}, TCase{{1932, 1090}, {90, 240}}, TCase{{0, 0}, {1, 1}},
                         TCase{{-50, 5}, {1, 1}}, TCase{{100000, 100000}, {200, 500}}}) {
    EXPECT_EQ(FittedGrid(c.Client, kNow, {200, 500}), c.Grid) << c.Client.Width << "x" << c.Client.Height;
    if (c.Grid.Rows > 1 && c.Grid.Rows < 200 && c.Grid.Cols > 1 && c.Grid.Cols < 500) {
      const platform::TSize whole = GridClient(c.Grid, kNow);
      EXPECT_TRUE(whole.Width <= c.Client.Width && whole.Height <= c.Client.Height);
      EXPECT_TRUE(whole.Width + 8 > c.Client.Width && whole.Height + 12 > c.Client.Height);
    }
  }
}

// The designed window, and the controls following a larger and a tiny one.
TEST(TerminalAreaTest, TheControlsStretchWithTheWindow) {
  const TFormLayout designed = LayoutForClient(kDesignedClientSize);
  EXPECT_EQ(designed.TopPanel, (platform::TRect{0, 0, 653, 33}));
  EXPECT_EQ(designed.Terminal, (platform::TRect{0, 36, 649, 353}));
  EXPECT_EQ(designed.StatusBar, (platform::TRect{0, 354, 653, 380}));
  const TFormLayout large = LayoutForClient({1000, 700});
  EXPECT_EQ(large.Terminal, (platform::TRect{0, 36, 996, 673}));
  EXPECT_EQ(large.StatusBar, (platform::TRect{0, 674, 1000, 700}));
  EXPECT_EQ(LayoutForClient({2, 40}).Terminal, (platform::TRect{0, 36, 0, 36}));
  EXPECT_EQ(ClientForTerminal({649, 317}), kDesignedClientSize);
  EXPECT_EQ(ClientForTerminal({100, 317}).Width, kMinClientWidth);
}

}  // namespace
}  // namespace corvane
