#include "emulator/xterm_colours.h"

namespace corvane {

const TColorTable XtermColorTable = {{
    {0, 0, 0},
    {168, 0, 0},
    {0, 168, 0},
    {168, 168, 0},
    {0, 0, 168},
    {168, 0, 168},
    {0, 168, 168},
    {200, 200, 200},
    {84, 84, 84},
    {255, 84, 84},
    {84, 255, 84},
    {255, 255, 84},
    {84, 84, 255},
    {255, 84, 255},
    {84, 255, 255},
    {255, 255, 255},
}};

namespace {

std::uint8_t CubeLevel(int Step) { return static_cast<std::uint8_t>(Step == 0 ? 0 : 55 + 40 * Step); }

int Distance(platform::TRGB A, platform::TRGB B) {
  const int r = A.Red - B.Red, g = A.Green - B.Green, b = A.Blue - B.Blue;
  return 2 * r * r + 4 * g * g + 3 * b * b;
}

}  // namespace

platform::TRGB IndexedColour(int Index) {
  if (Index < 16) return XtermColorTable[static_cast<std::size_t>(Index)];
  if (Index < 232) {
    const int cube = Index - 16;
    return {CubeLevel(cube / 36), CubeLevel(cube / 6 % 6), CubeLevel(cube % 6)};
  }
  const auto grey = static_cast<std::uint8_t>(8 + 10 * (Index - 232));
  return {grey, grey, grey};
}

int NearestOfSixteen(platform::TRGB Colour) {
  int best = 0;
  for (int i = 1; i < 16; ++i)
    if (Distance(Colour, XtermColorTable[static_cast<std::size_t>(i)]) <
        Distance(Colour, XtermColorTable[static_cast<std::size_t>(best)]))
      best = i;
  return best;
}

}  // namespace corvane
