#pragma once
// Where a window of the given outer size sits centred on a screen of the
// given size: integer halves of the differences, rounding toward zero.

namespace corvane {

struct TOrigin {
  int Left = 0;
  int Top = 0;
  friend bool operator==(const TOrigin&, const TOrigin&) = default;
};

constexpr TOrigin CentredOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2};
}

}  // namespace corvane
