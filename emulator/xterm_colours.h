#pragma once
// The 256 indexed colours hosts ask for with SGR 38;5;n and 48;5;n, and the
// colour table entry nearest to any colour: the cell keeps 16 colours.
#include "platform/canvas.h"

namespace corvane {

// Index 0..255: the 16 colours of the table, a 6x6x6 cube, 24 greys.
platform::TRGB IndexedColour(int Index);

// The colour number 0..15 whose table colour is nearest, by a weighted
// distance that follows how the eye weighs red, green and blue.
int NearestOfSixteen(platform::TRGB Colour);

}  // namespace corvane
