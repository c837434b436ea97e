#include "app/centring.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CentringTest, HalvesRoundTowardZeroAlsoForWindowsLargerThanTheScreen) {
  EXPECT_EQ(CentredOrigin(1024, 768, 661, 427), (TOrigin{181, 170}));
  EXPECT_EQ(CentredOrigin(640, 480, 661, 483), (TOrigin{-10, -1}));
}

}  // namespace
}  // namespace corvane
